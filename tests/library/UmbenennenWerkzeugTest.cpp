#include "BibliothekTesthilfe.h"

#include "core/IndexDatei.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace testhilfe;

namespace {

struct Lauf {
    int status = -1;
    QList<QJsonObject> zeilen;
    QString fehler;
};

class UmbenennenWerkzeugTest : public ::testing::Test {
protected:
    Baum baum;
    QString werkzeug = QCoreApplication::applicationDirPath() + "/../tools/rename";
    QString kvx = baum.Pfad("liste.kvx");

    void SetUp() override
    {
        if (!QFileInfo(werkzeug).isExecutable())
            GTEST_SKIP() << "tools/rename is not built";
    }
    void Anlegen(const std::vector<std::pair<QString, QString>>& einträge)
    {
        Index idx;
        TypenSetzen(idx);
        idx.bolIndexGeladen = true;
        for (const auto& [pfad, titel] : einträge) {
            MedienInfo m = LeereMedienInfo();
            m.Mp3_ID3v1_Vorhanden = 1;
            m.Mp3_ID3v1_Interpret = "Abba";
            m.Mp3_ID3v1_Titel = titel;
            m.Datei_AngefordertAnzahl = 9;
            idx.EintragAnhängen(pfad, m, 1);
        }
        ASSERT_TRUE(DateiSpeichern(idx, kvx, false));
    }
    Lauf Starten(const QStringList& argumente)
    {
        QProcess p;
        p.start(werkzeug, QStringList{kvx} + argumente);
        p.waitForFinished(30000);
        Lauf l;
        l.status = p.exitCode();
        l.fehler = QString::fromLocal8Bit(p.readAllStandardError());
        for (const QByteArray& zeile : p.readAllStandardOutput().split('\n'))
            if (!zeile.isEmpty())
                l.zeilen.append(QJsonDocument::fromJson(zeile).object());
        return l;
    }
    Index Gespeichert()
    {
        Index idx;
        EXPECT_TRUE(DateiLaden(idx, kvx));
        return idx;
    }
};

QJsonObject Zeile(const QString& alt, const QString& neu, bool erledigt)
{
    return QJsonObject{{"alt", alt}, {"neu", neu}, {"erledigt", erledigt}};
}

} // namespace

TEST_F(UmbenennenWerkzeugTest, BenenntWieDasFensterUmUndSpeichert)
{
    const QString a = baum.Datei("m/1.mp3", "eins");
    const QString b = baum.Datei("m/2.mp3", "zwei");
    const QString leer = baum.Datei("m/3.mp3", "drei");
    const QString fehlt = baum.Pfad("m/fehlt.mp3");
    Anlegen({{a, "Waterloo"}, {b, "Waterloo"}, {fehlt, "Weg"}, {"C:\\Musik\\alt.mp3", "Alt"}, {leer, ""}});

    // The second file meets the first one's new name: the answer renames it.
    // The missing file, the foreign path and the empty title are not renamed.
    Lauf l = Starten({"0", "--format", "%Titel%", "--konflikt", "umbenennen"});
    EXPECT_EQ(l.status, 0) << l.fehler.toStdString();
    EXPECT_EQ(l.zeilen, (QList<QJsonObject>{Zeile(a, baum.Pfad("m/Waterloo.mp3"), true),
                                            Zeile(b, baum.Pfad("m/Waterloo-0.mp3"), true), Zeile(fehlt, fehlt, false),
                                            Zeile("C:\\Musik\\alt.mp3", "C:\\Musik\\alt.mp3", false),
                                            Zeile(leer, leer, false)}));
    EXPECT_TRUE(l.fehler.contains("' existiert nicht."));
    EXPECT_TRUE(l.fehler.contains("Möchten Sie mit der nächsten Datei fortfahren? -> Ja"));
    EXPECT_TRUE(l.fehler.contains("Die Datei '" + leer + "' wurde nicht umbenannt: "));
    EXPECT_EQ(Lesen(baum.Pfad("m/Waterloo-0.mp3")), "zwei");
    EXPECT_EQ(IndexPfade(Gespeichert()), QStringList({baum.Pfad("m/Waterloo.mp3"), baum.Pfad("m/Waterloo-0.mp3"),
                                                      fehlt, "C:\\Musik\\alt.mp3", leer}));

    // Unusable inputs are refused before anything is touched.
    l = Starten({"6", "--endung", "ogg/evil"});
    EXPECT_EQ(l.status, 2);
    EXPECT_TRUE(l.zeilen.isEmpty());
    EXPECT_TRUE(l.fehler.contains("Bitte geben Sie eine neue Datei-Endung ein."));
    EXPECT_EQ(QDir(baum.Pfad("m")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"3.mp3", "Waterloo-0.mp3", "Waterloo.mp3"}));
    EXPECT_EQ(Starten({"x"}).status, 3);
    EXPECT_EQ(Starten({"0", "--format"}).status, 3);

    // Empty files only where files are; the missing one keeps its record.
    l = Starten({"8", "--leer-endung", "leer"});
    EXPECT_EQ(l.status, 0);
    ASSERT_EQ(l.zeilen.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(l.zeilen[i]["erledigt"].toBool(), i != 2 && i != 3) << i;
    const Index nachher = Gespeichert();
    EXPECT_EQ(nachher.IndexDaten[3].Datei_AngefordertAnzahl, 9);
    EXPECT_EQ(nachher.IndexDaten[3].Mp3_ID3v1_Titel, "Weg");
    EXPECT_EQ(nachher.IndexDaten[1].Datei_AngefordertAnzahl, 0);
    EXPECT_TRUE(QFile::exists(baum.Pfad("m/Waterloo.leer")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("m/fehlt.leer")));
}

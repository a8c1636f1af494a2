// The test tools that run a window's operation over an index file, run as
// processes as a script would run them.

#include "BibliothekTesthilfe.h"

#include "core/IndexDatei.h"
#include "library/IndexAufraeumen.h"
#include "support/FremderProzess.h"
#include "support/IndexDateiHilfen.h"

using namespace testhilfe;

namespace {

class WerkzeugeTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Meldungsskript meldungen;
    QString kvx = baum.Pfad("liste.kvx");

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        NeuerIndex();
    }
    void NeuerIndex()
    {
        index = Index();
        TypenSetzen(index);
        index.bolIndexGeladen = true;
    }
    void Eintrag(const QString& pfad, const QString& titel = QString())
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Titel = titel;
        index.EintragAnhängen(pfad, m, 1);
    }
    QStringList Gespeichert()
    {
        Index geladen;
        EXPECT_TRUE(DateiLaden(geladen, kvx));
        return IndexPfade(geladen);
    }
    // An index that synchronises one folder, saved.
    void Synchronisiert(const QString& ordner, int unterordner, int entfernen)
    {
        index.strSyncOrdner = {ordner};
        index.intSyncUnterordner = {unterordner};
        index.strSyncKopierenInOrdner = {QString()};
        index.intSyncLeer = 0;
        index.intSyncDanachEntfernen = entfernen;
        ASSERT_TRUE(DateiSpeichern(index, kvx, false));
    }
    static QJsonObject Zeile(const QString& alt, const QString& neu, bool erledigt)
    {
        return QJsonObject{{"alt", alt}, {"neu", neu}, {"erledigt", erledigt}};
    }
};

} // namespace

TEST_F(WerkzeugeTest, MoveVerschiebtKopiertUndSpeichert)
{
    const QString a = baum.Datei("q/a.mp3", "eins"), b = baum.Datei("q/b.mp3", "zwei"), fehlt = baum.Pfad("q/fehlt.mp3");
    const QString vorhanden = baum.Datei("z/b.mp3", "alt");
    for (const QString& p : {a, b, fehlt})
        Eintrag(p);
    Eintrag(vorhanden, "Alt");
    ASSERT_TRUE(DateiSpeichern(index, kvx, false));

    // Copies first: the entries stay, b's copy takes a free name.
    QList<QJsonObject> zeilen;
    QString fehler;
    EXPECT_EQ(WerkzeugStarten("move", {kvx, baum.Pfad("k"), "--kopieren", "--konflikt", "umbenennen"}, &zeilen, &fehler),
              0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{Zeile(a, baum.Pfad("k/a.mp3"), true), Zeile(b, baum.Pfad("k/b.mp3"), true),
                                          Zeile(fehlt, fehlt, false), Zeile(vorhanden, baum.Pfad("k/b-0.mp3"), true)}));
    EXPECT_TRUE(fehler.contains("Beim Kopieren ist ein Fehler aufgetreten: \n" + QuelleFehltMeldung(fehlt)));
    EXPECT_TRUE(fehler.contains("Die Zieldatei '" + baum.Pfad("k/b.mp3") + "' (Größe: 4 Bytes) existiert bereits."));
    EXPECT_EQ(Gespeichert(), QStringList({a, b, fehlt, vorhanden}));
    EXPECT_EQ(Lesen(baum.Pfad("k/b-0.mp3")), "alt");

    // Then a move into z/, replacing b there: one entry names it afterwards.
    zeilen.clear();
    EXPECT_EQ(WerkzeugStarten("move", {kvx, baum.Pfad("z/"), "--konflikt", "ersetzen"}, &zeilen, &fehler), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{Zeile(a, baum.Pfad("z/a.mp3"), true), Zeile(b, vorhanden, true),
                                          Zeile(fehlt, fehlt, false), Zeile(vorhanden, vorhanden, false)}));
    EXPECT_EQ(Gespeichert(), QStringList({baum.Pfad("z/a.mp3"), vorhanden, fehlt}));
    EXPECT_EQ(Lesen(vorhanden), "zwei");
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("q/a.mp3")));

    // A folder that is refused, and wrong calls.
    EXPECT_EQ(WerkzeugStarten("move", {kvx, "relativ/"}, nullptr, &fehler), 2);
    EXPECT_TRUE(fehler.contains("Bitte geben Sie einen Zielordner ein."));
    EXPECT_EQ(WerkzeugStarten("move", {kvx}), 3);
    EXPECT_EQ(WerkzeugStarten("move", {kvx, baum.Pfad("z"), "--konflikt", "vielleicht"}), 3);
    EXPECT_EQ(WerkzeugStarten("move", {baum.Pfad("fehlt/liste.kvx"), baum.Pfad("z")}), 1) << "cannot be made";
}

TEST_F(WerkzeugeTest, SyncFolgtDenIndexOptionen)
{
    const QString da = baum.Datei("musik/da.mp3"), fehlt = baum.Pfad("musik/fehlt.mp3");
    const QString neu = baum.Datei("musik/unter/neu.mp3");
    baum.Datei("musik/bild.xyz");
    Eintrag(da);
    Eintrag(fehlt);
    Synchronisiert(baum.Pfad("musik"), 1, 1);

    QList<QJsonObject> zeilen;
    QString fehler;
    EXPECT_EQ(WerkzeugStarten("sync", {kvx}, &zeilen, &fehler), 0);
    const auto zeile = [](const QString& pfad, bool vorher, bool nachher) {
        return QJsonObject{{"pfad", pfad}, {"vorher", vorher}, {"nachher", nachher}};
    };
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(da, true, true), zeile(fehlt, true, false), zeile(neu, false, true)}));
    EXPECT_TRUE(fehler.contains("Kalvero: Syncronisation fertig: 1 Datei(en) entfernt, 1 Datei(en) hinzugefügt"))
        << fehler.toStdString();
    EXPECT_EQ(Gespeichert(), QStringList({da, neu}));

    // Without removal of missing files the options keep them.
    NeuerIndex();
    Eintrag(fehlt);
    Synchronisiert(baum.Ordner("leer"), 0, 0);
    zeilen.clear();
    EXPECT_EQ(WerkzeugStarten("sync", {kvx}, &zeilen, &fehler), 0);
    EXPECT_EQ(zeilen, QList<QJsonObject>{zeile(fehlt, true, true)});
    EXPECT_EQ(WerkzeugStarten("sync", {}), 3);
}

TEST_F(WerkzeugeTest, CleanupFührtEineAktionFürJedenEintragAus)
{
    const QString a = baum.Datei("a/1.mp3"), b = baum.Datei("b/2.mp3");
    const QString abwesend = kFehlendesMedium + "/3.mp3";
    for (const QString& p : {a, abwesend, b})
        Eintrag(p);
    ASSERT_TRUE(DateiSpeichern(index, kvx, false));
    const auto zeile = [](const QString& pfad, bool erledigt) { return QJsonObject{{"pfad", pfad}, {"erledigt", erledigt}}; };

    // Nothing to do, and wrong calls.
    QString fehler;
    EXPECT_EQ(WerkzeugStarten("cleanup", {kvx, "0"}, nullptr, &fehler), 2);
    EXPECT_TRUE(fehler.contains("Bitte wählen Sie eine Aktion für mindestens eine gefundene Datei."));
    EXPECT_EQ(WerkzeugStarten("cleanup", {kvx, "5"}), 3);
    EXPECT_EQ(WerkzeugStarten("cleanup", {kvx}), 3);

    // Replacing by empty files: the absent medium's file stays indexed.
    QList<QJsonObject> zeilen;
    EXPECT_EQ(WerkzeugStarten("cleanup", {kvx, "4"}, &zeilen, &fehler), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(a, true), zeile(abwesend, false), zeile(b, true)}));
    EXPECT_TRUE(fehler.contains(AktionenFrage({0, 0, 0, 0, 3}) + " -> Ja"));
    EXPECT_TRUE(fehler.contains("Kalvero: Der Index wurde nicht vollständig aufgeräumt: 1 Datei(en) nicht ersetzt, "
                                "ihre Einträge bleiben im Index"))
        << fehler.toStdString();
    EXPECT_EQ(Gespeichert(), QStringList({abwesend}));
    EXPECT_TRUE(QFile::exists(baum.Pfad("a/1.inanderemordner")));
    EXPECT_FALSE(QFile::exists(a));

    // Deleting: the same.
    NeuerIndex();
    const QString c = baum.Datei("c/4.mp3");
    Eintrag(abwesend);
    Eintrag(c);
    ASSERT_TRUE(DateiSpeichern(index, kvx, false));
    zeilen.clear();
    EXPECT_EQ(WerkzeugStarten("cleanup", {kvx, "1"}, &zeilen, &fehler), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(abwesend, false), zeile(c, true)}));
    EXPECT_FALSE(QFile::exists(c));
    EXPECT_EQ(Gespeichert(), QStringList({abwesend}));
}

// An index file another program still writes is not loaded, and no tool
// waits for it: each says why and ends with exit 1, the file untouched.
TEST_F(WerkzeugeTest, KeinWerkzeugWartetAufEineIndexdateiDieGeschriebenWird)
{
    Eintrag(baum.Datei("a/1.mp3"));
    ASSERT_TRUE(DateiSpeichern(index, kvx, false));
    const QByteArray vorher = testhilfe::DateiInhalt(kvx);
    FremderProzess schreiber(kvx, FremderProzess::Art::Schreiben);
    ASSERT_TRUE(schreiber.Offen());
    const std::pair<const char*, QStringList> aufrufe[] = {
        {"index-roundtrip", {kvx, baum.Pfad("aus.kvx")}}, {"move", {kvx, baum.Pfad("z")}},
        {"sync", {kvx}}, {"cleanup", {kvx, "4"}}, {"rename", {kvx, "0", "--format", "x"}}};
    for (const auto& [name, argumente] : aufrufe) {
        SCOPED_TRACE(name);
        QString fehler;
        EXPECT_EQ(WerkzeugStarten(name, argumente, nullptr, &fehler), 1);
        EXPECT_TRUE(fehler.contains("wird gerade von einem anderen Programm geschrieben und kann daher nicht geladen "
                                    "werden.\nWarten Sie, bis das andere Programm damit fertig ist.\n\n"
                                    "Möchten Sie den Ladevorgang erneut versuchen? -> Nein"))
            << fehler.toStdString();
    }
    EXPECT_EQ(testhilfe::DateiInhalt(kvx), vorher);
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("aus.kvx")));
}

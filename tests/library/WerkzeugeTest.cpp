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
    QList<QJsonObject> zeilen;
    QString fehler;

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
    // Saves an index of the paths; `ordner` set, it synchronises that folder.
    void Speichern(const QStringList& pfade, const QString& ordner = QString(), int unterordner = 0, int entfernen = 0)
    {
        for (const QString& p : pfade)
            index.EintragAnhängen(p, LeereMedienInfo(), 1);
        if (!ordner.isEmpty()) {
            index.strSyncOrdner = {ordner};
            index.intSyncUnterordner = {unterordner};
            index.strSyncKopierenInOrdner = {QString()};
            index.intSyncLeer = 0;
            index.intSyncDanachEntfernen = entfernen;
        }
        ASSERT_TRUE(DateiSpeichern(index, kvx, false));
    }
    QStringList Gespeichert()
    {
        Index geladen;
        EXPECT_TRUE(DateiLaden(geladen, kvx));
        return IndexPfade(geladen);
    }
    // The tool's exit status; its output lines in `zeilen`, its messages in `fehler`.
    int Starten(const QString& name, const QStringList& argumente)
    {
        zeilen.clear();
        return WerkzeugStarten(name, argumente, &zeilen, &fehler);
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
    Speichern({a, b, fehlt, vorhanden});

    // Copies first: the entries stay, b's copy takes a free name.
    EXPECT_EQ(Starten("move", {kvx, baum.Pfad("k"), "--kopieren", "--konflikt", "umbenennen"}), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{Zeile(a, baum.Pfad("k/a.mp3"), true), Zeile(b, baum.Pfad("k/b.mp3"), true),
                                          Zeile(fehlt, fehlt, false), Zeile(vorhanden, baum.Pfad("k/b-0.mp3"), true)}));
    EXPECT_TRUE(fehler.contains("Beim Kopieren ist ein Fehler aufgetreten: \n" + QuelleFehltMeldung(fehlt)));
    EXPECT_TRUE(fehler.contains("Die Zieldatei '" + baum.Pfad("k/b.mp3") + "' (Größe: 4 Bytes) existiert bereits."));
    EXPECT_EQ(Gespeichert(), QStringList({a, b, fehlt, vorhanden}));
    EXPECT_EQ(Lesen(baum.Pfad("k/b-0.mp3")), "alt");

    // Then a move into z/, replacing b there: one entry names it afterwards.
    EXPECT_EQ(Starten("move", {kvx, baum.Pfad("z/"), "--konflikt", "ersetzen"}), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{Zeile(a, baum.Pfad("z/a.mp3"), true), Zeile(b, vorhanden, true),
                                          Zeile(fehlt, fehlt, false), Zeile(vorhanden, vorhanden, false)}));
    EXPECT_EQ(Gespeichert(), QStringList({baum.Pfad("z/a.mp3"), vorhanden, fehlt}));
    EXPECT_EQ(Lesen(vorhanden), "zwei");
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("q/a.mp3")));

    // A folder that is refused, and wrong calls.
    EXPECT_EQ(Starten("move", {kvx, "relativ/"}), 2);
    EXPECT_TRUE(fehler.contains("Bitte geben Sie einen Zielordner ein."));
    EXPECT_EQ(Starten("move", {kvx}), 3);
    EXPECT_EQ(Starten("move", {kvx, baum.Pfad("z"), "--konflikt", "vielleicht"}), 3);
    EXPECT_EQ(Starten("move", {baum.Pfad("fehlt/liste.kvx"), baum.Pfad("z")}), 1) << "cannot be made";
}

TEST_F(WerkzeugeTest, SyncFolgtDenIndexOptionen)
{
    const QString da = baum.Datei("musik/da.mp3"), fehlt = baum.Pfad("musik/fehlt.mp3");
    const QString neu = baum.Datei("musik/unter/neu.mp3");
    baum.Datei("musik/bild.xyz");
    Speichern({da, fehlt}, baum.Pfad("musik"), 1, 1);
    const auto zeile = [](const QString& pfad, bool vorher, bool nachher) {
        return QJsonObject{{"pfad", pfad}, {"vorher", vorher}, {"nachher", nachher}};
    };
    EXPECT_EQ(Starten("sync", {kvx}), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(da, true, true), zeile(fehlt, true, false), zeile(neu, false, true)}));
    EXPECT_TRUE(fehler.contains("Kalvero: Syncronisation fertig: 1 Datei(en) entfernt, 1 Datei(en) hinzugefügt"))
        << fehler.toStdString();
    EXPECT_EQ(Gespeichert(), QStringList({da, neu}));

    // Without removal of missing files the options keep them.
    NeuerIndex();
    Speichern({fehlt}, baum.Ordner("leer"));
    EXPECT_EQ(Starten("sync", {kvx}), 0);
    EXPECT_EQ(zeilen, QList<QJsonObject>{zeile(fehlt, true, true)});
    EXPECT_EQ(Starten("sync", {}), 3);
}

TEST_F(WerkzeugeTest, CleanupFührtEineAktionFürJedenEintragAus)
{
    const QString a = baum.Datei("a/1.mp3"), b = baum.Datei("b/2.mp3"), c = baum.Datei("c/4.mp3");
    const QString abwesend = kFehlendesMedium + "/3.mp3";
    Speichern({a, abwesend, b});
    const auto zeile = [](const QString& pfad, bool erledigt) { return QJsonObject{{"pfad", pfad}, {"erledigt", erledigt}}; };

    // Nothing to do, and wrong calls.
    EXPECT_EQ(Starten("cleanup", {kvx, "0"}), 2);
    EXPECT_TRUE(fehler.contains("Bitte wählen Sie eine Aktion für mindestens eine gefundene Datei."));
    EXPECT_EQ(Starten("cleanup", {kvx, "5"}), 3);
    EXPECT_EQ(Starten("cleanup", {kvx}), 3);

    // Replacing by empty files: the absent medium's file stays indexed.
    EXPECT_EQ(Starten("cleanup", {kvx, "4"}), 0);
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
    Speichern({abwesend, c});
    EXPECT_EQ(Starten("cleanup", {kvx, "1"}), 0);
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(abwesend, false), zeile(c, true)}));
    EXPECT_FALSE(QFile::exists(c));
    EXPECT_EQ(Gespeichert(), QStringList({abwesend}));
}

// An index file another program still writes is not loaded, and no tool
// waits for it: each says why and ends with exit 1, the file untouched.
TEST_F(WerkzeugeTest, KeinWerkzeugWartetAufEineIndexdateiDieGeschriebenWird)
{
    Speichern({baum.Datei("a/1.mp3")});
    const QByteArray vorher = DateiInhalt(kvx);
    FremderProzess schreiber(kvx, FremderProzess::Art::Schreiben);
    ASSERT_TRUE(schreiber.Offen());
    const std::pair<const char*, QStringList> aufrufe[] = {
        {"index-roundtrip", {kvx, baum.Pfad("aus.kvx")}}, {"move", {kvx, baum.Pfad("z")}},
        {"sync", {kvx}}, {"cleanup", {kvx, "4"}}, {"rename", {kvx, "0", "--format", "x"}}};
    for (const auto& [name, argumente] : aufrufe) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Starten(name, argumente), 1);
        EXPECT_TRUE(fehler.contains("wird gerade von einem anderen Programm geschrieben und kann daher nicht geladen "
                                    "werden.\nWarten Sie, bis das andere Programm damit fertig ist.\n\n"
                                    "Möchten Sie den Ladevorgang erneut versuchen? -> Nein"))
            << fehler.toStdString();
    }
    EXPECT_EQ(DateiInhalt(kvx), vorher);
    EXPECT_FALSE(QFileInfo::exists(baum.Pfad("aus.kvx")));
}

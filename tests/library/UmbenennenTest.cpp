#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "library/Umbenennen.h"
#include "library/Verschieben.h"
#include "support/FuseAbbild.h"

#include <sys/stat.h>

#include <iostream>
#include <optional>

using namespace testhilfe;

namespace {

QString Texte(const std::vector<Meldung>& meldungen)
{
    QStringList t;
    for (const Meldung& m : meldungen)
        t << m.text;
    return t.join(" | ");
}

// Scripted answers of the new-path window: a path, or std::nullopt to decline.
struct Namensfragen {
    std::deque<std::optional<QString>> antworten;
    QStringList gezeigt;
    DienstErsetzen<DateinameAbfrageDienst> dienst{[this](const QString& alt, QString& neu, bool) {
        gezeigt.append(alt);
        if (antworten.empty())
            return false;
        const auto a = antworten.front();
        antworten.pop_front();
        if (!a)
            return false;
        neu = *a;
        return true;
    }};
};

class UmbenennenTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Listenattrappe liste;
    Meldungsskript meldungen;
    Fortschrittsattrappe fortschritt;
    Statuszeile status;
    Konfliktskript konflikte;
    Namensfragen namen;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
    }
    void TearDown() override { IndexStimmig(index); }

    qint32 Eintrag(const QString& pfad, const QString& interpret = "Abba", const QString& titel = "Waterloo")
    {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = 1;
        m.Mp3_ID3v1_Interpret = interpret;
        m.Mp3_ID3v1_Titel = titel;
        m.Mp3_ID3v1_Jahr = "1974";
        m.Datei_HinzugefügtAm = "05.03.2001";
        m.Datei_AngefordertAnzahl = 7;
        return index.EintragAnhängen(pfad, m, 1);
    }
    bool Einzeln(qint32 e, const UmbenennenEingaben& ein)
    {
        UmbenennenLauf lauf;
        return DateiNachKriterienUmbenennen(index, e, ein, lauf);
    }
    QString Pfad(qint32 e) const { return index.strIndexPfad[size_t(e)]; }
    static UmbenennenEingaben Funktion(int code)
    {
        UmbenennenEingaben e;
        e.intFunktion = code;
        return e;
    }
};

mode_t Rechte(const QString& pfad)
{
    struct stat st;
    return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

} // namespace

TEST_F(UmbenennenTest, FelderFuellenNameInEinemDurchgangUndIndexFolgt)
{
    const qint32 e = Eintrag(baum.Datei("a/x.mp3", "inhalt"));
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    ein.strFormat = "%Interpret% - %Titel%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("a/Abba - Waterloo.mp3"));
    EXPECT_EQ(Lesen(Pfad(e)), "inhalt");
    EXPECT_FALSE(QFile::exists(baum.Pfad("a/x.mp3")));
    EXPECT_EQ(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl, 7) << "the record stays";
    EXPECT_TRUE(index.bolIndexGeändert);

    // A field text holding a placeholder is copied, never filled again;
    // unknown names stay literal; dates come as the list shows them.
    index.IndexDaten[size_t(e)].Mp3_ID3v1_Interpret = "%Titel%";
    ein.strFormat = "%Interpret% %Unbekannt% %Hinzufüge-Datum% %";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("a/%Titel% %Unbekannt% 05.03.2001 %.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));

    // "\" typed in the format makes folders; the emptied folder is offered.
    ein.strFormat = baum.Pfad("neu") + "\\%Jahr%\\%Titel%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("neu/1974/Waterloo.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));
    EXPECT_TRUE(meldungen.Enthält("' ist (nun) leer."));
    EXPECT_FALSE(QDir(baum.Pfad("a")).exists()) << "the question was answered yes";

    // Renaming onto its own path touches nothing and asks nothing.
    meldungen.gezeigt.clear();
    ein.strFormat = "%Titel%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("neu/1974/Waterloo.mp3"));
    EXPECT_TRUE(meldungen.gezeigt.empty());
}

TEST_F(UmbenennenTest, FeldtexteFuehrenNieAusDemOrdner)
{
    const qint32 e = Eintrag(baum.Datei("m/x.mp3"), "AC/DC", "..");
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    ein.strFormat = "%Interpret% - Live";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("m/ACDC - Live.mp3"));

    // A field that reads ".." or "." is no path part.
    ein.strFormat = "%Titel%/%Interpret%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("m/ACDC.mp3"));
    index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel = ".";
    ein.strFormat = "%Titel%%Titel%/x%Interpret%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("m/xACDC.mp3"));

    // A "\" in a field makes no folder; the name is cleaned by the move.
    index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel = "a\\b?";
    ein.strFormat = "%Titel%";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("m/ab.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));
    EXPECT_EQ(QDir(baum.Pfad()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"m"});
}

// Every character of a field's text and of the pattern reaches the name,
// the private-use ones included; only a field's separators go.
TEST_F(UmbenennenTest, FeldtexteUndMusterBehaltenJedesZeichen)
{
    const QString a(QChar(0xE000)), b(QChar(0xE001)), c(QChar(0xF8FF));
    const struct {
        QString titel, format, name;
    } fälle[] = {
        {a + "Lied" + b, "%Titel%", a + "Lied" + b},
        {"Lied", a + "%Titel%" + b, a + "Lied" + b},
        {b, "x" + b + "%Titel%" + a + c, "x" + b + b + a + c},
        {a + "." + b, "%Titel%/y", a + "." + b + "/y"},
        {"..", a + "%Titel%/%Interpret%", a + "/Abba"}, // a folder loses trailing dots
        {"/" + a + "/", "%Titel%", a},
        {"..", "%Titel%/" + b + "%Interpret%", b + "Abba"},
    };
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    for (const auto& f : fälle) {
        const QString ordner = QString("z%1").arg(&f - fälle);
        SCOPED_TRACE(ordner.toStdString());
        const qint32 e = Eintrag(baum.Datei(ordner + "/x.mp3", "z"), "Abba", f.titel);
        ein.strFormat = f.format;
        ASSERT_TRUE(Einzeln(e, ein));
        EXPECT_EQ(Pfad(e), baum.Pfad(ordner + "/" + f.name + ".mp3"));
        EXPECT_EQ(Lesen(Pfad(e)), "z");
    }
}

// Folders made from fields lose what FAT, exFAT and NTFS refuse or Windows
// cannot open, as file names do: on the temp folder and on exFAT through FUSE
// (fusefat hangs when folders are removed).
TEST_F(UmbenennenTest, FeldordnerWerdenWieDateinamenBereinigt)
{
    const std::pair<const char*, const char*> fälle[] = {
        {"AC:DC", "ACDC"}, {"Wer?", "Wer"},     {"a*b", "ab"},       {"\"Zitat\"", "Zitat"},
        {"<a>", "a"},      {"a|b", "ab"},       {"a\\b", "ab"},     {"R.E.M.", "R.E.M"},
        {"Vol. 2 ", "Vol. 2"}, {"Ende. . ", "Ende"}, {"?", ""},
    };
    std::optional<FuseAbbild> fat(FuseAbbild::Art::ExFat);
    if (!fat->Bereit()) {
        std::cout << "[ SKIPPED  ] exFAT: " << fat->Grund().toStdString() << std::endl;
        fat.reset();
    }
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    ein.strFormat = "%Interpret%/%Album%/%Titel%";
    QStringList wurzeln{QString()};
    if (fat)
        wurzeln << fat->Pfad();
    for (const QString& wurzel : wurzeln) {
        Baum b(wurzel);
        for (size_t i = 0; i < std::size(fälle); ++i) {
            const auto& [feld, ordner] = fälle[i];
            SCOPED_TRACE(std::string(feld) + (wurzel.isEmpty() ? "" : " (exFAT)"));
            const QString titel = QString("Lied %1").arg(i);
            const qint32 e = Eintrag(b.Datei(QString("x%1.mp3").arg(i), "z"), feld, titel);
            index.IndexDaten[size_t(e)].Mp3_ID3v1_Album = feld;
            meldungen.gezeigt.clear();
            ASSERT_TRUE(Einzeln(e, ein)) << Texte(meldungen.gezeigt).toStdString();
            const QString teil = QString(ordner).isEmpty() ? QString() : QString(ordner) + "/";
            EXPECT_EQ(Pfad(e), b.Pfad(teil + teil + titel + ".mp3"));
            EXPECT_EQ(Lesen(Pfad(e)), "z");
        }
    }

    // A folder that cannot be made is named in the message.
    const qint32 e = Eintrag(baum.Datei("m/x.mp3", "z"), "Abba", "Lied");
    baum.Datei("m/Abba", "keine Ordner");
    ein.strFormat = "%Interpret%/%Titel%";
    EXPECT_FALSE(Einzeln(e, ein));
    EXPECT_TRUE(meldungen.Enthält("Der Ordner '" + baum.Pfad("m/Abba") + "' kann nicht angelegt werden: "))
        << Texte(meldungen.gezeigt).toStdString();
    EXPECT_EQ(Pfad(e), baum.Pfad("m/x.mp3"));
    EXPECT_EQ(Lesen(Pfad(e)), "z");
}

// A file whose fields are all empty keeps its name (maybe the only place
// its title stands); the others are renamed, and the status says both.
TEST_F(UmbenennenTest, OhneFeldtextBleibtDerName)
{
    const qint32 a = Eintrag(baum.Datei("Titel eins.mp3", "eins"), "", "");
    const qint32 b = Eintrag(baum.Datei("2.mp3", "zwei"));
    const qint32 c = Eintrag(baum.Datei("Titel drei.mp3", "drei"), "", " ");
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    ein.strFormat = "%Interpret% - %Titel%";
    EXPECT_EQ(DateienUmbenennen(index, {a, b, c}, ein), 1);
    EXPECT_EQ(std::tuple(Pfad(a), Pfad(b), Pfad(c)),
              std::tuple(baum.Pfad("Titel eins.mp3"), baum.Pfad("Abba - Waterloo.mp3"), baum.Pfad("Titel drei.mp3")));
    EXPECT_EQ(QDir(baum.Pfad()).entryList(QDir::Files), QStringList({"Abba - Waterloo.mp3", "Titel drei.mp3", "Titel eins.mp3"}));
    EXPECT_TRUE(konflikte.gestellt.isEmpty());
    EXPECT_TRUE(meldungen.gezeigt.empty()) << Texte(meldungen.gezeigt).toStdString();
    EXPECT_EQ(status.Text(), "1 Dateien wurden umbenannt/geändert. 2 Dateien wurden nicht umbenannt, da alle Felder des "
                             "Formats für sie leer sind.");
}

TEST_F(UmbenennenTest, NieWirdUeberschriebenAuchNichtInEinemLauf)
{
    const QString vorhanden = baum.Datei("Abba - Waterloo.mp3", "alt");
    const qint32 a = Eintrag(baum.Datei("1.mp3", "eins"));
    const qint32 b = Eintrag(baum.Datei("2.mp3", "zwei"));
    const qint32 c = Eintrag(baum.Datei("3.mp3", "drei"));
    UmbenennenEingaben ein = Funktion(UmbenennenFelder);
    ein.strFormat = "%Interpret% - %Titel%";
    konflikte.antworten = {DateiExistiert::Abbrechen, DateiExistiert::Umbenennen, DateiExistiert::Umbenennen};
    meldungen.antworten = {Antwort::OK, Antwort::Ja};
    EXPECT_EQ(DateienUmbenennen(index, {a, b, c}, ein), 2);
    EXPECT_EQ(konflikte.gestellt.size(), 3);
    EXPECT_EQ(Lesen(vorhanden), "alt");
    EXPECT_EQ(Pfad(a), baum.Pfad("1.mp3")) << "cancelled";
    EXPECT_EQ(Lesen(Pfad(a)), "eins");
    EXPECT_EQ(Pfad(b), baum.Pfad("Abba - Waterloo-0.mp3"));
    EXPECT_EQ(Pfad(c), baum.Pfad("Abba - Waterloo-1.mp3"));
    EXPECT_EQ(Lesen(Pfad(c)), "drei");
    EXPECT_TRUE(meldungen.Enthält("bereits und Umbenennen wurde nicht gewünscht."));
    EXPECT_TRUE(meldungen.Enthält("Möchten Sie mit der nächsten Datei fortfahren?"));
    EXPECT_EQ(status.Text(), "2 Dateien wurden umbenannt/geändert.") << "only the handled ones count";
    EXPECT_EQ(liste.aktualisiert, 1);
    EXPECT_EQ(einstellungen().UmbenennenEingabeID3, "%Interpret% - %Titel%");
}

TEST_F(UmbenennenTest, ErsetzenNurImBlossenNamen)
{
    const qint32 e = Eintrag(baum.Datei("mp3er/Das mp3 Lied.mp3"));
    UmbenennenEingaben ein = Funktion(UmbenennenErsetzen);
    ein.strErsetzen = "MP3";
    ein.strErsetzenDurch = "";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("mp3er/Das  Lied.mp3")) << "folder and extension untouched, case ignored";
    ein.strErsetzen = "Das ";
    ein.strErsetzenDurch = "Sub\\";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("mp3er/Sub/ Lied.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));
    // The joiners of an emoji sequence and characters newer than Qt's tables stay.
    const qint32 f = Eintrag(baum.Datei(QString::fromUtf8("u/x👨‍👩‍👧 🫨.mp3")));
    ein.strErsetzen = "x";
    ein.strErsetzenDurch = "y";
    ASSERT_TRUE(Einzeln(f, ein));
    EXPECT_EQ(Pfad(f), baum.Pfad(QString::fromUtf8("u/y👨‍👩‍👧 🫨.mp3")));
}

TEST_F(UmbenennenTest, FortlaufendZaehltJeOrdnerWeiter)
{
    baum.Datei("z/Track1.mp3", "da");
    baum.Datei("z/Track3.mp3", "da");
    EintragsListe liste;
    for (const char* n : {"z/a.mp3", "z/b.mp3", "z/c.mp3", "y/d.mp3", "z/e.ogg"})
        liste.push_back(Eintrag(baum.Datei(n)));
    UmbenennenEingaben ein = Funktion(UmbenennenFortlaufend);
    ein.strAnfang = "Track";
    ein.strStartZahl = "1";
    EXPECT_EQ(DateienUmbenennen(index, liste, ein), 5);
    EXPECT_EQ(IndexPfade(index), QStringList({baum.Pfad("z/Track2.mp3"), baum.Pfad("z/Track4.mp3"),
                                              baum.Pfad("z/Track5.mp3"), baum.Pfad("y/Track1.mp3"),
                                              baum.Pfad("z/Track1.ogg")}));
    EXPECT_EQ(Lesen(baum.Pfad("z/Track1.mp3")), "da");

    // Leading zeros stay for the first try; sub-folders from "\".
    const qint32 f = Eintrag(baum.Datei("w/f.mp3"));
    baum.Datei("w/Teil/Nr007.mp3");
    ein.strAnfang = "Teil\\Nr";
    ein.strStartZahl = "007";
    ASSERT_TRUE(Einzeln(f, ein));
    EXPECT_EQ(Pfad(f), baum.Pfad("w/Teil/Nr8.mp3"));
}

TEST_F(UmbenennenTest, FortlaufendVieleDateienOhneGrenze)
{
    // Every file of a run tries only the next number, so a long run neither
    // slows down nor stops at the search limit.
    EintragsListe liste;
    for (int i = 0; i < 300; ++i)
        liste.push_back(Eintrag(baum.Datei(QString("v/%1.mp3").arg(i, 3, 10, QChar('0')), QByteArray())));
    UmbenennenEingaben ein = Funktion(UmbenennenFortlaufend);
    ein.strAnfang = "n";
    ein.strStartZahl = "40000";
    EXPECT_EQ(DateienUmbenennen(index, liste, ein), 300);
    EXPECT_EQ(Pfad(liste.back()), baum.Pfad("v/n40299.mp3"));
}

TEST_F(UmbenennenTest, EingabenWerdenGeprueft)
{
    UmbenennenEingaben e;
    EXPECT_EQ(UmbenennenEingabenPrüfen(e), "Bitte wählen Sie eine Methode aus der Liste.");
    e.intFunktion = UmbenennenFortlaufend;
    EXPECT_EQ(UmbenennenEingabenPrüfen(e),
              "Es wurde keine Start-Zeichenfolge bei der fortlaufenden Umbenennung angegeben.");
    for (const char* falsch : {"1.5", "1e3", "x", "99999999999", "--1"}) {
        e.strStartZahl = falsch;
        EXPECT_EQ(UmbenennenEingabenPrüfen(e),
                  "Die Start-Zeichenfolge bei der fortlaufenden Umbenennung muß eine Zahl sein.")
            << falsch;
    }
    for (const char* gut : {"0", "007", "-3", " 12 "}) {
        e.strStartZahl = gut;
        EXPECT_EQ(UmbenennenEingabenPrüfen(e), "") << gut;
    }
    for (const int f : {UmbenennenLeereDatei, UmbenennenEndung})
        for (const char* falsch : {"", "a/b", "..\\x"}) {
            e.intFunktion = f;
            e.strLeereEndung = e.strEndung = falsch;
            EXPECT_EQ(UmbenennenEingabenPrüfen(e), "Bitte geben Sie eine neue Datei-Endung ein.") << falsch;
        }
    e.intFunktion = UmbenennenSchreibweise;
    EXPECT_EQ(UmbenennenEingabenPrüfen(e),
              "Bitte markieren Sie, ob Sie den Dateinamen in Groß- oder in Kleinschreibung ändern wollen.");
    EXPECT_EQ(UmbenennenFunktionAusPosition(4), UmbenennenListeneintrag);
    EXPECT_EQ(UmbenennenFunktionAusPosition(5), UmbenennenSchreibweise);
    EXPECT_EQ(UmbenennenFunktionAusPosition(9), -1);
}

TEST_F(UmbenennenTest, SchreibweiseZeichenweiseMitUmlauten)
{
    const qint32 e = Eintrag(baum.Datei("s/über den fluß (live).MP3"));
    UmbenennenEingaben ein = Funktion(UmbenennenSchreibweise);
    ein.intSchreibweise = 2;
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("s/ÜBER DEN FLUß (LIVE).MP3")) << "ß stays one character";
    ein.intSchreibweise = 1;
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("s/über den fluß (live).MP3"));
    ein.intSchreibweise = 3;
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("s/Über den fluß (Live).MP3"));
    ein.intSchreibweise = 4;
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("s/Über Den Fluß (Live).MP3"));
    EXPECT_TRUE(QFile::exists(Pfad(e)));
    EXPECT_EQ(QDir(baum.Pfad("s")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    EXPECT_TRUE(konflikte.gestellt.isEmpty());
}

TEST_F(UmbenennenTest, EndungAendern)
{
    const qint32 a = Eintrag(baum.Datei("e/Song"));
    const qint32 b = Eintrag(baum.Datei("e/Lied.MP3"));
    UmbenennenEingaben ein = Funktion(UmbenennenEndung);
    ein.strEndung = "mp3";
    ASSERT_TRUE(Einzeln(a, ein));
    ASSERT_TRUE(Einzeln(b, ein));
    EXPECT_EQ(Pfad(a), baum.Pfad("e/Song.mp3"));
    EXPECT_EQ(Pfad(b), baum.Pfad("e/Lied.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(b)));

    // An extension that leads elsewhere is refused before anything moves.
    ein.strEndung = "ogg/evil";
    EXPECT_FALSE(Einzeln(a, ein));
    EXPECT_TRUE(meldungen.Enthält("Bitte geben Sie eine neue Datei-Endung ein."));
    EXPECT_EQ(QDir(baum.Pfad("e")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"Lied.mp3", "Song.mp3"}));
}

TEST_F(UmbenennenTest, ManuellePfadeNurAbsolutUndNurGetippteTrenner)
{
    const qint32 a = Eintrag(baum.Datei("h\\x/a.mp3", "a"));
    const qint32 b = Eintrag(baum.Datei("h/c.mp3", "c"));
    const qint32 c = Eintrag(baum.Datei("h/d.mp3", "d"));
    UmbenennenEingaben ein = Funktion(UmbenennenManuell);
    // The old folder keeps its "\"; a typed one makes a folder.
    namen.antworten = {baum.Pfad("h\\x/a-neu.mp3"), std::nullopt, QString("relativ/x.mp3")};
    meldungen.antworten = {Antwort::Ja, Antwort::OK};
    EXPECT_EQ(DateienUmbenennen(index, {a, b, c}, ein), 1);
    EXPECT_EQ(Pfad(a), baum.Pfad("h\\x/a-neu.mp3"));
    EXPECT_EQ(Lesen(Pfad(a)), "a");
    EXPECT_EQ(Pfad(b), baum.Pfad("h/c.mp3")) << "declined";
    EXPECT_EQ(Pfad(c), baum.Pfad("h/d.mp3")) << "a relative path is refused";
    EXPECT_TRUE(QFile::exists(Pfad(c)));
    EXPECT_FALSE(QDir("relativ").exists());
    EXPECT_TRUE(meldungen.Enthält("Dateiname oder -nummer falsch (Fehler 52)"));
    EXPECT_EQ(namen.gezeigt, QStringList({baum.Pfad("h\\x/a.mp3"), baum.Pfad("h/c.mp3"), baum.Pfad("h/d.mp3")}));
    EXPECT_EQ(status.Text(), "1 Dateien wurden umbenannt/geändert.");

    namen.antworten = {baum.Pfad("h\\x/neu\\b.mp3")};
    ASSERT_TRUE(Einzeln(a, ein));
    EXPECT_EQ(Pfad(a), baum.Pfad("h\\x/neu/b.mp3"));
    EXPECT_TRUE(QFile::exists(Pfad(a)));

    // Declined on the last file: no question to go on.
    meldungen.gezeigt.clear();
    namen.antworten = {std::nullopt};
    EXPECT_EQ(DateienUmbenennen(index, {b}, ein), 0);
    EXPECT_FALSE(meldungen.Enthält("Möchten Sie mit der nächsten Datei fortfahren?"));
}

TEST_F(UmbenennenTest, ListeneintragBehaeltDenDatensatzOhneDatei)
{
    const qint32 e = Eintrag(baum.Datei("l/a.mp3"));
    const QString andere = baum.Datei("l/b.mp3", KleineMp3());
    UmbenennenEingaben ein = Funktion(UmbenennenListeneintrag);

    namen.antworten = {baum.Pfad("l/fehlt.mp3")};
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("l/fehlt.mp3"));
    EXPECT_EQ(index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel, "Waterloo");
    EXPECT_EQ(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl, 7);
    EXPECT_TRUE(meldungen.Enthält("Die angegebene Datei '" + baum.Pfad("l/fehlt.mp3") + "' existiert nicht."));
    EXPECT_TRUE(QFile::exists(baum.Pfad("l/a.mp3"))) << "no file operation";

    // A name that cannot be reached keeps the record too, and is not called missing.
    const QString schleife = baum.Pfad("l/schleife.mp3");
    ASSERT_TRUE(QFile::link("schleife.mp3", schleife));
    meldungen.gezeigt.clear();
    namen.antworten = {schleife};
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), schleife);
    EXPECT_EQ(index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel, "Waterloo");
    EXPECT_TRUE(meldungen.Enthält("Die Datei '" + schleife + "' ist nicht erreichbar: Zu viele Ebenen symbolischer "
                                  "Verknüpfungen (Fehler 40)"));
    EXPECT_FALSE(meldungen.Enthält("existiert nicht"));

    namen.antworten = {QString("l/b.mp3")};
    EXPECT_FALSE(Einzeln(e, ein)) << "relative";
    EXPECT_EQ(Pfad(e), schleife);

    namen.antworten = {andere};
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), andere);
    EXPECT_EQ(index.IndexDaten[size_t(e)].Mp3_ID3v1_Titel, "") << "read anew from the file";
    EXPECT_EQ(index.IndexDaten[size_t(e)].Header_Bitrate, 128);
}

TEST_F(UmbenennenTest, AttributeNurSchreibschutzUndNurFuerDenBesitzer)
{
    const QString p = baum.Datei("r/a.mp3");
    ::chmod(QFile::encodeName(p).constData(), 0444);
    const qint32 e = Eintrag(p);
    UmbenennenEingaben ein = Funktion(UmbenennenAttribute);
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Rechte(p), mode_t(0644)) << "write for the owner only";
    ein.intSchreibschutz = 1;
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Rechte(p), mode_t(0444));

    ein.intVersteckt = 1;
    index.bolIndexGeändert = false;
    EXPECT_FALSE(Einzeln(e, ein));
    EXPECT_TRUE(meldungen.Enthält("Die Datei-Attribute der Datei '" + p + "' konnten nicht gesetzt werden.\n"));
    EXPECT_TRUE(meldungen.Enthält("(Fehlernummer 5)"));
    EXPECT_EQ(meldungen.gezeigt.back().symbol, Symbol::Ausruf);
    EXPECT_FALSE(index.bolIndexGeändert);
    QString meldung;
    EXPECT_FALSE(DateiAttributeSetzen(baum.Pfad("r/fehlt"), 0, 0, 0, 0, meldung));
    EXPECT_TRUE(meldung.contains("(Fehlernummer 53)"));
}

TEST_F(UmbenennenTest, LeereDateiEntstehtZuerstUndUeberschreibtNichts)
{
    const qint32 e = Eintrag(baum.Datei("l/Song.mp3", "musik"));
    UmbenennenEingaben ein = Funktion(UmbenennenLeereDatei);
    ein.strLeereEndung = "inanderemordner";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_FALSE(QFile::exists(baum.Pfad("l/Song.mp3")));
    EXPECT_TRUE(QFile::exists(baum.Pfad("l/Song.inanderemordner")));
    EXPECT_EQ(QFileInfo(baum.Pfad("l/Song.inanderemordner")).size(), 0);
    EXPECT_EQ(Pfad(e), baum.Pfad("l/Song.mp3")) << "the entry keeps its path";
    EXPECT_EQ(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl, 0) << "with the empty record";

    // An existing file of the new name is asked about, never emptied.
    const qint32 f = Eintrag(baum.Datei("l/B.mp3", "b"));
    const QString vorhanden = baum.Datei("l/B.x", "wertvoll");
    ein.strLeereEndung = "x";
    EXPECT_FALSE(Einzeln(f, ein));
    EXPECT_EQ(konflikte.gestellt.size(), 1);
    EXPECT_EQ(Lesen(vorhanden), "wertvoll");
    EXPECT_EQ(Lesen(baum.Pfad("l/B.mp3")), "b");
    konflikte.antworten = {DateiExistiert::Umbenennen};
    ASSERT_TRUE(Einzeln(f, ein));
    EXPECT_EQ(Lesen(vorhanden), "wertvoll");
    EXPECT_TRUE(QFile::exists(baum.Pfad("l/B-0.x")));
    EXPECT_FALSE(QFile::exists(baum.Pfad("l/B.mp3")));

    // Same extension: the file itself is emptied.
    const QString g = baum.Datei("l/G.x", "voll");
    EXPECT_TRUE(LeereDateiMitEndungErstellen(g, "x", true));
    EXPECT_EQ(QFileInfo(g).size(), 0);
    EXPECT_EQ(QDir(baum.Pfad("l")).entryList({"*-neu*"}, QDir::Files), QStringList());

    // A separator in the extension touches nothing.
    QString fehler = "?";
    EXPECT_FALSE(LeereDateiMitEndungErstellen(g, "../x", true, &fehler));
    EXPECT_TRUE(QFile::exists(g));
    EXPECT_EQ(fehler, "");
}

TEST_F(UmbenennenTest, LeereDateiScheitertOhneEtwasZuAendern)
{
    const qint32 e = Eintrag(baum.Datei("g/Song.mp3", "musik"));
    Schreibschutz schutz(baum.Pfad("g"));
    if (!schutz.aktiv)
        GTEST_SKIP() << "no way to protect a folder here";
    UmbenennenEingaben ein = Funktion(UmbenennenLeereDatei);
    ein.strLeereEndung = "leer";
    EXPECT_FALSE(Einzeln(e, ein));
    EXPECT_EQ(Lesen(baum.Pfad("g/Song.mp3")), "musik");
    EXPECT_FALSE(QFile::exists(baum.Pfad("g/Song.leer")));
    EXPECT_TRUE(meldungen.Enthält("Die Datei '" + baum.Pfad("g/Song.leer") + "' konnte nicht erstellt werden."));
    EXPECT_EQ(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl, 7);
}

TEST_F(UmbenennenTest, EinstellungenUndPlatzhalter)
{
    UmbenennenEingaben e;
    e.strFormat = "%Titel%";
    e.strStartZahl = "5";
    e.intSchreibweise = 4;
    e.intSchreibschutz = 1;
    e.strLeereEndung = "nicht gemerkt";
    einstellungen().UmbenennenEingabeErsetzenDateiEndung = "vorher";
    UmbenennenEinstellungenSpeichern(e);
    const UmbenennenEingaben g = UmbenennenEinstellungenLesen();
    EXPECT_EQ(g.strFormat, "%Titel%");
    EXPECT_EQ(g.strStartZahl, "5");
    EXPECT_EQ(g.intSchreibweise, 4);
    EXPECT_EQ(g.intSchreibschutz, 1);
    EXPECT_EQ(einstellungen().UmbenennenEingabeErsetzenDateiEndung, "vorher");

    StandardwerteSetzen();
    const QString p = UmbenennenPlatzhalter();
    EXPECT_TRUE(p.startsWith("%")) << p.toStdString();
    EXPECT_TRUE(p.contains("%Titel% "));
    EXPECT_TRUE(p.contains("%Interpret% "));
    EXPECT_FALSE(p.contains("Benutzerdefiniert"));
    EXPECT_FALSE(p.contains("%%"));
}

TEST_F(UmbenennenTest, LeereDateiGehtWiederWennDasAlteBleibt)
{
    // A file that cannot be deleted while its folder is writable: only the
    // immutable flag does that, and only root may set it.
    const QString p = baum.Datei("i/Song.mp3", "musik");
    const int fd = ::open(QFile::encodeName(p).constData(), O_RDONLY);
    int flags = 0;
    const bool gesetzt = ::geteuid() == 0 && fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && [&] { int f = flags | FS_IMMUTABLE_FL; return ::ioctl(fd, FS_IOC_SETFLAGS, &f) == 0; }();
    if (!gesetzt) {
        if (fd >= 0)
            ::close(fd);
        GTEST_SKIP() << "no immutable files here";
    }
    const qint32 e = Eintrag(p);
    UmbenennenEingaben ein = Funktion(UmbenennenLeereDatei);
    ein.strLeereEndung = "leer";
    EXPECT_FALSE(Einzeln(e, ein));
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    EXPECT_EQ(Lesen(p), "musik");
    EXPECT_FALSE(QFile::exists(baum.Pfad("i/Song.leer"))) << "the new file went again";
    EXPECT_TRUE(meldungen.Enthält("Die Datei '" + p + "' konnte nicht gelöscht werden."));
}

TEST_F(UmbenennenTest, LeereDateienNurFuerVorhandeneDateien)
{
    const qint32 a = Eintrag(baum.Pfad("f/fehlt.mp3"));
    const qint32 b = Eintrag(baum.Datei("f/da.mp3", "musik"));
    const qint32 c = Eintrag("C:\\Musik\\alt.mp3");
    UmbenennenEingaben ein = Funktion(UmbenennenLeereDatei);
    ein.strLeereEndung = "leer";
    // The working folder must never receive an empty file for a foreign path.
    const QString vorher = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(baum.Ordner("arbeit")));
    EXPECT_EQ(DateienUmbenennen(index, {a, b, c}, ein), 1);
    EXPECT_TRUE(meldungen.gezeigt.empty()) << "missing files are passed over";
    EXPECT_FALSE(Einzeln(a, ein)) << "also when asked for one";
    EXPECT_FALSE(LeereDateiMitEndungErstellen("C:\\Musik\\alt.mp3", "leer", false));
    EXPECT_TRUE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QDir::setCurrent(vorher);
    for (const qint32 e : {a, c})
        EXPECT_EQ(index.IndexDaten[size_t(e)].Datei_AngefordertAnzahl, 7) << "the missing file's record stays";
    EXPECT_EQ(QDir(baum.Pfad("f")).entryList(QDir::Files), QStringList({"da.leer"}));
}

TEST_F(UmbenennenTest, UnbrauchbareMusterBenennenNichtsUm)
{
    // Each leaves no usable name: the file stays, a message names it (unless
    // no field gave any text: then the file is left quietly), and the run
    // goes on with the next file.
    const struct {
        int funktion;
        QString titel;
        QString eingabe; // format, text to find, or typed name
        bool gemeldet = true;
    } fälle[] = {
        {UmbenennenFelder, "", "%Titel%", false},  {UmbenennenFelder, "..", "%Interpret%\\%Titel%"},
        {UmbenennenFelder, ".", "%Titel%", false}, {UmbenennenFelder, "???", "%Titel%", false},
        {UmbenennenErsetzen, "", "Lied"},          {UmbenennenManuell, "", ".."},
        {UmbenennenManuell, "", ".mp3"},
    };
    int n = 0;
    for (const auto& f : fälle) {
        const QString ordner = QString("m%1").arg(n++);
        const QString pfad = baum.Datei(ordner + "/Lied.mp3", "lied");
        const qint32 e = Eintrag(pfad, "A", f.titel);
        const qint32 danach = Eintrag(baum.Datei(ordner + "-weiter/Lied 2.mp3", "z"), "B", "Zwei");
        UmbenennenEingaben ein = Funktion(f.funktion);
        ein.strFormat = ein.strErsetzen = f.eingabe;
        namen.antworten = {baum.Pfad(ordner + "/" + f.eingabe), baum.Pfad(ordner + "-weiter/Zwei.mp3")};
        meldungen.gezeigt.clear();
        EXPECT_EQ(DateienUmbenennen(index, {e, danach}, ein), 1) << n;
        EXPECT_EQ(Pfad(e), pfad) << n;
        ASSERT_EQ(meldungen.gezeigt.empty(), !f.gemeldet) << n;
        if (f.gemeldet)
            EXPECT_TRUE(meldungen.gezeigt[0].text.startsWith("Die Datei '" + pfad + "' wurde nicht umbenannt: ")) << n;
        EXPECT_EQ(QDir(baum.Pfad(ordner)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList({"Lied.mp3"}))
            << n << ": no hidden file, no folder";
    }
}

TEST_F(UmbenennenTest, NamenBisZurGrenzeVon255Bytes)
{
    // 84 characters of three bytes and ".mp": 255 bytes.
    const qint32 e = Eintrag(baum.Datei("j/" + QString(84, QChar(0x65E5)) + ".mp", "j"));
    UmbenennenEingaben ein = Funktion(UmbenennenErsetzen);
    ein.strErsetzen = QString(QChar(0x65E5));
    ein.strErsetzenDurch = QString(QChar(0x672C));
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(Pfad(e), baum.Pfad("j/" + QString(84, QChar(0x672C)) + ".mp"));
    // The same extension empties the file itself, through a temporary name.
    ein = Funktion(UmbenennenLeereDatei);
    ein.strLeereEndung = "mp";
    ASSERT_TRUE(Einzeln(e, ein));
    EXPECT_EQ(QDir(baum.Pfad("j")).entryList(QDir::Files), QStringList({QString(84, QChar(0x672C)) + ".mp"}));
    EXPECT_EQ(QFileInfo(Pfad(e)).size(), 0);
}

TEST_F(UmbenennenTest, WerkzeugBenenntWieDasFensterUmUndSpeichert)
{
    const QString a = baum.Datei("m/1.mp3", "eins"), b = baum.Datei("m/2.mp3", "zwei"), leer = baum.Datei("m/3.mp3");
    const QString fehlt = baum.Pfad("m/fehlt.mp3"), fremd = "C:\\Musik\\alt.mp3", kvx = baum.Pfad("liste.kvx");
    for (const QString& p : {a, b, fehlt, fremd})
        Eintrag(p);
    Eintrag(leer, "Abba", "");
    index.bolIndexGeladen = true;
    ASSERT_TRUE(DateiSpeichern(index, kvx, false));

    // The second file meets the first one's new name: the answer renames it.
    // The missing file, the foreign path and the empty title are not renamed.
    QList<QJsonObject> zeilen;
    QString fehler;
    EXPECT_EQ(
        WerkzeugStarten("rename", {kvx, "0", "--format", "%Titel%", "--konflikt", "umbenennen"}, &zeilen, &fehler), 0);
    const QString w = baum.Pfad("m/Waterloo.mp3"), w0 = baum.Pfad("m/Waterloo-0.mp3");
    const auto zeile = [](const QString& alt, const QString& neu, bool erledigt) {
        return QJsonObject{{"alt", alt}, {"neu", neu}, {"erledigt", erledigt}};
    };
    EXPECT_EQ(zeilen, (QList<QJsonObject>{zeile(a, w, true), zeile(b, w0, true), zeile(fehlt, fehlt, false),
                                          zeile(fremd, fremd, false), zeile(leer, leer, false)}));
    EXPECT_TRUE(fehler.contains("Möchten Sie mit der nächsten Datei fortfahren? -> Ja"));
    ASSERT_TRUE(DateiLaden(index, kvx));
    EXPECT_EQ(IndexPfade(index), QStringList({w, w0, fehlt, fremd, leer}));

    // Refused inputs, and a wrong call, each have their status.
    EXPECT_EQ(WerkzeugStarten("rename", {kvx, "6", "--endung", "ogg/evil"}, nullptr, &fehler), 2);
    EXPECT_TRUE(fehler.contains("Bitte geben Sie eine neue Datei-Endung ein."));
    EXPECT_EQ(WerkzeugStarten("rename", {kvx, "x"}), 3);
    EXPECT_EQ(WerkzeugStarten("rename", {kvx, "0", "--format"}), 3);
}

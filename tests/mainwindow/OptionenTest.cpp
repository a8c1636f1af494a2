#include "core/Einstellungen.h"
#include "core/Standardwerte.h"
#include "core/Verfuegbarkeit.h"
#include "mainwindow/Optionen.h"
#include "support/Mp3Bauer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Mp3Bauer;

namespace {

const QString kProzentZahl = QStringLiteral(
    "Bitte geben Sie eine Zahl in das Feld 'Prozent des neuen TAGs in Bytes hinzufügen' ein.");
const QString kProzentBereich = QStringLiteral(
    "Bitte geben Sie eine Zahl zwischen 0 und 100 in das Feld 'Prozent des neuen TAGs in Bytes hinzufügen' ein.");
const QString kBytes = QStringLiteral("Bitte geben Sie eine Zahl in das Feld 'Bytes vom Datei-Anfang an nach TAG "
                                      "suchen' ein.\nGeben Sie '0' ein, um die gesamte Datei zu durchsuchen.");

QString prüfen(const QString& prozent, const QString& bytes, qint32* p = nullptr, qint32* b = nullptr)
{
    qint32 pw = -7, bw = -7;
    const QString m = TagZahlenPrüfen(prozent, bytes, pw, bw);
    if (p)
        *p = pw;
    if (b)
        *b = bw;
    return m;
}

} // namespace

TEST(Optionen, LeseFlagsAusGespeichertemText)
{
    EXPECT_EQ(LeseFlagsAnzeigen("101"), (LeseFlags{1, 0, 1}));
    EXPECT_EQ(LeseFlagsAnzeigen("011"), (LeseFlags{0, 1, 1}));
    EXPECT_EQ(LeseFlagsAnzeigen("1110"), (LeseFlags{1, 1, 1}));
    // Too short or no number: the defaults.
    for (const char* t : {"1", "10", "ab", "", "1a1", "x101"})
        EXPECT_EQ(LeseFlagsAnzeigen(QString::fromLatin1(t)), (LeseFlags{1, 0, 1})) << t;
    EXPECT_EQ(LeseFlagsText({1, 1, 0}), QStringLiteral("110"));

    // Newly on: greater than the old character; a missing or odd one counts 0.
    EXPECT_TRUE(LeseFlagsNeuAn("101", {1, 1, 1}));
    EXPECT_FALSE(LeseFlagsNeuAn("111", {1, 0, 1}));
    EXPECT_FALSE(LeseFlagsNeuAn("101", {1, 0, 1}));
    EXPECT_TRUE(LeseFlagsNeuAn("10", {1, 0, 1}));
    EXPECT_FALSE(LeseFlagsNeuAn("10", {1, 0, 0}));
    EXPECT_TRUE(LeseFlagsNeuAn("ab", {1, 0, 0}));
    EXPECT_FALSE(LeseFlagsNeuAn("ab", {0, 0, 0}));
}

TEST(Optionen, ZahlenfelderDerTagSeite)
{
    qint32 p = 0, b = 0;
    EXPECT_EQ(prüfen("100", "0", &p, &b), QString());
    EXPECT_EQ(p, 100);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(prüfen(" 25 ", "2147483647", &p, &b), QString());
    EXPECT_EQ(p, 25);
    EXPECT_EQ(b, 2147483647);
    EXPECT_EQ(prüfen("12.6", "10"), QString());
    EXPECT_EQ(prüfen("12.6", "10", &p), QString());
    EXPECT_EQ(p, 13);

    EXPECT_EQ(prüfen("101", "0"), kProzentBereich);
    EXPECT_EQ(prüfen("-1", "0"), kProzentBereich);
    EXPECT_EQ(prüfen("100.4", "0"), kProzentBereich);
    for (const char* t : {"abc", "", " ", "inf", "nan", "1,5"})
        EXPECT_EQ(prüfen(QString::fromLatin1(t), "0"), kProzentZahl) << t;
    // The percent check comes first.
    EXPECT_EQ(prüfen("x", "y"), kProzentZahl);

    // The bytes: any number, rounded (0 and less search the whole file);
    // what is refused gets its reason.
    const QString grenze = "Die Zahl im Feld 'Bytes vom Datei-Anfang an nach TAG suchen' ist zu %1.\nGeben Sie '0' "
                           "ein, um die gesamte Datei zu durchsuchen.";
    const QString zuGroß = grenze.arg("groß (höchstens 2147483647)"), zuKlein = grenze.arg("klein (mindestens -2147483648)");
    const std::tuple<const char*, qint32, QString> bytes[] = {
        {"-1", -1, ""}, {"1.5", 2, ""}, {"1e3", 1000, ""}, {" +5 ", 5, ""}, {"-0.4", 0, ""}, {"2147483647.4", INT32_MAX, ""},
        {"-2147483648", INT32_MIN, ""}, {"abc", 0, kBytes}, {"", 0, kBytes}, {"1,5", 0, kBytes}, {"0x10", 0, kBytes},
        {"inf", 0, kBytes}, {"2147483647.5", 0, zuGroß}, {"99999999999999999999", 0, zuGroß}, {"-2147483649", 0, zuKlein}};
    for (const auto& [text, zahl, meldung] : bytes) {
        EXPECT_EQ(prüfen("0", text, nullptr, &b), meldung) << text;
        if (meldung.isEmpty())
            EXPECT_EQ(b, zahl) << text;
    }
}

TEST(Optionen, MinutenDesRegelmäßigenSpeicherns)
{
    EXPECT_EQ(SpeichernMinutenLesen(true, "5"), 5);
    EXPECT_EQ(SpeichernMinutenLesen(true, " 10 "), 10);
    EXPECT_EQ(SpeichernMinutenLesen(true, "1.6"), 2);
    EXPECT_EQ(SpeichernMinutenLesen(true, "2147483647"), 2147483647);
    for (const char* t : {"0", "0.6", "abc", "", "-3", "2147483648", "1e12"})
        EXPECT_EQ(SpeichernMinutenLesen(true, QString::fromLatin1(t)), 0) << t;
    EXPECT_EQ(SpeichernMinutenLesen(false, "5"), 0);
}

TEST(Optionen, FarbprofileUndEinstellungen)
{
    StandardwerteSetzen();
    const FarbWerte nacht = FarbWerteAusProfil(4);
    EXPECT_EQ(nacht.Funktionen, RGBFarbe(255, 255, 255));
    EXPECT_EQ(nacht.FunktionenHintergrund, RGBFarbe(0, 0, 0));
    EXPECT_EQ(FarbWerteAusProfil(0), FarbWerteAusProfil(1));
    EXPECT_EQ(FarbWerteAusProfil(9), FarbWerteAusProfil(1));

    Einstellungen e = StandardEinstellungen();
    EXPECT_EQ(FarbWerteLesen(e), FarbWerteAusProfil(1));
    FarbWerte f{1, 2, 3, 4, 5, 6, 7, 0};
    FarbWerteSetzen(e, f);
    EXPECT_EQ(e.FarbeFunktionen, 1);
    EXPECT_EQ(e.FarbeFunktionenHintergrund, 2);
    EXPECT_EQ(e.FarbeListen, 3);
    EXPECT_EQ(e.FarbeListenHintergrund, 4);
    EXPECT_EQ(e.FarbeÜberschrift, 5);
    EXPECT_EQ(e.FarbeBeschreibungen, 6);
    EXPECT_EQ(e.FarbeFunktionenBesucht, 7);
    EXPECT_EQ(e.FunktionenUnterstreichen, 0);
    EXPECT_EQ(FarbWerteLesen(e), f);
}

TEST(Optionen, StatistikLöschenMarkiertDenIndex)
{
    Index idx;
    EXPECT_FALSE(StatistikLöschen(idx));
    EXPECT_FALSE(idx.bolIndexGeändert);
    MedienInfo m;
    m.Datei_AngefordertAnzahl = 7;
    m.Datei_AngefordertGespieltAm = QStringLiteral("01.02.2003 04:05:06");
    idx.EintragAnhängen(QStringLiteral("/m/a.mp3"), m);
    idx.EintragAnhängen(QStringLiteral("/m/b.mp3"), m);
    EXPECT_TRUE(StatistikLöschen(idx));
    EXPECT_TRUE(idx.bolIndexGeändert);
    for (qint32 i = 1; i <= 2; ++i) {
        EXPECT_EQ(idx.IndexDaten[size_t(i)].Datei_AngefordertAnzahl, 0);
        EXPECT_TRUE(idx.IndexDaten[size_t(i)].Datei_AngefordertGespieltAm.isEmpty());
    }
}

TEST(Optionen, TexteFürOptionszeilen)
{
    EXPECT_TRUE(OptionsTextErlaubt("mp3", true));
    EXPECT_TRUE(OptionsTextErlaubt("/home/a b/Musik", false));
    EXPECT_TRUE(OptionsTextErlaubt("/a=b", false));
    for (const char* t : {"mp,3", "m=p3", "mp3\n", "m\rp"})
        EXPECT_FALSE(OptionsTextErlaubt(QString::fromLatin1(t), true)) << t;
    for (const char* t : {"/a,b", "/a\nb", "/a\rb"})
        EXPECT_FALSE(OptionsTextErlaubt(QString::fromLatin1(t), false)) << t;
}

TEST(Optionen, NeuEinlesenFragtTrotzFrühererAntwortAlleÜberspringen)
{
    StandardwerteSetzen();
    einstellungen() = StandardEinstellungen();
    einstellungen().StartBildschirm = 0;
    einstellungen().NichtVerfügbarFragen = 1;
    einstellungen().Mp3TagLesen = QStringLiteral("111");
    QTemporaryDir dir;
    Index idx;
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    idx.intDateiTypenLeer = 0;
    const QString da = DateiSchreiben(dir, "da.mp3", Frames(Frame(), 20) + Id3v1Block({.titel = "Neu gelesen"}));
    idx.EintragAnhängen(da, LeereMedienInfo());
    idx.EintragAnhängen(QStringLiteral("/media/kalvero-fehlt-%1/x.mp3").arg(qint64(getpid())), LeereMedienInfo());
    MedienInfo fest;
    fest.Mp3_ID3v1_Titel = QStringLiteral("bleibt");
    idx.EintragAnhängen(dir.filePath("fehlt.mp3"), fest);

    int fragen = 0;
    DienstErsetzen<NichtVerfügbarDienst> medien([&](const QString&, const QString&, QObject*) {
        ++fragen;
        return NichtVerfügbarAntwort::Überspringen;
    });
    bolNichtVerfügbarAlleÜberspringen = true; // left over from an earlier run
    DateienNeuEinlesen(idx, nullptr);
    EXPECT_EQ(fragen, 1);
    EXPECT_EQ(idx.IndexDaten[1].Mp3_ID3v1_Titel, QStringLiteral("Neu gelesen"));
    EXPECT_GT(idx.IndexDaten[1].Datei_Größe, 0);
    // A missing file on a fixed disk is passed over, its record kept.
    EXPECT_EQ(idx.IndexDaten[3].Mp3_ID3v1_Titel, QStringLiteral("bleibt"));
    EXPECT_TRUE(idx.bolIndexGeändert);
    bolNichtVerfügbarAlleÜberspringen = false;
}

// --- index options ------------------------------------------------------------------

namespace {

Index indexMitOptionen()
{
    StandardwerteSetzen();
    Index idx;
    idx.strDateiTypen = standardwerte().strStandardDateiTypen;
    idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    idx.strDateiTypen << QStringLiteral("ogg=1") << QStringLiteral("*=0");
    idx.strDateiTypArten << QStringLiteral("010") << QStringLiteral("000");
    idx.intDateiTypenLeer = 0;
    idx.strSyncOrdner = {QStringLiteral("/musik"), QStringLiteral("/hörbuch")};
    idx.intSyncUnterordner = {1, 0};
    idx.strSyncKopierenInOrdner = {QString(), QStringLiteral("/ziel")};
    idx.intSyncLeer = 0;
    idx.intSyncDanachEntfernen = 0;
    idx.strSpalten = QStringLiteral("4=2000=1,5=0=0,1=300=2");
    idx.intSpaltenLeiste = 1;
    idx.intSpaltenGitter = 0;
    idx.strSpaltenNutzerformat = QStringLiteral("%Interpret%");
    return idx;
}

} // namespace

TEST(IndexOptionen, LesenUndUnverändertZurückgebenBehältAlles)
{
    Index idx = indexMitOptionen();
    const qsizetype standard = standardwerte().strStandardDateiTypen.size();
    IndexOptionenArbeit a = IndexOptionenLesen(idx, 1);
    EXPECT_EQ(a.beiDoppelklick, 0);
    ASSERT_EQ(a.typen.size(), size_t(standard + 2));
    EXPECT_TRUE(a.typen[0].eingebaut);
    EXPECT_EQ(a.typen[0].text, QStringLiteral("mp3"));
    EXPECT_TRUE(a.typen[0].an);
    EXPECT_FALSE(a.typen[size_t(standard)].eingebaut);
    EXPECT_EQ(a.typen[size_t(standard)].arten, QStringLiteral("010"));
    const DateitypEintrag& alle = a.typen.back();
    EXPECT_EQ(alle.text, QStringLiteral("(Alle weiteren Formate)"));
    EXPECT_TRUE(alle.eingebaut && alle.alleWeiteren);
    EXPECT_FALSE(alle.an);
    ASSERT_EQ(a.sync.size(), 2u);
    EXPECT_EQ(a.sync[1].kopierenInOrdner, QStringLiteral("/ziel"));
    EXPECT_EQ(a.syncDanachEntfernen, 0);
    ASSERT_EQ(a.spalten.size(), 30u);
    EXPECT_TRUE(a.spalten[3].an);
    EXPECT_EQ(a.spalten[3].breite, 2000);
    EXPECT_FALSE(a.spalten[4].an);
    EXPECT_TRUE(a.spalten[0].an);
    EXPECT_FALSE(a.spalten[10].an);
    EXPECT_EQ(a.spalten[0].name, standardwerte().strSpaltenNamen[1]);

    int doppelklick = 9;
    const Index vorher = idx;
    idx.bolIndexGeändert = false;
    EXPECT_FALSE(IndexOptionenÜbernehmen(a, idx, doppelklick));
    EXPECT_EQ(doppelklick, 0);
    EXPECT_TRUE(idx.bolIndexGeändert);
    EXPECT_EQ(idx.strDateiTypen, vorher.strDateiTypen);
    EXPECT_EQ(idx.strDateiTypArten, vorher.strDateiTypArten);
    EXPECT_EQ(idx.strSyncOrdner, vorher.strSyncOrdner);
    EXPECT_EQ(idx.intSyncUnterordner, vorher.intSyncUnterordner);
    EXPECT_EQ(idx.strSyncKopierenInOrdner, vorher.strSyncKopierenInOrdner);
    EXPECT_EQ(idx.intSyncLeer, 0);
    EXPECT_TRUE(idx.strSpalten.startsWith(QStringLiteral("1=300,2=0,3=0,4=2000,5=0,")));
    EXPECT_EQ(idx.strSpalten.count(QLatin1Char(',')), 29);
}

TEST(IndexOptionen, DoppelklickWerte)
{
    const Index idx;
    EXPECT_EQ(IndexOptionenLesen(idx, 0).beiDoppelklick, 0);
    EXPECT_EQ(IndexOptionenLesen(idx, 2).beiDoppelklick, 2);
    EXPECT_EQ(IndexOptionenLesen(idx, 3).beiDoppelklick, 3);
    EXPECT_EQ(IndexOptionenLesen(idx, 4).beiDoppelklick, 4);
    EXPECT_EQ(IndexOptionenLesen(idx, 7).beiDoppelklick, 4);
}

TEST(IndexOptionen, ÄnderungenUndLeereListen)
{
    Index idx = indexMitOptionen();
    IndexOptionenArbeit a = IndexOptionenLesen(idx, 3);
    a.typen.clear();
    a.sync.clear();
    a.typen.push_back({QStringLiteral("(Neuer Dateityp)"), false, false, false, QString()});
    for (OptionenSpalte& s : a.spalten)
        s.an = false;
    a.spalten[6].an = true;  // stored width 0, default width 0: 1400
    a.spalten[3].an = true;  // default width
    a.spalten[3].breite = 0;
    a.nutzerformat = QStringLiteral("%Titel%");
    int doppelklick = 0;
    EXPECT_TRUE(IndexOptionenÜbernehmen(a, idx, doppelklick));
    EXPECT_EQ(doppelklick, 3);
    EXPECT_EQ(idx.strDateiTypen, QStringList{QStringLiteral("(Neuer Dateityp)=0")});
    EXPECT_EQ(idx.strDateiTypArten, QStringList{QStringLiteral("000")});
    EXPECT_EQ(idx.intDateiTypenLeer, 0);
    EXPECT_EQ(idx.intSyncLeer, 1);
    EXPECT_TRUE(idx.strSyncOrdner.isEmpty());
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",7=1400,")));
    EXPECT_TRUE(idx.strSpalten.contains(QStringLiteral(",4=") + QString::number(standardwerte().lngSpaltenBreiten[4])
                                        + QLatin1Char(',')));
    EXPECT_EQ(idx.strSpaltenNutzerformat, QStringLiteral("%Titel%"));

    a.typen.clear();
    EXPECT_FALSE(IndexOptionenÜbernehmen(a, idx, doppelklick));
    EXPECT_EQ(idx.intDateiTypenLeer, 1);
    EXPECT_TRUE(idx.strDateiTypen.isEmpty());
}

TEST(IndexOptionen, PrüfungenInIhrerReihenfolge)
{
    Index idx = indexMitOptionen();
    IndexOptionenArbeit a = IndexOptionenLesen(idx, 0);
    EXPECT_EQ(IndexOptionenPrüfen(a), QString());

    IndexOptionenArbeit b = a;
    for (OptionenSpalte& s : b.spalten)
        s.an = false;
    b.nutzerformat.clear();
    EXPECT_EQ(IndexOptionenPrüfen(b), QStringLiteral("Bitte wählen Sie mindestens eine Spalte zur Anzeige aus."));
    b.spalten[0].an = true;
    EXPECT_EQ(IndexOptionenPrüfen(b),
              QStringLiteral("Bitte geben Sie einen Text in das Feld 'Format der benutzerdefinierten Spalte' ein."));
    b.nutzerformat = QStringLiteral("x");
    b.typen[2].text.clear();
    EXPECT_EQ(IndexOptionenPrüfen(b), QStringLiteral("Bitte geben Sie in jedes Feld in der Liste 'Dateitypen "
                                                     "verwalten' eine Datei-Endung ein."));
    b.typen[2].text = QStringLiteral("m,p");
    EXPECT_EQ(IndexOptionenPrüfen(b), OptionsTextFehler(true));
    b.typen[2].text = QStringLiteral("mp=");
    EXPECT_EQ(IndexOptionenPrüfen(b), OptionsTextFehler(true));
    b.typen[2].text = QStringLiteral("mp1");
    b.sync[1].kopierenInOrdner = QStringLiteral("/a,b");
    EXPECT_EQ(IndexOptionenPrüfen(b), OptionsTextFehler(false));
    b.sync[1].kopierenInOrdner = QStringLiteral("/ab");
    b.sync[0].ordner = QStringLiteral("/a\nb");
    EXPECT_EQ(IndexOptionenPrüfen(b), OptionsTextFehler(false));
}

#include "BibliothekTesthilfe.h"

#include "core/Funktionen.h"
#include "core/Verfuegbarkeit.h"
#include "library/DoppelteDateien.h"

#include <random>

using namespace testhilfe;

namespace {

// Records the bar of every drawn progress state and cancels at report k.
struct Aufzeichnung : Fortschrittsattrappe {
    std::vector<int> breiten;
    explicit Aufzeichnung(int abbrechenBei)
    {
        abbrechenWenn = [this, abbrechenBei](const FortschrittZustand& z) {
            breiten.push_back(z.balkenBreite);
            return int(breiten.size()) == abbrechenBei;
        };
    }
};

// The search as first written: every selected entry against every later one.
bool Vortest(const Index& idx, int m, qint32 e)
{
    const MedienInfo& i = idx.IndexDaten[size_t(e)];
    switch (m) {
    case 2:
        return i.Mp3_ID3v1_Vorhanden == 1;
    case 3:
        return i.Mp3_ID3v2_Vorhanden == 1;
    case 4:
        return i.Datei_Größe >= 0;
    default:
        return true;
    }
}

bool PaarGleich(const Index& idx, int m, qint32 a, qint32 b)
{
    const MedienInfo& x = idx.IndexDaten[size_t(a)];
    const MedienInfo& y = idx.IndexDaten[size_t(b)];
    const QString& p = idx.strIndexPfad[size_t(a)];
    const QString& q = idx.strIndexPfad[size_t(b)];
    switch (m) {
    case 0:
        return TextGleich(DateinameZurückgeben(p), DateinameZurückgeben(q));
    case 1:
        return p == q;
    case 2:
        return TextGleich(x.Mp3_ID3v1_Interpret, y.Mp3_ID3v1_Interpret) && TextGleich(x.Mp3_ID3v1_Titel, y.Mp3_ID3v1_Titel);
    case 3:
        return TextGleich(x.Mp3_ID3v2_Interpret, y.Mp3_ID3v2_Interpret) && TextGleich(x.Mp3_ID3v2_Titel, y.Mp3_ID3v2_Titel);
    default:
        return x.Datei_Größe == y.Datei_Größe;
    }
}

std::vector<std::pair<qint32, qint32>> ReferenzSuchen(const Index& idx, const std::vector<qint32>& e, int m, qint32 ziel)
{
    std::vector<std::pair<qint32, qint32>> funde;
    FortschrittZeigenStarten(ziel, true, nullptr, true, true, QStringLiteral("Durchsuche Index"));
    for (size_t i = 0; i < e.size(); ++i) {
        if (!Vortest(idx, m, e[i]))
            continue;
        for (size_t j = i + 1; j < e.size(); ++j) {
            if (Vortest(idx, m, e[j]) && PaarGleich(idx, m, e[i], e[j])) {
                funde.emplace_back(e[i], e[j]);
                break;
            }
        }
        if (!FortschrittZeigen(double(i + 1), QString(), nullptr))
            break;
    }
    FortschrittZeigenBeenden(nullptr);
    return funde;
}

std::vector<std::pair<qint32, qint32>> Funde(const DoppelteErgebnis& z)
{
    std::vector<std::pair<qint32, qint32>> f;
    for (qint32 r = 1; r <= z.Anzahl(); ++r)
        f.emplace_back(z.DoppelteEintrag1[size_t(r)], z.DoppelteEintrag2[size_t(r)]);
    return f;
}

// An index of entries drawn from small pools, so that many agree: letter
// case, ß against ẞ and "SS", empty texts, texts whose joins agree, sizes
// -1 and 0, tags present or not.
Index ZufallsIndex(std::mt19937& zufall, int anzahl)
{
    static const QStringList namen = {"a.mp3", "A.MP3", "ß.mp3", "ẞ.mp3", "SS.mp3", "ss.mp3", "", "b", "B", "Ab.mp3"};
    static const QStringList ordner = {"/m", "/M", "/m/x", "/media/k"};
    static const QStringList texte = {"", "a", "A", "ab", "b", "ß", "ẞ", "SS", "ss", "Σ", "σ", "ς", "İ", "i"};
    const auto wahl = [&](const QStringList& l) { return l[int(zufall() % unsigned(l.size()))]; };
    const qint64 größen[] = {-1, 0, 1, 2, 4096};
    const quint8 vorhanden[] = {0, 1, 1, 2, 3};
    Index idx;
    for (int i = 0; i < anzahl; ++i) {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Interpret = wahl(texte);
        m.Mp3_ID3v1_Titel = wahl(texte);
        m.Mp3_ID3v2_Interpret = wahl(texte);
        m.Mp3_ID3v2_Titel = wahl(texte);
        m.Mp3_ID3v1_Vorhanden = vorhanden[zufall() % 5];
        m.Mp3_ID3v2_Vorhanden = vorhanden[zufall() % 5];
        m.Datei_Größe = größen[zufall() % 5];
        idx.EintragAnhängen(wahl(ordner) + "/" + wahl(namen), m, 1);
    }
    return idx;
}

class DoppelteDateienTest : public ::testing::Test {
protected:
    Baum baum;
    Index index;
    Meldungsskript meldungen;
    Medienskript medien;
    DoppelteErgebnis z;

    void SetUp() override
    {
        EinstellungenFürHinzufügen();
        TypenSetzen(index);
    }

    qint32 Eintrag(const QString& pfad, const MedienInfo& m = LeereMedienInfo())
    {
        return index.EintragAnhängen(pfad, m, 1);
    }
    std::vector<qint32> Alle() const
    {
        std::vector<qint32> e;
        for (qint32 i = 1; i <= index.lngIndexAnzahl; ++i)
            e.push_back(i);
        return e;
    }
};

} // namespace

TEST_F(DoppelteDateienTest, SchlüsselGleichGenauWennTextGleich)
{
    // Every character against its upper, lower and folded forms.
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const QString s = QString::fromUcs4(&c, 1);
        for (const QString& t : {s.toUpper(), s.toLower(), s.toCaseFolded()})
            ASSERT_EQ(TextGleich(s, t), TextSchlüssel(s) == TextSchlüssel(t)) << "U+" << std::hex << unsigned(c);
    }
    EXPECT_EQ(TextSchlüssel("ß"), TextSchlüssel("ẞ"));
    EXPECT_NE(TextSchlüssel("ß"), TextSchlüssel("SS"));
}

TEST_F(DoppelteDateienTest, WieDerVollständigeVergleichAufZufallsdaten)
{
    std::mt19937 zufall(17);
    for (int runde = 0; runde < 60; ++runde) {
        index = ZufallsIndex(zufall, 20 + int(zufall() % 120));
        // A selection in any order, not every entry.
        std::vector<qint32> auswahl = Alle();
        std::shuffle(auswahl.begin(), auswahl.end(), zufall);
        auswahl.resize(auswahl.size() - zufall() % 10);
        const qint32 ziel = 100; // each step widens the bar by 45 twips: every position shows
        for (int m = 0; m <= 4; ++m) {
            const int abbrechen = runde % 3 == 0 ? int(zufall() % (auswahl.size() + 2)) : -1;
            std::vector<std::pair<qint32, qint32>> erwartet;
            std::vector<int> erwarteteSchritte;
            {
                Aufzeichnung a(abbrechen);
                erwartet = ReferenzSuchen(index, auswahl, m, ziel);
                erwarteteSchritte = a.breiten;
            }
            Aufzeichnung a(abbrechen);
            const bool fertig = DoppelteDateienSuchen(index, auswahl, m, ziel, nullptr, z);
            ASSERT_EQ(Funde(z), erwartet) << "round " << runde << " method " << m << " cancel at " << abbrechen;
            ASSERT_EQ(a.breiten, erwarteteSchritte) << "round " << runde << " method " << m;
            ASSERT_EQ(fertig, abbrechen < 1 || abbrechen > int(erwarteteSchritte.size()));
            ASSERT_EQ(z.zeilen.size(), qsizetype(erwartet.size()));
        }
    }
}

TEST_F(DoppelteDateienTest, KettenUndPaareOhneVerbindung)
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Vorhanden = 1;
    m.Mp3_ID3v1_Interpret = "ab";
    m.Mp3_ID3v1_Titel = "c";
    const qint32 a = Eintrag("/x/1.mp3", m);
    m.Mp3_ID3v1_Interpret = "a";
    m.Mp3_ID3v1_Titel = "bc";
    Eintrag("/x/2.mp3", m); // the same joined, another pair
    m.Mp3_ID3v1_Interpret = "AB";
    m.Mp3_ID3v1_Titel = "C";
    const qint32 c = Eintrag("/x/3.mp3", m);
    m.Mp3_ID3v1_Interpret = "Ab";
    const qint32 d = Eintrag("/x/4.mp3", m);
    DoppelteDateienSuchen(index, Alle(), SucheID3v1Felder, 10, nullptr, z);
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{a, c}, {c, d}})) << "a chain of three: (A, B), (B, C)";
    EXPECT_EQ(z.zeilen, QStringList({"'1.mp3' und '3.mp3' haben gleiche ID3v1-TAG-Felder",
                                     "'3.mp3' und '4.mp3' haben gleiche ID3v1-TAG-Felder"}));
    EXPECT_EQ(GleicheDatenText(index, SucheID3v1Felder, a), "c/ab");
}

TEST_F(DoppelteDateienTest, PaarMethodenTexteUndGleicheDaten)
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Vorhanden = 1;
    m.Mp3_ID3v2_Vorhanden = 1;
    m.Datei_Größe = 0;
    const qint32 a = Eintrag("/x/Lied.mp3", m); // v1 and v2 titles and artists empty
    m.Datei_Größe = -1;
    const qint32 b = Eintrag("/y/lied.MP3", m);
    m.Mp3_ID3v1_Vorhanden = 2;
    m.Mp3_ID3v2_Vorhanden = 2;
    m.Datei_Größe = 1234567;
    const qint32 c = Eintrag("/y/Lied.mp3", m);
    const qint32 d = Eintrag("/y/Lied.mp3", m);
    m.Datei_Größe = -1;
    Eintrag("/z/anders.mp3", m);
    m.Datei_Größe = 0;
    const qint32 f = Eintrag("/z/leer.mp3", m);
    const auto suchen = [&](int methode) {
        DoppelteDateienSuchen(index, Alle(), methode, 10, nullptr, z);
        return z.zeilen;
    };

    EXPECT_EQ(suchen(SucheDateiname), QStringList({"'Lied.mp3' und 'lied.MP3' haben die gleichen Dateinamen",
                                                  "'lied.MP3' und 'Lied.mp3' haben die gleichen Dateinamen",
                                                  "'Lied.mp3' und 'Lied.mp3' haben die gleichen Dateinamen"}));
    EXPECT_EQ(z.lngSuchmethode, SucheDateiname);
    EXPECT_EQ(GleicheDatenText(index, SucheDateiname, a), "Lied.mp3");
    EXPECT_EQ(suchen(SuchePfad), QStringList({"'/y/Lied.mp3' und '/y/Lied.mp3' haben die gleichen Pfad- und Dateinamen"}))
        << "whole paths compare exactly";
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{c, d}}));
    EXPECT_EQ(GleicheDatenText(index, SuchePfad, c), "/y/Lied.mp3");
    EXPECT_EQ(suchen(SucheID3v1Felder), QStringList({"'Lied.mp3' und 'lied.MP3' haben gleiche ID3v1-TAG-Felder"}))
        << "empty title and artist agree; entries without a tag take no part";
    EXPECT_EQ(GleicheDatenText(index, SucheID3v1Felder, a), "/");
    EXPECT_EQ(suchen(SucheID3v2Felder), QStringList({"'Lied.mp3' und 'lied.MP3' haben gleiche ID3v2-TAG-Felder"}));
    EXPECT_EQ(suchen(SucheGröße), QStringList({"'Lied.mp3' und 'leer.mp3' haben gleiche Dateigröße",
                                               "'Lied.mp3' und 'Lied.mp3' haben gleiche Dateigröße"}))
        << "two empty files pair, unknown sizes never";
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{a, f}, {c, d}}));
    EXPECT_EQ(GleicheDatenText(index, SucheGröße, c), QLocale().toString(1234567));
    EXPECT_EQ(GleicheDatenText(index, SucheGröße, a), "");
    (void)b;

    // Any other number finds nothing, but forgets the findings and actions.
    z.DoppelteAktion[1] = 3;
    EXPECT_TRUE(suchen(-1).isEmpty());
    EXPECT_EQ(z.Anzahl(), 0);
    EXPECT_EQ(z.DoppelteAktion, std::vector<qint32>(size_t(index.lngIndexAnzahl) + 1, 0));
    EXPECT_TRUE(suchen(10).isEmpty());
}

TEST_F(DoppelteDateienTest, FehlendeDateienUndAbwesendeMedien)
{
    Fortschrittsattrappe fortschritt;
    const qint32 a = Eintrag(baum.Datei("da.mp3"));
    const qint32 b = Eintrag(baum.Pfad("fehlt.mp3"));
    Eintrag(kFehlendesMedium + "/weg.mp3");
    const qint32 d = Eintrag(baum.Pfad("auch weg.mp3"));
    // Skipping the absent medium reports nothing for it.
    EXPECT_TRUE(DoppelteDateienSuchen(index, Alle(), SucheNichtVorhanden, 4, nullptr, z));
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{b, -1}, {d, -1}}));
    EXPECT_EQ(z.zeilen, QStringList({"'fehlt.mp3' existiert nicht", "'auch weg.mp3' existiert nicht"}));
    EXPECT_EQ(medien.fragen, 1);
    EXPECT_EQ(fortschritt.berichte, 4);

    // An abort at the medium ends the search and keeps what was found.
    medien.antworten = {NichtVerfügbarAntwort::Abbrechen};
    EXPECT_FALSE(DoppelteDateienSuchen(index, Alle(), SucheNichtVorhanden, 4, nullptr, z));
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{b, -1}}));
    EXPECT_FALSE(FortschrittZustandLesen().sichtbar);

    // A cancel at the second step keeps the first two.
    fortschritt.berichte = 0;
    fortschritt.abbrechenWenn = [&fortschritt](const FortschrittZustand&) { return fortschritt.berichte == 2; };
    EXPECT_FALSE(DoppelteDateienSuchen(index, {d, b, a}, SucheNichtVorhanden, 3, nullptr, z));
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{d, -1}, {b, -1}}));
}

TEST_F(DoppelteDateienTest, OhneTagsGespeichertOderNeuGelesen)
{
    using namespace Mp3Bauer;
    Id3v2Tag tag;
    tag.frames.push_back(TextFrame("TIT2", QStringLiteral("Titel")));
    const QByteArray ton = KleineMp3();
    const QString beide = baum.Datei("beide.mp3", tag.Bytes() + ton + Id3v1Block({.titel = "T"}));
    const QString nurV1 = baum.Datei("nurv1.mp3", ton + Id3v1Block({.titel = "T"}));
    const QString keiner = baum.Datei("keiner.mp3", ton);

    // The stored records say the opposite of the files.
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Vorhanden = 2;
    m.Mp3_ID3v2_Vorhanden = 2;
    const qint32 a = Eintrag(beide, m);
    m.Mp3_ID3v1_Vorhanden = 1;
    m.Mp3_ID3v2_Vorhanden = 1;
    const qint32 b = Eintrag(nurV1, m);
    const qint32 c = Eintrag(keiner, m);
    const qint32 d = Eintrag(baum.Pfad("fehlt.mp3"), m);
    index.bolIndexGeändert = false;

    Fortschrittsattrappe fortschritt;
    DoppelteDateienSuchen(index, Alle(), SucheOhneID3v1, 4, nullptr, z);
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{a, -1}}));
    EXPECT_EQ(z.zeilen, QStringList({"'beide.mp3' enthält keinen ID3v1-TAG"}));
    DoppelteDateienSuchen(index, Alle(), SucheOhneID3v2, 4, nullptr, z);
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{a, -1}}));
    EXPECT_EQ(z.zeilen, QStringList({"'beide.mp3' enthält keinen ID3v2-TAG"}));
    EXPECT_EQ(fortschritt.berichte, 0) << "the stored records need no steps";

    DoppelteDateienSuchen(index, Alle(), SucheOhneID3v1NeuLesen, 4, nullptr, z);
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{c, -1}})) << "the missing file is passed over";
    EXPECT_EQ(index.IndexDaten[size_t(a)].Mp3_ID3v1_Vorhanden, 1) << "the record follows the file";
    EXPECT_EQ(index.IndexDaten[size_t(a)].Mp3_ID3v2_Vorhanden, 2) << "only ID3v1 was read";
    EXPECT_EQ(index.IndexDaten[size_t(d)].Mp3_ID3v1_Vorhanden, 1);
    EXPECT_EQ(fortschritt.berichte, 4);

    DoppelteDateienSuchen(index, Alle(), SucheOhneID3v2NeuLesen, 4, nullptr, z);
    EXPECT_EQ(Funde(z), (std::vector<std::pair<qint32, qint32>>{{b, -1}, {c, -1}}));
    EXPECT_EQ(z.zeilen[0], "'nurv1.mp3' enthält keinen ID3v2-TAG");
    EXPECT_EQ(index.IndexDaten[size_t(a)].Mp3_ID3v2_Vorhanden, 1);
    EXPECT_EQ(index.IndexDaten[size_t(a)].Mp3_ID3v2_Titel, "Titel");
    EXPECT_FALSE(index.bolIndexGeändert);
    EXPECT_EQ(medien.fragen, 0);
}

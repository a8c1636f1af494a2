// Availability of files: missing files on fixed drives, absent removable
// media, the question and its answers, drive kinds and labels.

#include "BibliothekTesthilfe.h"

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Verfuegbarkeit.h"
#include "library/Synchronisieren.h"
#include "library/frmDateiNichtVerfuegbar.h"
#include "platform/Laufwerke.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

// A path on a medium that is certainly not mounted.
QString AbwesenderPfad()
{
    return QStringLiteral("/media/kalvero-test-%1/Musik/a.mp3").arg(QUuid::createUuid().toString(QUuid::Id128));
}

class VerfuegbarkeitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bolNichtVerfügbarAlleÜberspringen = false;
        einstellungen().NichtVerfügbarFragen = 1;
        alteAbfrage = DienstSetzen<NichtVerfügbarDienst>([this](const QString& pfad, const QString& text, QObject*) {
            fragen.push_back({pfad, text});
            return antwort;
        });
    }
    void TearDown() override
    {
        DienstSetzen<NichtVerfügbarDienst>(alteAbfrage);
        bolNichtVerfügbarAlleÜberspringen = false;
    }
    qint32 Eintrag(const QString& pfad, const QString& datenträger = QString())
    {
        MedienInfo m;
        m.Datei_Datenträger = datenträger;
        return index.EintragAnhängen(pfad, m);
    }
    Index index;
    NichtVerfügbarAbfrage alteAbfrage;
    NichtVerfügbarAntwort antwort = NichtVerfügbarAntwort::Überspringen;
    std::vector<std::pair<QString, QString>> fragen;
};

} // namespace

TEST_F(VerfuegbarkeitTest, PresentAndMissingFilesOnFixedDrives)
{
    QTemporaryDir dir;
    const QString da = dir.filePath("da.mp3");
    QFile(da).open(QIODevice::WriteOnly);
    const qint32 vorhanden = Eintrag(da);
    const qint32 fehlt = Eintrag(dir.filePath("fehlt.mp3"));
    const qint32 windows = Eintrag(QStringLiteral("E:\\Musik\\a.mp3"));
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, vorhanden, nullptr, true), 0);
    for (bool überspringen : {false, true}) {
        EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, fehlt, nullptr, überspringen), überspringen ? 1 : 0);
        EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, windows, nullptr, überspringen), überspringen ? 1 : 0);
    }
    EXPECT_TRUE(fragen.empty());
    // An entry number outside the index aborts.
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, 0, nullptr, false), 2);
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, 99, nullptr, false), 2);
}

TEST_F(VerfuegbarkeitTest, AbsentMediumAsksAndMapsTheAnswers)
{
    const QString pfad = AbwesenderPfad();
    const qint32 e = Eintrag(pfad, QStringLiteral("URLAUB"));
    const QString wurzel = LaufwerkZurückgeben(pfad);
    EXPECT_TRUE(pfad.startsWith(wurzel + "/")) << wurzel.toStdString();
    EXPECT_EQ(IstWechsellaufwerk(wurzel), 1);

    // Never a missing file: even "skip missing files" asks.
    antwort = NichtVerfügbarAntwort::Verfügbar;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, true), 0);
    ASSERT_EQ(fragen.size(), 1u);
    EXPECT_EQ(fragen[0].first, pfad);
    EXPECT_EQ(fragen[0].second, NichtVerfügbarText(pfad, "URLAUB", wurzel));
    antwort = NichtVerfügbarAntwort::Überspringen;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, false), 1);
    antwort = NichtVerfügbarAntwort::Abbrechen;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, false), 2);

    // "Skip all" holds for the rest of the run, without asking again.
    antwort = NichtVerfügbarAntwort::AlleÜberspringen;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, false), 1);
    EXPECT_TRUE(bolNichtVerfügbarAlleÜberspringen);
    const size_t gefragt = fragen.size();
    antwort = NichtVerfügbarAntwort::Abbrechen;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, Eintrag(AbwesenderPfad()), nullptr, false), 1);
    EXPECT_EQ(fragen.size(), gefragt);

    // With the question switched off such files are skipped.
    bolNichtVerfügbarAlleÜberspringen = false;
    einstellungen().NichtVerfügbarFragen = 0;
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, false), 1);
    EXPECT_EQ(fragen.size(), gefragt);

    // Without a window nothing is touched: skip.
    einstellungen().NichtVerfügbarFragen = 1;
    DienstSetzen<NichtVerfügbarDienst>(nullptr);
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, e, nullptr, false), 1);
}

// An entry reached through a link onto a medium that is not mounted lies on
// that medium: the synchronisation asks for it and keeps it.
TEST_F(VerfuegbarkeitTest, ALinkOntoAnAbsentMediumIsNoMissingFile)
{
    QTemporaryDir dir;
    const QString medium = QFileInfo(QFileInfo(AbwesenderPfad()).path()).path();
    const std::tuple<const char*, QString, const char*> fälle[] = { // link, its target, the entry
        {"Musik", medium + "/Musik", "Musik/a.mp3"},     // onto a folder of the medium
        {"kette", "Musik", "kette/b.mp3"},                 // a relative link onto that link
        {"wurzel", medium, "wurzel/x/../Musik/c.mp3"},     // onto its root, then a name it lacks
        {"punkt", "./wurzel/.", "punkt/d.mp3"},
    };
    index.intSyncDanachEntfernen = 1;
    for (const auto& [link, ziel, eintrag] : fälle) {
        SCOPED_TRACE(eintrag);
        ASSERT_TRUE(QFile::link(ziel, dir.filePath(link)));
        const QString pfad = dir.filePath(eintrag);
        EXPECT_EQ(LaufwerkZurückgeben(pfad), medium);
        EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, Eintrag(pfad), nullptr, false), 1);
        ASSERT_FALSE(fragen.empty());
        EXPECT_EQ(fragen.back().second, NichtVerfügbarText(pfad, "", medium));
    }
    const qint32 fehlt = Eintrag(dir.filePath("fehlt.mp3"));
    testhilfe::Meldungsskript meldungen;
    testhilfe::Statuszeile status;
    testhilfe::Listenattrappe liste;
    fragen.clear();
    IndexSynchronisieren(index, nullptr);
    EXPECT_EQ(fragen.size(), 4u);
    ASSERT_EQ(index.lngIndexAnzahl, fehlt - 1) << "only the missing file went";
    for (size_t i = 0; i < std::size(fälle); ++i)
        EXPECT_EQ(index.strIndexPfad[i + 1], dir.filePath(std::get<2>(fälle[i])));
}

// An unplugged stick below the folder of another account than the one that
// runs the program (root here), beside a folder of another medium: its files
// are absent, and a synchronisation that removes missing files keeps them.
TEST_F(VerfuegbarkeitTest, AbsentMediumBelowAnotherAccountsFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make folders under /media";
    const passwd* pw = ::getpwnam("nobody");
    if (!pw)
        GTEST_SKIP() << "no account 'nobody' on this system";
    const QString konto = QString::fromLocal8Bit(pw->pw_name);
    const QString kennung = QUuid::createUuid().toString(QUuid::Id128).left(12);
    // Only what the test makes is removed again, deepest first.
    struct Aufräumen {
        QStringList ordner, dateien;
        ~Aufräumen()
        {
            for (const QString& d : dateien)
                QFile::remove(d);
            for (auto it = ordner.crbegin(); it != ordner.crend(); ++it)
                QDir().rmdir(*it);
        }
    } aufräumen;
    const auto ordnerAnlegen = [&](const QString& pfad) {
        if (QFileInfo::exists(pfad))
            return;
        ASSERT_TRUE(QDir().mkdir(pfad)) << pfad.toStdString();
        aufräumen.ordner << pfad;
    };
    ordnerAnlegen("/media");
    ordnerAnlegen("/media/" + konto);
    const QString anderes = "/media/" + konto + "/ANDERES-" + kennung;
    ordnerAnlegen(anderes);
    aufräumen.dateien << anderes + "/x.mp3";
    QFile(anderes + "/x.mp3").open(QIODevice::WriteOnly);
    const QString wurzel = "/media/" + konto + "/STICK-" + kennung;

    index.intSyncDanachEntfernen = 1;
    for (int i = 1; i <= 3; ++i)
        Eintrag(wurzel + QStringLiteral("/Musik/%1.mp3").arg(i), "STICK");
    EXPECT_EQ(LaufwerkZurückgeben(index.strIndexPfad[1]), wurzel);
    EXPECT_EQ(IstWechsellaufwerk(wurzel), 1);
    EXPECT_EQ(DateiNichtVerfügbarPrüfen(index, 1, nullptr, true), 1);
    ASSERT_EQ(fragen.size(), 1u);
    EXPECT_EQ(fragen[0].second, NichtVerfügbarText(index.strIndexPfad[1], "STICK", wurzel));

    testhilfe::Meldungsskript meldungen;
    testhilfe::Statuszeile status;
    testhilfe::Listenattrappe liste;
    fragen.clear();
    IndexSynchronisieren(index, nullptr);
    EXPECT_EQ(fragen.size(), 3u);
    EXPECT_EQ(index.lngIndexAnzahl, 3) << "no entry of the absent stick is removed";
}

TEST(Verfuegbarkeit, QuestionTexts)
{
    EXPECT_EQ(NichtVerfügbarText("/media/u/URLAUB/a.mp3", "URLAUB", "/media/u/URLAUB"),
              QStringLiteral("Die Datei '/media/u/URLAUB/a.mp3' ist zurzeit nicht verfügbar.\nBitte legen Sie den Datenträger "
                             "'URLAUB' in Laufwerk '/media/u/URLAUB' ein bzw. stellen Sie die Verfügbarkeit des Laufwerkes "
                             "sicher, um den Vorgang fortzusetzen oder ändern Sie den Indexeintrag bzw. löschen Sie diesen."));
    EXPECT_EQ(NichtVerfügbarText("/mnt/cd/a.mp3", "", "/mnt/cd"),
              QStringLiteral("Die Datei '/mnt/cd/a.mp3' ist zurzeit nicht verfügbar.\nBitte legen Sie den Quelldatenträger in "
                             "Laufwerk '/mnt/cd' ein bzw. stellen Sie die Verfügbarkeit des Laufwerkes sicher, um den Vorgang "
                             "fortzusetzen oder ändern Sie den Indexeintrag bzw. löschen Sie diesen."));
}

TEST(Laufwerke, RootsKindsAndLabels)
{
    using namespace Laufwerke;
    // Accounts of the system, whoever runs the program.
    const auto konto = [](const QString& name) { return name == "anna" || name == "bert"; };
    EXPECT_EQ(WechselWurzelNachRegel("/media/anna/STICK/Musik/a.mp3", konto), "/media/anna/STICK");
    EXPECT_EQ(WechselWurzelNachRegel("/media/bert/STICK/a.mp3", konto), "/media/bert/STICK");
    EXPECT_EQ(WechselWurzelNachRegel("/media/root/STICK/a.mp3"), "/media/root/STICK");
    EXPECT_EQ(WechselWurzelNachRegel("/media/KEIN-KONTO-7f3/a.mp3"), "/media/KEIN-KONTO-7f3");
    EXPECT_EQ(WechselWurzelNachRegel("/media/STICK/Musik/a.mp3", konto), "/media/STICK");
    EXPECT_EQ(WechselWurzelNachRegel("/media/anna", konto), "");
    EXPECT_EQ(WechselWurzelNachRegel("/run/media/anna/CD/a.mp3", konto), "/run/media/anna/CD");
    EXPECT_EQ(WechselWurzelNachRegel("/run/media/anna", konto), "");
    EXPECT_EQ(WechselWurzelNachRegel("/mnt/usb/a.mp3", konto), "/mnt/usb");
    EXPECT_EQ(WechselWurzelNachRegel("/home/anna/a.mp3", konto), "");
    EXPECT_EQ(WechselWurzelNachRegel("/mediathek/a.mp3", konto), "");
    EXPECT_EQ(WechselWurzelNachRegel("media/x/a.mp3", konto), "");

    EXPECT_EQ(MountpunktEntschlüsseln("/media/anna/MEIN\\040STICK"), "/media/anna/MEIN STICK");
    EXPECT_EQ(MountpunktEntschlüsseln("/a\\134b\\"), "/a\\b\\");
    for (const char* typ : {"iso9660", "udf", "nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"})
        EXPECT_TRUE(IstOptischOderEntfernt(QLatin1String(typ))) << typ;
    for (const char* typ : {"ext4", "tmpfs", "vfat", "overlay"})
        EXPECT_FALSE(IstOptischOderEntfernt(QLatin1String(typ))) << typ;

    // The kernel's flag, also for a partition through its disk.
    QTemporaryDir sys;
    QDir(sys.path()).mkpath("geraete/sdb/sdb1");
    QDir(sys.path()).mkpath("geraete/sda/sda1");
    QDir(sys.path()).mkpath("block");
    const auto schreiben = [&](const QString& name, const char* wert) {
        QFile f(sys.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(wert);
    };
    schreiben("geraete/sdb/removable", "1\n");
    schreiben("geraete/sda/removable", "0\n");
    for (const auto& [name, ziel] : {std::pair{"sdb", "sdb"}, {"sdb1", "sdb/sdb1"}, {"sda", "sda"}, {"sda1", "sda/sda1"}})
        ASSERT_TRUE(QFile::link(sys.filePath(QStringLiteral("geraete/") + ziel), sys.filePath(QStringLiteral("block/") + name)));
    EXPECT_TRUE(BlockGerätWechselbar("/dev/sdb", sys.filePath("block")));
    EXPECT_TRUE(BlockGerätWechselbar("/dev/sdb1", sys.filePath("block")));
    EXPECT_FALSE(BlockGerätWechselbar("/dev/sda1", sys.filePath("block")));
    EXPECT_FALSE(BlockGerätWechselbar("/dev/sdz9", sys.filePath("block")));

    // The system's own root holds no removable medium; a folder under /mnt
    // that holds files is an ordinary folder.
    EXPECT_EQ(IstWechsellaufwerk("/"), 0);
    EXPECT_EQ(DatenträgerNameZurückgeben("/"), "");
    EXPECT_EQ(IstWechsellaufwerk(""), 0);
    EXPECT_EQ(LaufwerkZurückgeben("E:\\Musik"), "");
    const Medium hier = MediumZurückgeben(QDir::currentPath());
    EXPECT_TRUE(hier.eingehängt);
    EXPECT_TRUE(QDir::currentPath().startsWith(hier.wurzel));
}

TEST(frmDateiNichtVerfuegbar, ClosesByItselfWhenTheFileAppears)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath("kommt.mp3");
    frmDateiNichtVerfügbar fenster;
    EXPECT_EQ(fenster.windowTitle(), "Datei nicht verfügbar");
    EXPECT_EQ(fenster.tmrDateiSuchen->interval(), 500);
    QTimer::singleShot(100, [&] { QFile(pfad).open(QIODevice::WriteOnly); });
    EXPECT_EQ(fenster.Fragen(pfad, "Text", nullptr), NichtVerfügbarAntwort::Verfügbar);
    EXPECT_EQ(fenster.lblText->text(), "Text");
    EXPECT_FALSE(fenster.isVisible());
}

TEST(frmDateiNichtVerfuegbar, ButtonsAnswer)
{
    frmDateiNichtVerfügbar fenster;
    const QString fehlt = QStringLiteral("/nirgends/kalvero/x.mp3");
    const std::pair<QPushButton*, NichtVerfügbarAntwort> fälle[] = {
        {fenster.cmdÜberspringen, NichtVerfügbarAntwort::Überspringen},
        {fenster.cmdÜberspringenAlle, NichtVerfügbarAntwort::AlleÜberspringen},
        {fenster.cmdAbbrechen, NichtVerfügbarAntwort::Abbrechen},
    };
    for (const auto& [knopf, erwartet] : fälle) {
        QTimer::singleShot(20, knopf, &QPushButton::click);
        EXPECT_EQ(fenster.Fragen(fehlt, "t", nullptr), erwartet);
    }
    // Closing the window aborts.
    QTimer::singleShot(20, &fenster, &QDialog::reject);
    EXPECT_EQ(fenster.Fragen(fehlt, "t", nullptr), NichtVerfügbarAntwort::Abbrechen);
}

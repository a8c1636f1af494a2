// Owners, groups and modes through every rewrite, copy and move, as users
// meet them: the program's tools run as the file's owner (who is not in the
// file's group), as a member of its group and as root, on a file of owner
// 4101 and group 4105 in a folder all may write.

#include "BibliothekTesthilfe.h"

#include "support/IndexDateiHilfen.h"
#include "support/Mp3Bauer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testhilfe;

namespace {

constexpr uid_t kBesitzer = 4101, kMitglied = 4103;
constexpr gid_t kBesitzerGruppe = 4102, kMitgliedGruppe = 4104, kDateiGruppe = 4105;

struct Nutzer {
    const char* name;
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> weitere;
};
const Nutzer kBesitzerNutzer{"Besitzer", kBesitzer, kBesitzerGruppe, {}};
const Nutzer kMitgliedNutzer{"Mitglied", kMitglied, kMitgliedGruppe, {kDateiGruppe}};
const Nutzer kRoot{"root", 0, 0, {}};

QString Werkzeug(const QString& name) { return QCoreApplication::applicationDirPath() + "/../tools/" + name; }

struct Lauf {
    int status = -1;
    QString fehler;
};

// A tool run as `nutzer`, with a home of its own that anyone may write.
Lauf Ausführen(const Nutzer& nutzer, const QString& werkzeug, const QStringList& argumente, const QString& heim)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", heim);
    env.insert("XDG_CONFIG_HOME", heim + "/.config");
    env.insert("XDG_CACHE_HOME", heim + "/.cache");
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([&nutzer] {
        if (::setgroups(nutzer.weitere.size(), nutzer.weitere.data()) != 0 || ::setresgid(nutzer.gid, nutzer.gid, nutzer.gid) != 0
            || ::setresuid(nutzer.uid, nutzer.uid, nutzer.uid) != 0)
            ::_exit(99);
    });
    p.start(Werkzeug(werkzeug), argumente);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

// "uid:gid mode" of a file; "-" when it is not there.
QString Rechte(const QString& pfad)
{
    struct stat st;
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return "-";
    return QString("%1:%2 %3").arg(st.st_uid).arg(st.st_gid).arg(st.st_mode & 07777, 4, 8, QChar('0'));
}

void Anlegen(const QString& pfad, const QByteArray& inhalt, mode_t modus)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
    f.close();
    const QByteArray n = QFile::encodeName(pfad);
    ASSERT_EQ(::chown(n.constData(), kBesitzer, kDateiGruppe), 0);
    ASSERT_EQ(::chmod(n.constData(), modus), 0);
}

void Offen(const QString& ordner) { ::chmod(QFile::encodeName(ordner).constData(), 0777); }

dev_t Gerät(const QString& pfad)
{
    struct stat st;
    return ::stat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_dev : 0;
}

const mode_t kModi[] = {0444, 0600, 0640, 0660, 02660, 0664};

// The results for the modes above in turn: the new file's "uid:gid mode",
// or "=" where the operation is refused and the file stays as it was.
struct Zeile {
    const char* operation;
    const Nutzer* nutzer;
    const char* ergebnis[6];
};

// The owner is not in the file's group: his rewrite and copy get his own
// group, without the group's bits. The member may not take the file: a
// rewrite is refused, in place it runs. Root keeps everything.
const Zeile kTabelle[] = {
    {"tag neu", &kBesitzerNutzer, {"=", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"tag neu", &kMitgliedNutzer, {"=", "=", "=", "=", "=", "="}},
    {"tag neu", &kRoot, {"=", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"tag an Ort", &kMitgliedNutzer, {"=", "=", "=", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"tag entfernen", &kBesitzerNutzer, {"=", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"tag entfernen", &kMitgliedNutzer, {"=", "=", "=", "=", "=", "="}},
    {"tag entfernen", &kRoot, {"=", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"index", &kBesitzerNutzer, {"4101:4102 0404", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"index", &kMitgliedNutzer, {"=", "=", "=", "=", "=", "="}},
    {"index", &kRoot, {"4101:4105 0444", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"export", &kBesitzerNutzer, {"4101:4102 0404", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"export", &kMitgliedNutzer, {"=", "=", "=", "=", "=", "="}},
    {"kopieren", &kBesitzerNutzer, {"4101:4102 0404", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"kopieren", &kMitgliedNutzer, {"4103:4105 0444", "=", "4103:4105 0640", "4103:4105 0660", "4103:4105 2660", "4103:4105 0664"}},
    {"kopieren", &kRoot, {"4101:4105 0444", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"verschieben", &kMitgliedNutzer, {"4101:4105 0444", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
    {"verschieben shm", &kBesitzerNutzer, {"4101:4102 0404", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0600", "4101:4102 0604"}},
    {"verschieben shm", &kMitgliedNutzer, {"=", "=", "=", "=", "=", "="}},
    {"verschieben shm", &kRoot, {"4101:4105 0444", "4101:4105 0600", "4101:4105 0640", "4101:4105 0660", "4101:4105 2660", "4101:4105 0664"}},
};

class RechteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to act as other users";
        for (const QString& w : {"tag-write", "tag-remove", "index-roundtrip", "export", "move"})
            if (!QFileInfo(Werkzeug(w)).isExecutable())
                GTEST_SKIP() << "tool " << w.toStdString() << " not built";
        ASSERT_TRUE(baum.dir.isValid());
        ::chmod(QFile::encodeName(baum.Pfad()).constData(), 0755);
        for (const char* ordner : {"heim", "a", "z"}) {
            QDir().mkpath(baum.Pfad(ordner));
            Offen(baum.Pfad(ordner));
        }
    }
    Baum baum;
};

} // namespace

// LeakSanitizer cannot work inside a traced process.
QProcessEnvironment OhneLeckprüfung()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), (asan.isEmpty() ? QString() : asan + ':') + "detect_leaks=0");
    return env;
}

TEST_F(RechteTest, BesitzerGruppeUndModusJeOperationUndNutzer)
{
    Baum shm("/dev/shm");
    const bool zweitesDateisystem = shm.dir.isValid() && Gerät(shm.Pfad()) != Gerät(baum.Pfad());
    if (zweitesDateisystem)
        Offen(shm.Pfad());
    const QByteArray ohneTag = KleineMp3();
    Mp3Bauer::Id3v2Tag tag;
    tag.frames = {Mp3Bauer::TextFrame("TIT2", "Alt"), Mp3Bauer::TextFrame("TPE1", "Jemand")};
    tag.padding = 2000;
    const QByteArray mitTag = tag.Bytes() + KleineMp3();
    // An index file naming nothing, which the index and export rows write over.
    const QString leer = baum.Pfad("heim/leer.kvx");
    IndexDateiAnlegen(leer, {});
    ::chmod(QFile::encodeName(leer).constData(), 0644);
    const QByteArray leerInhalt = DateiInhalt(leer);

    int nummer = 0;
    for (const Zeile& zeile : kTabelle) {
        const std::string op = zeile.operation;
        if (op == "verschieben shm" && !zweitesDateisystem) {
            ADD_FAILURE() << "no second file system at /dev/shm";
            continue;
        }
        for (int m = 0; m < 6; ++m) {
            const mode_t modus = kModi[m];
            const QString name = QString("f%1.mp3").arg(++nummer);
            const QString datei = baum.Pfad("a/" + name);
            SCOPED_TRACE(op + " als " + zeile.nutzer->name + " auf " + QString::number(modus, 8).toStdString());
            const bool tagDatei = op.rfind("tag", 0) == 0;
            const QByteArray vorher = op == "tag neu" ? ohneTag : tagDatei ? mitTag : op == "index" || op == "export" ? leerInhalt : ohneTag;
            Anlegen(datei, vorher, modus);
            // Where the result lies: the file itself, or its copy.
            QString ergebnis = datei;
            Lauf lauf;
            if (op == "tag neu" || op == "tag an Ort") {
                lauf = Ausführen(*zeile.nutzer, "tag-write", {datei, "v2", "Mp3_ID3v2_Titel=Neu"}, baum.Pfad("heim"));
            } else if (op == "tag entfernen") {
                lauf = Ausführen(*zeile.nutzer, "tag-remove", {datei, "v2"}, baum.Pfad("heim"));
            } else if (op == "index") {
                lauf = Ausführen(*zeile.nutzer, "index-roundtrip", {leer, datei}, baum.Pfad("heim"));
            } else if (op == "export") {
                lauf = Ausführen(*zeile.nutzer, "export", {leer, "0", datei}, baum.Pfad("heim"));
            } else {
                const QString index = baum.Pfad(QString("heim/%1.kvx").arg(nummer));
                IndexDateiAnlegen(index, {datei});
                ASSERT_EQ(::chown(QFile::encodeName(index).constData(), zeile.nutzer->uid, zeile.nutzer->gid), 0);
                const QString ziel = op == "verschieben shm" ? shm.Pfad() : baum.Pfad("z");
                ergebnis = ziel + "/" + name;
                QStringList argumente{index, ziel + "/"};
                if (op == "kopieren")
                    argumente << "--kopieren";
                lauf = Ausführen(*zeile.nutzer, "move", argumente, baum.Pfad("heim"));
            }
            const QString erwartet = zeile.ergebnis[m];
            if (erwartet == "=") {
                EXPECT_EQ(Rechte(datei), QString("4101:4105 %1").arg(modus, 4, 8, QChar('0')));
                EXPECT_EQ(DateiInhalt(datei), vorher) << "the file stays as it was";
                if (ergebnis != datei)
                    EXPECT_EQ(Rechte(ergebnis), "-") << "no copy stays";
                // The move tool goes on past a file it could not move, and tells it.
                EXPECT_TRUE(lauf.status != 0 || (ergebnis != datei && !lauf.fehler.isEmpty()));
                continue;
            }
            EXPECT_EQ(Rechte(ergebnis), erwartet) << lauf.fehler.toStdString();
            EXPECT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
            if (op == "verschieben" || op == "verschieben shm")
                EXPECT_EQ(Rechte(datei), "-") << "the source went";
            if (op == "tag an Ort")
                EXPECT_EQ(DateiInhalt(datei).size(), mitTag.size()) << "written in place";
        }
    }
    // A file that may not be taken says why.
    const QString datei = baum.Pfad("a/fremd.mp3");
    Anlegen(datei, ohneTag, 0660);
    const Lauf lauf = Ausführen(kMitgliedNutzer, "tag-write", {datei, "v2", "Mp3_ID3v2_Titel=Neu"}, baum.Pfad("heim"));
    EXPECT_EQ(lauf.fehler.toStdString(), ("Der ID3v2-TAG der Datei '" + datei
                                          + "' konnte nicht gespeichert werden.\nDie Datei gehört einem anderen "
                                            "Benutzer. (Fehler 1).\n").toStdString());
    EXPECT_EQ(QDir(baum.Pfad("a")).entryList({"*-neu*"}, QDir::Files), QStringList()) << "no temporary file stays";
}

// A chmod or chown that really fails (injected into the tool's system
// calls) fails the write: the file stays as it was, no temporary file stays,
// the tool reports the failure. Root rewrites a file of owner 4101.
TEST_F(RechteTest, FehlgeschlagenerChmodOderChownLässtDieDateiWieSieWar)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    Baum shm("/dev/shm");
    const bool zweitesDateisystem = shm.dir.isValid() && Gerät(shm.Pfad()) != Gerät(baum.Pfad());
    const struct {
        const char* aufruf;
        const char* werkzeug;
        mode_t modus;
    } fälle[] = {
        {"fchmod", "tag-write", 0664}, {"fchown", "tag-write", 0640}, {"fchmod", "tag-remove", 02660},
        {"fchmod", "move", 0664},      {"fchown", "move", 0640},
    };
    Mp3Bauer::Id3v2Tag tag;
    tag.frames = {Mp3Bauer::TextFrame("TIT2", "Alt")};
    const QByteArray inhalt = tag.Bytes() + KleineMp3();
    int nummer = 0;
    for (const auto& fall : fälle) {
        SCOPED_TRACE(std::string(fall.werkzeug) + " " + fall.aufruf);
        const QString name = QString("s%1.mp3").arg(++nummer);
        const QString datei = baum.Pfad("a/" + name);
        Anlegen(datei, inhalt, fall.modus);
        QString ergebnis = datei;
        QStringList argumente;
        if (std::string(fall.werkzeug) == "move") {
            if (!zweitesDateisystem) {
                ADD_FAILURE() << "no second file system at /dev/shm";
                continue;
            }
            const QString index = baum.Pfad(QString("heim/s%1.kvx").arg(nummer));
            IndexDateiAnlegen(index, {datei});
            argumente = {index, shm.Pfad() + "/"};
            ergebnis = shm.Pfad(name);
        } else if (std::string(fall.werkzeug) == "tag-write") {
            // A tag that does not fit the old one: the whole file is written anew.
            argumente = {datei, "v2", "Mp3_ID3v2_Titel=" + QString(200, 'N')};
        } else {
            argumente = {datei, "v2"};
        }
        QProcess p;
        p.start(strace, QStringList{"-f", "-qq", "-o", "/dev/null", "-e", QString("trace=") + fall.aufruf, "-e",
                                    QString("inject=%1:error=EIO").arg(fall.aufruf), Werkzeug(fall.werkzeug)}
                            + argumente);
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString fehler = QString::fromLocal8Bit(p.readAllStandardError());
        if (std::string(fall.werkzeug) != "move")
            EXPECT_NE(p.exitCode(), 0) << fehler.toStdString();
        // The removal names the temporary file that could not be made.
        EXPECT_TRUE(fehler.contains(std::string(fall.werkzeug) == "tag-remove" ? "-neu' konnte nicht erstellt werden" : "(Fehler 5)"))
            << fehler.toStdString();
        EXPECT_EQ(Rechte(datei), QString("4101:4105 %1").arg(fall.modus, 4, 8, QChar('0')));
        EXPECT_EQ(DateiInhalt(datei), inhalt);
        if (ergebnis != datei)
            EXPECT_EQ(Rechte(ergebnis), "-") << "no copy stays";
        EXPECT_EQ(QDir(baum.Pfad("a")).entryList({"*-neu*"}, QDir::Files), QStringList());
        if (zweitesDateisystem)
            EXPECT_EQ(QDir(shm.Pfad()).entryList(QDir::Files), QStringList());
    }
}

// A move across file systems whose source may not be deleted (its folder is
// read-only to the owner) leaves the source as it was, read-only too, and
// takes the copy away again.
TEST_F(RechteTest, QuelleDieNichtGelöschtWerdenKannBleibtWieSieWar)
{
    Baum shm("/dev/shm");
    if (!shm.dir.isValid() || Gerät(shm.Pfad()) == Gerät(baum.Pfad()))
        GTEST_SKIP() << "no second file system at /dev/shm";
    Offen(shm.Pfad());
    QDir().mkpath(baum.Pfad("fest"));
    const QString datei = baum.Pfad("fest/a.mp3");
    Anlegen(datei, KleineMp3(), 0444);
    ::chmod(QFile::encodeName(baum.Pfad("fest")).constData(), 0555);
    const QString index = baum.Pfad("heim/fest.kvx");
    IndexDateiAnlegen(index, {datei});
    ASSERT_EQ(::chown(QFile::encodeName(index).constData(), kBesitzer, kBesitzerGruppe), 0);
    const Lauf lauf = Ausführen(kBesitzerNutzer, "move", {index, shm.Pfad() + "/"}, baum.Pfad("heim"));
    EXPECT_EQ(Rechte(datei), "4101:4105 0444");
    EXPECT_EQ(DateiInhalt(datei), KleineMp3());
    EXPECT_EQ(QDir(shm.Pfad()).entryList(QDir::Files | QDir::Hidden), QStringList()) << "the copy is gone";
    EXPECT_TRUE(lauf.fehler.contains("Die Datei '" + datei
                                     + "' konnte nicht verschoben werden, da sie nicht gelöscht werden kann. Die Kopie '"
                                     + shm.Pfad("a.mp3") + "' wurde wieder entfernt."))
        << lauf.fehler.toStdString();
}

// A move within one file system: the target's folder is fsynced after the
// rename and before the index file naming the new path takes its place.
TEST_F(RechteTest, OrdnerIstSynchronisiertBevorDerIndexDenPfadNennt)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    const QString datei = baum.Pfad("a/x.mp3");
    Anlegen(datei, KleineMp3(), 0644);
    const QString index = baum.Pfad("heim/x.kvx");
    IndexDateiAnlegen(index, {datei});
    const QString protokoll = baum.Pfad("heim/strace.log");
    QProcess p;
    p.setProcessEnvironment(OhneLeckprüfung());
    p.start(strace, {"-f", "-qq", "-y", "-o", protokoll, "-e", "trace=fsync,rename,renameat,renameat2",
                     Werkzeug("move"), index, baum.Pfad("z/")});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    ASSERT_TRUE(QFile::exists(baum.Pfad("z/x.mp3")));
    const QStringList zeilen = QString::fromUtf8(DateiInhalt(protokoll)).split('\n');
    qsizetype umbenannt = -1, synchronisiert = -1, gespeichert = -1;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString& z = zeilen[i];
        if (umbenannt < 0 && z.contains("rename") && z.contains("/a/x.mp3") && z.contains("/z/x.mp3"))
            umbenannt = i;
        else if (umbenannt >= 0 && synchronisiert < 0 && z.contains("fsync(") && z.contains("<" + baum.Pfad("z") + ">"))
            synchronisiert = i;
        else if (z.contains("rename") && z.contains("x.kvx~"))
            gespeichert = i;
    }
    ASSERT_GE(umbenannt, 0) << DateiInhalt(protokoll).toStdString();
    EXPECT_GT(synchronisiert, umbenannt) << DateiInhalt(protokoll).toStdString();
    EXPECT_GT(gespeichert, synchronisiert);
}

// The temporary file is made with the original's bits, without the group's
// where it starts in another group than the original's: no moment in which
// anyone reads more than before. Seen in the open call itself; root writes.
TEST_F(RechteTest, TemporäreDateiHatVomErstenByteAnDieRechte)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    const struct {
        uid_t uid;
        gid_t gid;
        mode_t modus;
        const char* beimAnlegen;
    } fälle[] = {{0, 0, 0644, "0644"}, {0, 0, 0664, "0664"}, {kBesitzer, kDateiGruppe, 0664, "0604"}, {kBesitzer, kDateiGruppe, 0640, "0600"}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(QString::number(fall.modus, 8).toStdString() + " group " + std::to_string(fall.gid));
        const QString datei = baum.Pfad(QString("a/n%1.mp3").arg(&fall - fälle));
        Anlegen(datei, KleineMp3(), fall.modus);
        ASSERT_EQ(::chown(QFile::encodeName(datei).constData(), fall.uid, fall.gid), 0);
        const QString protokoll = baum.Pfad("heim/anlegen.log");
        QProcess p;
        p.setProcessEnvironment(OhneLeckprüfung());
        p.start(strace, {"-f", "-qq", "-o", protokoll, "-e", "trace=openat,open", Werkzeug("tag-write"), datei, "v2",
                         "Mp3_ID3v2_Titel=Neu"});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QString anlegen;
        for (const QString& z : QString::fromUtf8(DateiInhalt(protokoll)).split('\n'))
            if (z.contains(datei + "-neu\"") && z.contains("O_CREAT"))
                anlegen = z;
        EXPECT_TRUE(anlegen.contains(QString(", ") + fall.beimAnlegen + ")")) << anlegen.toStdString();
        EXPECT_EQ(Rechte(datei), QString("%1:%2 %3").arg(fall.uid).arg(fall.gid).arg(fall.modus, 4, 8, QChar('0')));
    }
}

// Owners, groups and modes through every rewrite, copy and move, as users
// meet them: the program's tools run as the file's owner (who is not in the
// file's group), as a member of its group and as root, on a file of owner
// 4101 and group 4105 in a folder all may write.

#include "BibliothekTesthilfe.h"

#include "support/FuseAbbild.h"
#include "support/IndexDateiHilfen.h"
#include "support/Mp3Bauer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <grp.h>
#include <iostream>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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
    QByteArray ausgabe;
};

// A program run as `nutzer`.
Lauf Als(const Nutzer& nutzer, const QString& programm, const QStringList& argumente,
         const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([&nutzer] {
        if (::setgroups(nutzer.weitere.size(), nutzer.weitere.data()) != 0 || ::setresgid(nutzer.gid, nutzer.gid, nutzer.gid) != 0
            || ::setresuid(nutzer.uid, nutzer.uid, nutzer.uid) != 0)
            ::_exit(99);
    });
    p.start(programm, argumente);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()), p.readAllStandardOutput()};
}

// A tool run as `nutzer`, with a home of its own that anyone may write.
Lauf Ausführen(const Nutzer& nutzer, const QString& werkzeug, const QStringList& argumente, const QString& heim)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", heim);
    env.insert("XDG_CONFIG_HOME", heim + "/.config");
    env.insert("XDG_CACHE_HOME", heim + "/.cache");
    return Als(nutzer, Werkzeug(werkzeug), argumente, env);
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
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << pfad.toStdString() << ": " << f.errorString().toStdString();
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

// Every new name lasts before the index names it: after each rename (a
// move's within one file system, a rewrite's, a copy's), after a new file
// took an old one's place and after a moved file's source is deleted, the
// folder that changed is fsynced, a move's source folder too, before the
// index file naming the new path is saved.
TEST_F(RechteTest, OrdnerIstSynchronisiertBevorDerIndexDenPfadNennt)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    Baum shm("/dev/shm");
    const bool zweitesDateisystem = shm.dir.isValid() && Gerät(shm.Pfad()) != Gerät(baum.Pfad());
    const QString a = baum.Pfad("a"), z = baum.Pfad("z"), heim = baum.Pfad("heim");
    const auto q = [](const QString& pfad) { return '"' + pfad + '"'; };
    // A system call (the first line holding all of `aufruf`) and the folder
    // fsynced after it.
    struct Schritt {
        QStringList aufruf;
        QString ordner;
    };
    const QString leer = heim + "/leer.kvx";
    IndexDateiAnlegen(leer, {});
    const struct {
        const char* name;
        const char* werkzeug;
        QStringList argumente;
        QString index; // the index file that must be saved after the fsyncs, or none
        std::vector<Schritt> schritte;
    } fälle[] = {
        {"move", "move", {heim + "/1.kvx", z + "/"}, heim + "/1.kvx",
         {{{"rename", q(a + "/1.mp3"), q(z + "/1.mp3")}, z}, {{"rename", q(a + "/1.mp3"), q(z + "/1.mp3")}, a}}},
        {"move across file systems", "move", {heim + "/2.kvx", shm.Pfad() + "/"}, heim + "/2.kvx",
         {{{"rename", q(shm.Pfad("2.mp3-neu")), q(shm.Pfad("2.mp3"))}, shm.Pfad()}, {{"unlink", q(a + "/2.mp3")}, a}}},
        {"tag rewrite", "tag-write", {a + "/3.mp3", "v2", "Mp3_ID3v2_Titel=Neu"}, {},
         {{{"rename", q(a + "/3.mp3-neu"), q(a + "/3.mp3")}, a}}},
        {"index rewrite", "index-roundtrip", {leer, heim + "/4.kvx"}, {},
         {{{"rename", q(heim + "/4.kvx~"), q(heim + "/4.kvx")}, heim}}},
        // The rename window's "empty file": a new file in place of the old.
        {"empty file", "rename", {heim + "/5.kvx", "8", "--leer-endung", "leer"}, heim + "/5.kvx",
         {{{"unlink", q(a + "/5.mp3")}, a}}},
    };
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        if (fall.argumente.join(' ').contains("/dev/shm") && !zweitesDateisystem) {
            ADD_FAILURE() << "no second file system at /dev/shm";
            continue;
        }
        const QString nummer = QString::number(&fall - fälle + 1);
        QDir().mkpath(a); // a move takes the folder it left empty away
        Anlegen(a + "/" + nummer + ".mp3", KleineMp3(), 0644);
        if (!fall.index.isEmpty())
            IndexDateiAnlegen(fall.index, {a + "/" + nummer + ".mp3"});
        else
            IndexDateiAnlegen(heim + "/" + nummer + ".kvx", {});
        const QString protokoll = heim + "/strace" + nummer + ".log";
        QProcess p;
        p.setProcessEnvironment(OhneLeckprüfung());
        p.start(strace, QStringList{"-f", "-qq", "-y", "-o", protokoll, "-e", "trace=fsync,rename,renameat,renameat2,unlink,unlinkat",
                                    Werkzeug(fall.werkzeug)}
                            + fall.argumente);
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QString log = QString::fromUtf8(DateiInhalt(protokoll));
        const QStringList zeilen = log.split('\n');
        const auto erste = [&](const QStringList& teile, qsizetype ab) {
            for (qsizetype i = ab; i < zeilen.size(); ++i)
                if (std::all_of(teile.begin(), teile.end(), [&](const QString& t) { return zeilen[i].contains(t); }))
                    return i;
            return qsizetype(-1);
        };
        const qsizetype gespeichert = fall.index.isEmpty() ? zeilen.size() : erste({"rename", q(fall.index + "~")}, 0);
        ASSERT_GE(gespeichert, 0) << log.toStdString();
        for (const Schritt& schritt : fall.schritte) {
            SCOPED_TRACE(schritt.aufruf.join(' ').toStdString() + ", then " + schritt.ordner.toStdString());
            const qsizetype aufruf = erste(schritt.aufruf, 0);
            ASSERT_GE(aufruf, 0) << log.toStdString();
            const qsizetype synchronisiert = erste({"fsync(", "<" + schritt.ordner + ">"}, aufruf + 1);
            EXPECT_GT(synchronisiert, aufruf) << log.toStdString();
            EXPECT_LT(synchronisiert, gespeichert) << log.toStdString();
        }
    }
}

namespace {

// A program run to its end as root: its exit status, -1 when it did not run.
int Befehl(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The file's ACL as getfacl shows it, its lines joined by ",".
QString Acl(const QString& pfad)
{
    QProcess p;
    p.start("getfacl", {"--omit-header", "--absolute-names", pfad});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return "-";
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).join(',');
}

// The value of a user attribute; "-" when the file has none of that name.
QByteArray Attribut(const QString& pfad, const char* name)
{
    char wert[256];
    const ssize_t n = ::getxattr(QFile::encodeName(pfad).constData(), name, wert, sizeof wert);
    return n < 0 ? QByteArray("-") : QByteArray(wert, n);
}

constexpr char kHerkunft[] = "user.xdg.origin.url", kBewertung[] = "user.baloo.rating";
const QByteArray kHerkunftWert = "https://example.org/lied.mp3", kBewertungWert = "8";

// Whether a folder's file system holds a user attribute and an ACL.
bool HältAclUndAttribute(const QString& ordner)
{
    const QString probe = ordner + "/probe";
    QFile f(probe);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.close();
    const bool ja = Befehl("setfacl", {"-m", "u:daemon:r", probe}) == 0
                    && Befehl("setfattr", {"-n", kHerkunft, "-v", "x", probe}) == 0;
    QFile::remove(probe);
    return ja;
}

} // namespace

// The temporary file is made with the original's bits, without the group's
// where it starts in another group than the original's, and with the
// group's own under an ACL (not the mask the mode shows): no moment in which
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
        bool acl = false; // daemon may write it through an ACL: the group's bits show the mask
    } fälle[] = {{0, 0, 0644, "0644"},
                 {0, 0, 0664, "0664"},
                 {kBesitzer, kDateiGruppe, 0664, "0604"},
                 {kBesitzer, kDateiGruppe, 0640, "0600"},
                 {0, 0, 0640, "0640", true},
                 {kBesitzer, kDateiGruppe, 0644, "0604", true}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(QString::number(fall.modus, 8).toStdString() + " group " + std::to_string(fall.gid) + (fall.acl ? " ACL" : ""));
        const QString datei = baum.Pfad(QString("a/n%1.mp3").arg(&fall - fälle));
        Anlegen(datei, KleineMp3(), fall.modus);
        ASSERT_EQ(::chown(QFile::encodeName(datei).constData(), fall.uid, fall.gid), 0);
        if (fall.acl)
            ASSERT_EQ(Befehl("setfacl", {"-m", "u:daemon:rw-", datei}), 0);
        const QString vorher = Rechte(datei);
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
        EXPECT_EQ(Rechte(datei), vorher);
        EXPECT_EQ(vorher, QString("%1:%2 %3").arg(fall.uid).arg(fall.gid).arg(fall.acl ? fall.modus | 020 : fall.modus, 4, 8, QChar('0')));
    }
}


// A file 0640 of 4101:4105 whose ACL lets the user daemon read and write
// it (mask rw-), with a download's origin and a rating as attributes: every
// rewrite, copy and move keeps who may do what, as the kernel checks it for
// daemon and for another member of the group (uid 4106), and the
// attributes. Where the target cannot hold them (exFAT; a file system that
// refuses them), a copy goes on without them and the group gets what its
// entry gave it, never the mask; a rewrite that cannot set them back fails
// and leaves the file as it was.
TEST_F(RechteTest, AclUndAttributeBleibenErhalten)
{
    const QString strace = QStandardPaths::findExecutable("strace");
    if (QStandardPaths::findExecutable("setfacl").isEmpty() || QStandardPaths::findExecutable("setfattr").isEmpty()
        || QStandardPaths::findExecutable("getfacl").isEmpty() || strace.isEmpty())
        GTEST_SKIP() << "acl, attr or strace is not installed";
    if (!HältAclUndAttribute(baum.Pfad("a")))
        GTEST_SKIP() << "the temporary folder's file system holds no ACL or user attributes";
    const passwd* pw = ::getpwnam("daemon");
    if (!pw)
        GTEST_SKIP() << "no user daemon";
    const Nutzer daemon{"daemon", pw->pw_uid, pw->pw_gid, {}};
    const Nutzer gruppe{"Gruppe", 4106, 4106, {kDateiGruppe}};
    Baum shm("/dev/shm");
    const bool shmBereit = shm.dir.isValid() && Gerät(shm.Pfad()) != Gerät(baum.Pfad()) && HältAclUndAttribute(shm.Pfad());
    if (shmBereit)
        Offen(shm.Pfad());
    // FAT through fusefat refuses a chown as unimplemented, which fails any
    // copy there as root: exFAT stands for both.
    FuseAbbild exfat(FuseAbbild::Art::ExFat);
    QDir().mkpath(baum.Pfad("d"));
    Offen(baum.Pfad("d"));
    const QString leer = baum.Pfad("heim/leer.kvx");
    IndexDateiAnlegen(leer, {});

    const QString voll = "user::rw-,user:daemon:rw-,group::r--,mask::rw-,other::---";
    const QString ohneGruppe = "user::rw-,user:daemon:rw-,group::---,mask::rw-,other::---";
    const QString ohneAcl = "user::rw-,group::r--,other::---";
    const struct {
        const char* operation; // "tag neu", "index", "kopieren", "verschieben"
        const Nutzer* nutzer;
        const char* ziel;        // "a": the file itself; "d": the file itself, in a folder handing down an ACL
        const char* einspritzen; // a fault for fsetxattr in the tool, or none
        const char* rechte;      // "uid:gid mode" of the result, "=" where the file stays as it was
        const QString* acl;      // nullptr where the file system shows none (exFAT)
        bool attribute, daemonLiest, gruppeLiest;
        const char* eigeneAcl = nullptr; // the file's ACL where it is not daemon's entry alone
    } fälle[] = {
        {"tag neu", &kRoot, "a", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"tag neu", &kBesitzerNutzer, "a", nullptr, "4101:4102 0660", &ohneGruppe, true, true, false},
        {"index", &kRoot, "a", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"kopieren", &kRoot, "z", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"kopieren", &kMitgliedNutzer, "z", nullptr, "4103:4105 0660", &voll, true, true, true},
        {"verschieben", &kRoot, "z", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"kopieren", &kRoot, "shm", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"verschieben", &kRoot, "shm", nullptr, "4101:4105 0660", &voll, true, true, true},
        {"verschieben", &kBesitzerNutzer, "shm", nullptr, "4101:4102 0660", &ohneGruppe, true, true, false},
        {"verschieben", &kRoot, "exfat", nullptr, nullptr, nullptr, false, false, false},
        {"kopieren", &kRoot, "exfat", nullptr, nullptr, nullptr, false, false, false},
        {"kopieren", &kRoot, "shm", "EOPNOTSUPP", "4101:4105 0640", &ohneAcl, false, false, true},
        {"verschieben", &kRoot, "shm", "EOPNOTSUPP", "4101:4105 0640", &ohneAcl, false, false, true},
        // A mask that narrows the group's entry: the group keeps reading, and no more.
        {"kopieren", &kRoot, "shm", "EOPNOTSUPP", "4101:4105 0640", &ohneAcl, false, false, true, "u:daemon:rw-,g::rw-,m::r--"},
        {"tag neu", &kRoot, "a", "EPERM", "=", &voll, true, true, true},
        {"tag neu", &kBesitzerNutzer, "a", "EOPNOTSUPP", "=", &voll, true, true, true},
        {"index", &kRoot, "a", "EIO", "=", &voll, true, true, true},
        {"tag neu", &kRoot, "d", nullptr, "4101:4105 0640", &ohneAcl, false, false, true},
        {"kopieren", &kRoot, "d", nullptr, "4101:4105 0640", &ohneAcl, false, false, true},
    };
    int nummer = 0;
    for (const auto& fall : fälle) {
        const std::string ziel = fall.ziel;
        SCOPED_TRACE(std::string(fall.operation) + " als " + fall.nutzer->name + " nach " + ziel + " "
                     + (fall.einspritzen ? fall.einspritzen : ""));
        const FuseAbbild* medium = ziel == "exfat" ? &exfat : nullptr;
        if ((ziel == "shm" && !shmBereit) || (medium && !medium->Bereit())) {
            std::cout << "[ SKIPPED  ] " << ziel << ": "
                      << (medium ? medium->Grund().toStdString() : "no second file system with ACLs at /dev/shm") << std::endl;
            continue;
        }
        const QString name = QString("acl%1.mp3").arg(++nummer);
        const std::string op = fall.operation;
        const bool umschreiben = op == "tag neu" || op == "index";
        const QByteArray vorher = op == "index" ? DateiInhalt(leer) : KleineMp3();
        // In "d" a file without ACL or attributes (made elsewhere, so that it
        // took no ACL from the folder); else one with both.
        QDir().mkpath(baum.Pfad("a"));
        QString datei = baum.Pfad("a/" + name);
        Anlegen(datei, vorher, 0640);
        if (ziel == "d") {
            ASSERT_EQ(Befehl("setfacl", {"-d", "-m", "u:daemon:rw", baum.Pfad("d")}), 0);
            if (umschreiben) {
                ASSERT_TRUE(QFile::rename(datei, baum.Pfad("d/" + name)));
                datei = baum.Pfad("d/" + name);
            }
            ASSERT_EQ(Acl(datei), ohneAcl);
        } else {
            ASSERT_EQ(Befehl("setfacl", {"-m", fall.eigeneAcl ? fall.eigeneAcl : "u:daemon:rw-", datei}), 0);
            ASSERT_EQ(Befehl("setfattr", {"-n", kHerkunft, "-v", kHerkunftWert, datei}), 0);
            ASSERT_EQ(Befehl("setfattr", {"-n", kBewertung, "-v", kBewertungWert, datei}), 0);
            if (!fall.eigeneAcl)
                ASSERT_EQ(Acl(datei), voll);
        }
        const QString zielOrdner = umschreiben      ? QString()
                                   : ziel == "shm"   ? shm.Pfad()
                                   : medium          ? medium->Pfad()
                                                     : baum.Pfad(QString::fromStdString(ziel));
        const QString ergebnis = umschreiben ? datei : zielOrdner + "/" + name;
        QString werkzeug;
        QStringList argumente;
        if (op == "tag neu") {
            werkzeug = "tag-write";
            argumente = {datei, "v2", "Mp3_ID3v2_Titel=Neu"};
        } else if (op == "index") {
            werkzeug = "index-roundtrip";
            argumente = {leer, datei};
        } else {
            werkzeug = "move";
            const QString index = baum.Pfad(QString("heim/acl%1.kvx").arg(nummer));
            IndexDateiAnlegen(index, {datei});
            ASSERT_EQ(::chown(QFile::encodeName(index).constData(), fall.nutzer->uid, fall.nutzer->gid), 0);
            argumente = {index, zielOrdner + "/"};
            if (op == "kopieren")
                argumente << "--kopieren";
        }
        Lauf lauf;
        if (fall.einspritzen) {
            // The system refuses every attribute to the tool, as a file
            // system that holds none does.
            QProcessEnvironment env = OhneLeckprüfung();
            env.insert("HOME", baum.Pfad("heim"));
            env.insert("XDG_CONFIG_HOME", baum.Pfad("heim/.config"));
            lauf = Als(*fall.nutzer, strace,
                       QStringList{"-f", "-qq", "-o", "/dev/null", "-e", "trace=fsetxattr", "-e",
                                   QString("inject=fsetxattr:error=") + fall.einspritzen, Werkzeug(werkzeug)}
                           + argumente,
                       env);
        } else {
            lauf = Ausführen(*fall.nutzer, werkzeug, argumente, baum.Pfad("heim"));
        }
        const QString erwartet = fall.rechte ? fall.rechte : "";
        if (erwartet == "=") {
            EXPECT_NE(lauf.status, 0) << lauf.fehler.toStdString();
            // The tool tells the refused attribute's reason.
            const int grund = std::string(fall.einspritzen) == "EPERM" ? EPERM : std::string(fall.einspritzen) == "EIO" ? EIO : EOPNOTSUPP;
            EXPECT_TRUE(lauf.fehler.contains(QString("(Fehler %1)").arg(grund))) << lauf.fehler.toStdString();
            EXPECT_EQ(DateiInhalt(datei), vorher) << "the file stays as it was";
            EXPECT_EQ(Rechte(datei), "4101:4105 0660");
            EXPECT_EQ(QDir(QFileInfo(datei).path()).entryList({"*-neu*", "*~*"}, QDir::Files), QStringList())
                << "no temporary file stays";
        } else {
            EXPECT_EQ(lauf.status, 0) << lauf.fehler.toStdString();
            if (op == "tag neu")
                EXPECT_TRUE(DateiInhalt(ergebnis).contains("TIT2")) << "the title was written";
            else if (!umschreiben)
                EXPECT_EQ(DateiInhalt(ergebnis), vorher) << lauf.fehler.toStdString();
            if (op == "verschieben")
                EXPECT_EQ(Rechte(datei), "-") << "the source went";
            if (!erwartet.isEmpty())
                EXPECT_EQ(Rechte(ergebnis), erwartet) << lauf.fehler.toStdString();
        }
        if (fall.acl)
            EXPECT_EQ(Acl(ergebnis), *fall.acl);
        EXPECT_EQ(Attribut(ergebnis, kHerkunft), fall.attribute ? kHerkunftWert : QByteArray("-"));
        EXPECT_EQ(Attribut(ergebnis, kBewertung), fall.attribute ? kBewertungWert : QByteArray("-"));
        if (medium)
            continue; // no ACL there, and its mount is not open to other users
        // Access as the kernel grants it to others: daemon through the ACL,
        // a member of the file's group through the group's entry.
        const QByteArray inhalt = DateiInhalt(ergebnis);
        const Lauf daemonLiest = Als(daemon, "/bin/cat", {ergebnis});
        EXPECT_EQ(daemonLiest.status == 0 && daemonLiest.ausgabe == inhalt, fall.daemonLiest) << "daemon reads";
        const Lauf gruppeLiest = Als(gruppe, "/bin/cat", {ergebnis});
        EXPECT_EQ(gruppeLiest.status == 0 && gruppeLiest.ausgabe == inhalt, fall.gruppeLiest) << "the group reads";
        EXPECT_NE(Als(gruppe, "/bin/sh", {"-c", "test -w \"$1\"", "sh", ergebnis}).status, 0) << "the group may not write";
    }
}

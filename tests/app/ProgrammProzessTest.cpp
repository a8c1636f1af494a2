// The real program as a process, ended from outside: SIGTERM and SIGHUP end
// it at once whatever window is open, without the exit choice, with the
// settings written and a changed index saved where saving is automatic.

#include "core/Funktionen.h"
#include "support/IndexDateiHilfen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>

namespace {

// Whether process `pid` catches `signal` (its handlers are installed).
bool FängtSignal(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("SigCgt:", 0) == 0)
            return (std::stoull(zeile.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

struct ProzessFall {
    const char* name;
    bool ersterStart;      // the welcome window shows
    int tipps;             // TippsAktueller: 1 = the tip of the day shows
    int automatisch;       // DateiAutomatischSpeichern
    bool indexVorhanden;   // else the program creates it, which marks it changed
    int signal;
    bool indexGespeichert; // the file on disk is rewritten in the current format
};

void PrintTo(const ProzessFall& f, std::ostream* os) { *os << f.name; }

class ProgrammProzess : public ::testing::TestWithParam<ProzessFall> {};

} // namespace

TEST_P(ProgrammProzess, SignalBeendetSofort)
{
    const ProzessFall& fall = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.filePath("home");
    const QString konfig = dir.filePath("config");
    const QString ini = konfig + "/Kalvero/Kalvero.conf";
    const QString kvx = dir.filePath("lieder.kvx");
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("Start", fall.ersterStart ? 0 : VersionText().toInt());
        s.setValue("TippsAktueller", fall.tipps);
        s.setValue("DateiAutomatischSpeichern", fall.automatisch);
        s.setValue("BeendenReaktion", 0); // a close of the visible window would ask
        s.setValue("WinampPfad", "");
        s.setValue("WinampLautstärke", 300); // out of range: 128 once written
    }
    if (fall.indexVorhanden)
        testhilfe::IndexDateiAnlegen(kvx, {"/nirgends/a.mp3"});
    const QByteArray vorher = testhilfe::DateiInhalt(kvx);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", konfig);
    env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(KALVERO_PROGRAMM, {kvx});
    ASSERT_TRUE(p.waitForStarted(5000));

    QElapsedTimer uhr;
    uhr.start();
    while (!FängtSignal(p.processId(), fall.signal) && uhr.elapsed() < 10000)
        QThread::msleep(20);
    ASSERT_TRUE(FängtSignal(p.processId(), fall.signal)) << "no handler installed";
    QThread::msleep(500); // start-up goes on into its window
    ASSERT_EQ(p.state(), QProcess::Running);

    ::kill(pid_t(p.processId()), fall.signal);
    const bool beendet = p.waitForFinished(5000);
    if (!beendet) {
        p.kill();
        p.waitForFinished(2000);
    }
    ASSERT_TRUE(beendet) << "the program did not end";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("Dateiname").toString(), kvx) << "settings not written";
    EXPECT_EQ(s.value("WinampLautstärke").toInt(), 128);
    EXPECT_EQ(s.value("BeendenReaktion").toInt(), 0);
    const QByteArray nachher = testhilfe::DateiInhalt(kvx);
    if (fall.indexGespeichert) {
        EXPECT_TRUE(nachher.contains("#OPT:KODIERUNG=UTF-8")) << nachher.left(200).toStdString();
    } else {
        EXPECT_EQ(nachher, vorher);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fenster, ProgrammProzess,
    ::testing::Values(
        // First start: the welcome window is open; the new index counts as changed.
        ProzessFall{"Willkommen", true, 0, 1, false, SIGTERM, true},
        // The tip of the day is open; nothing changed, nothing saved.
        ProzessFall{"Tipp", false, 1, 0, true, SIGTERM, false},
        // Only the main window: no exit choice, the change saved.
        ProzessFall{"Hauptfenster", false, 0, 1, false, SIGHUP, true}),
    [](const auto& info) { return std::string(info.param.name); });

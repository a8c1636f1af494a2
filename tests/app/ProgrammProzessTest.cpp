// The real program as a process, ended from outside: SIGTERM and SIGHUP end
// it at once whatever window is open, without the exit choice, with the
// settings written and a changed index saved where saving is automatic.

#include "core/Funktionen.h"
#include "support/IndexDateiHilfen.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

namespace {

// Whether process `pid` catches `signal` (its handlers are installed).
bool FängtSignal(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string zeile; std::getline(status, zeile);)
        if (zeile.rfind("SigCgt:", 0) == 0)
            return (std::stoull(zeile.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

} // namespace

TEST(ProgrammProzess, SignalBeendetSofortÜberJedemFenster)
{
    const struct {
        const char* name;
        bool ersterStart; // the welcome window shows
        int tipps;        // 1: the tip of the day shows
        int automatisch;  // DateiAutomatischSpeichern
        int signal;
    } fälle[] = {{"Willkommen", true, 0, 1, SIGTERM}, {"Tipp", false, 1, 0, SIGTERM}, {"Hauptfenster", false, 0, 1, SIGHUP}};
    for (const auto& fall : fälle) {
        SCOPED_TRACE(fall.name);
        QTemporaryDir dir;
        const QString ini = dir.filePath("XDG_CONFIG_HOME/Kalvero/Kalvero.conf"), kvx = dir.filePath("lieder.kvx");
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue("Start", fall.ersterStart ? 0 : VersionText().toInt());
            s.setValue("TippsAktueller", fall.tipps);
            s.setValue("DateiAutomatischSpeichern", fall.automatisch);
            s.setValue("BeendenReaktion", 0); // a close of the visible window would ask
            s.setValue("WinampPfad", "");
        }
        // Without automatic saving the index exists and stays as it is; with
        // it, the program creates it, which marks it changed, and saves it.
        if (!fall.automatisch)
            testhilfe::IndexDateiAnlegen(kvx, {"/nirgends/a.mp3"});
        const QByteArray vorher = testhilfe::DateiInhalt(kvx);

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            env.insert(v, dir.filePath(v));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(KALVERO_PROGRAMM, {kvx});
        ASSERT_TRUE(p.waitForStarted(5000));
        for (int i = 0; i < 500 && !FängtSignal(p.processId(), fall.signal); ++i)
            QThread::msleep(20);
        ASSERT_TRUE(FängtSignal(p.processId(), fall.signal)) << "no handler installed";
        QThread::msleep(500); // start-up goes on into its window
        ASSERT_EQ(p.state(), QProcess::Running);

        ::kill(pid_t(p.processId()), fall.signal);
        if (!p.waitForFinished(5000))
            p.kill(); // and the test fails below
        ASSERT_EQ(p.state(), QProcess::NotRunning) << "the program did not end";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Dateiname").toString(), kvx) << "settings not written";
        const QByteArray nachher = testhilfe::DateiInhalt(kvx);
        if (fall.automatisch)
            EXPECT_TRUE(nachher.contains("#OPT:KODIERUNG=UTF-8")) << nachher.left(200).toStdString();
        else
            EXPECT_EQ(nachher, vorher);
    }
}

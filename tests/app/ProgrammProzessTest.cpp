// The real program as a process, ended from outside: SIGTERM and SIGHUP end
// it at once whatever window is open, without the exit choice and without a
// question, with the settings written and a changed index saved.

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
    // The index file as the program finds it.
    enum class Index {
        Keine,       // none yet: the program creates one, which marks it changed
        ErsterStart, // what a first start leaves before its first save: changed at loading
        Leer,        // saved with no entry
        EinEintrag
    };
    const struct {
        const char* name;
        bool ersterStart; // the welcome window shows
        int tipps;        // 1: the tip of the day shows
        int automatisch;  // DateiAutomatischSpeichern
        int signal;
        Index index;
    } fälle[] = {{"Willkommen", true, 0, 1, SIGTERM, Index::Keine},
                 {"Tipp", false, 1, 0, SIGTERM, Index::EinEintrag},
                 {"Hauptfenster", false, 0, 1, SIGHUP, Index::Keine},
                 // Nobody answers a question for a signal: a change is saved.
                 {"erster Start ohne Indexdatei", true, 0, 0, SIGTERM, Index::Keine},
                 {"erster Start, Datei eines ersten Starts", true, 0, 0, SIGTERM, Index::ErsterStart},
                 {"Index ohne Einträge", false, 0, 0, SIGTERM, Index::Leer},
                 {"Index mit einem Eintrag", false, 0, 0, SIGTERM, Index::EinEintrag}};
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
        if (fall.index == Index::ErsterStart) {
            QFile datei(kvx);
            ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
            datei.write("#TAG:kv100\r\n");
        } else if (fall.index != Index::Keine) {
            testhilfe::IndexDateiAnlegen(kvx, fall.index == Index::Leer ? QStringList() : QStringList{"/nirgends/a.mp3"});
        }
        const QByteArray vorher = testhilfe::DateiInhalt(kvx);
        const bool geändert = fall.index == Index::Keine || fall.index == Index::ErsterStart;

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

        // The end takes milliseconds; a question or a wait would take forever.
        ::kill(pid_t(p.processId()), fall.signal);
        const bool beendet = p.waitForFinished(2000);
        if (!beendet) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "the program did not end";
            continue;
        }
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Dateiname").toString(), kvx) << "settings not written";
        const QByteArray nachher = testhilfe::DateiInhalt(kvx);
        if (geändert)
            EXPECT_TRUE(nachher.contains("#OPT:KODIERUNG=UTF-8")) << nachher.left(200).toStdString();
        else
            EXPECT_EQ(nachher, vorher);
    }
}

// `cmake --install` into a prefix of its own: the program, its data, the menu
// entry, the icon and the index file's type land where a desktop looks for
// them and pass the desktop's own checks; the installed program loads an
// index file, and writes nothing into its prefix.
#include "core/Funktionen.h"
#include "support/IndexDateiHilfen.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Lauf {
    int exitCode = -1;
    QByteArray ausgabe; // stdout and stderr
};

Lauf Ausführen(const QString& programm, const QStringList& argumente,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programm, argumente);
    if (!p.waitForStarted(10000))
        return {};
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
}

// Every file under `ordner`, relative to it, sorted.
QStringList Dateien(const QString& ordner)
{
    QStringList namen;
    for (QDirIterator it(ordner, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
        namen << QDir(ordner).relativeFilePath(it.next());
    namen.sort();
    return namen;
}

QByteArray Inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Installation : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ordner = new QTemporaryDir;
        präfix = ordner->filePath("präfix");
        installation = Ausführen(KALVERO_CMAKE, {"--install", KALVERO_BAUORDNER, "--prefix", präfix});
    }
    static void TearDownTestSuite() { delete ordner; }
    void SetUp() override { ASSERT_EQ(installation.exitCode, 0) << installation.ausgabe.toStdString(); }

    static inline QTemporaryDir* ordner = nullptr;
    static inline QString präfix;
    static inline Lauf installation;
};

} // namespace

TEST_F(Installation, LegtProgrammDatenEintragSymbolUndDateitypAb)
{
    QStringList erwartet = {"bin/kalvero",
                            "share/applications/kalvero.desktop",
                            "share/icons/hicolor/scalable/apps/kalvero.svg",
                            "share/mime/packages/kalvero.xml"};
    for (const int größe : {16, 32, 48, 64, 128, 256})
        erwartet << QStringLiteral("share/icons/hicolor/%1x%1/apps/kalvero.png").arg(größe);
    for (const QString& d : Dateien(QStringLiteral(KALVERO_QUELLEN) + "/share/kalvero"))
        erwartet << "share/kalvero/" + d;
    erwartet.sort();
    EXPECT_EQ(Dateien(präfix), erwartet);
    EXPECT_TRUE(QFileInfo(präfix + "/bin/kalvero").isExecutable());
    EXPECT_TRUE(QFileInfo::exists(präfix + "/share/kalvero/hilfe/index.htm"));
    EXPECT_TRUE(QFileInfo::exists(präfix + "/share/kalvero/Ineturl.dat"));
    // Each PNG has the size its folder names, and is the window's icon.
    for (const int größe : {16, 32, 48, 64, 128, 256}) {
        const QImage bild(präfix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/kalvero.png").arg(größe));
        EXPECT_EQ(bild.size(), QSize(größe, größe));
    }
    EXPECT_TRUE(Inhalt(präfix + "/share/icons/hicolor/scalable/apps/kalvero.svg").contains("<svg"));
}

TEST_F(Installation, DesktopEintragBestehtDiePrüfung)
{
    const QString eintrag = präfix + "/share/applications/kalvero.desktop";
    const Lauf prüfung = Ausführen("desktop-file-validate", {eintrag});
    EXPECT_EQ(prüfung.exitCode, 0) << "desktop-file-validate (desktop-file-utils) missing or failed";
    EXPECT_EQ(prüfung.ausgabe, QByteArray()) << "no warning either";
    const QList<QByteArray> zeilen = Inhalt(eintrag).split('\n');
    for (const char* zeile : {"Type=Application", "Exec=kalvero %f", "Icon=kalvero", "Categories=AudioVideo;Audio;",
                              "MimeType=application/x-kalvero-index;", "Name=Kalvero",
                              "Comment=Mediendateien im Index verwalten, suchen, taggen und abspielen"})
        EXPECT_TRUE(zeilen.contains(zeile)) << zeile;
}

// The shared-mime-info database built from the installed description alone
// knows "*.kvx" and an index file's first line.
TEST_F(Installation, DateitypKvxMitErsterZeile)
{
    const QString xml = präfix + "/share/mime/packages/kalvero.xml";
    const Lauf wohlgeformt = Ausführen("xmllint", {"--noout", xml});
    EXPECT_EQ(wohlgeformt.exitCode, 0) << "xmllint (libxml2-utils) missing or failed: " << wohlgeformt.ausgabe.toStdString();

    const QString mime = ordner->filePath("mime");
    ASSERT_TRUE(QDir().mkpath(mime + "/packages"));
    ASSERT_TRUE(QFile::copy(xml, mime + "/packages/kalvero.xml"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_DIRS", ordner->path()); // where it looks for the database: no note that it would not
    const Lauf datenbank = Ausführen("update-mime-database", {mime}, env);
    ASSERT_EQ(datenbank.exitCode, 0) << "update-mime-database (shared-mime-info) missing or failed";
    EXPECT_EQ(datenbank.ausgabe, QByteArray());
    EXPECT_TRUE(Inhalt(mime + "/globs2").split('\n').contains("50:application/x-kalvero-index:*.kvx"))
        << Inhalt(mime + "/globs2").toStdString();
    EXPECT_TRUE(Inhalt(mime + "/types").split('\n').contains("application/x-kalvero-index"));
    // The magic: priority and type, then the string at offset 0.
    const QByteArray magie = Inhalt(mime + "/magic");
    const qsizetype typ = magie.indexOf("[50:application/x-kalvero-index]\n");
    ASSERT_GE(typ, 0) << magie.toStdString();
    EXPECT_TRUE(magie.mid(typ).contains(QByteArray(">0=\0\x07#TAG:kv\n", 13)));
}

// The installed program, started as from the menu under a fresh home: it
// loads the index file given, and its default index and settings go to the
// user's folders, never into the prefix (which root could write).
TEST_F(Installation, InstalliertesProgrammLädtUndSchreibtNichtInsPräfix)
{
    const QStringList vorher = Dateien(präfix);
    QTemporaryDir heim;
    const QString kvx = heim.filePath("lieder.kvx");
    testhilfe::IndexDateiAnlegen(kvx, {"/nirgends/a.mp3", "/nirgends/b.mp3"});
    const QString ini = heim.filePath("XDG_CONFIG_HOME/Kalvero/Kalvero.conf");
    const auto starten = [&](const QStringList& argumente) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            env.insert(v, heim.filePath(v));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(präfix + "/bin/kalvero", argumente);
        if (!p.waitForStarted(5000))
            return false;
        QThread::msleep(1500); // start-up, up to its main window
        if (p.state() != QProcess::Running)
            return false;
        ::kill(pid_t(p.processId()), SIGTERM);
        if (!p.waitForFinished(10000))
            p.kill();
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    const auto einstellungen = [&](const QString& dateiname) {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("Start", VersionText().toInt());
        s.setValue("TippsAktueller", 0);
        s.setValue("DateiAutomatischSpeichern", 1);
        s.setValue("BeendenReaktion", 0);
        s.setValue("WinampPfad", "");
        s.setValue("Dateiname", dateiname);
    };

    // The index file as the menu entry passes it ("kalvero %f").
    einstellungen("");
    ASSERT_TRUE(starten({kvx}));
    const QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("Dateiname").toString(), kvx);
    const QByteArray geladen = Inhalt(kvx);
    EXPECT_TRUE(geladen.contains("/nirgends/a.mp3") && geladen.contains("/nirgends/b.mp3")) << geladen.toStdString();

    // No index named anywhere: the default one in the user's data folder.
    einstellungen("");
    ASSERT_TRUE(starten({}));
    const QString standard = heim.filePath("XDG_DATA_HOME/Kalvero/Kalvero/Kalvbox.kvx");
    EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Dateiname").toString(), standard);
    EXPECT_TRUE(Inhalt(standard).startsWith("#TAG:kv")) << "the new default index was saved there";

    EXPECT_EQ(Dateien(präfix), vorher) << "the program wrote into its prefix";
}

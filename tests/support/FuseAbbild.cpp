#include "support/FuseAbbild.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace testhilfe {

namespace {

QString Programm(const QString& name)
{
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

// Runs a program; its output when it ended with 0, else nothing and `fehler`.
bool Ausführen(const QString& programm, const QStringList& argumente, QString* ausgabe, QString& fehler)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        fehler = programm + ' ' + argumente.join(' ') + ": " + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    if (ausgabe)
        *ausgabe = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return true;
}

bool EigenesGerät(const QString& punkt)
{
    struct stat a, b;
    return ::stat(QFile::encodeName(punkt).constData(), &a) == 0
           && ::stat(QFile::encodeName(punkt + "/..").constData(), &b) == 0 && a.st_dev != b.st_dev;
}

} // namespace

FuseAbbild::FuseAbbild(Art art)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_grund = "/dev/fuse is missing or not usable";
        return;
    }
    const QString mkfs = Programm(art == Art::Fat ? "mkfs.fat" : "mkfs.exfat");
    const QString einhängen = Programm(art == Art::Fat ? "fusefat" : "mount.exfat-fuse");
    if (mkfs.isEmpty() || einhängen.isEmpty()) {
        m_grund = art == Art::Fat ? "fusefat or mkfs.fat (packages fusefat, dosfstools) missing"
                                  : "exfat-fuse or mkfs.exfat (packages exfat-fuse, exfatprogs) missing";
        return;
    }
    if (art == Art::ExFat && ::geteuid() != 0) {
        m_grund = "exfat-fuse mounts an image through a loop device: needs root";
        return;
    }
    if (!m_ordner.isValid()) {
        m_grund = "no temporary folder";
        return;
    }
    const QString abbild = m_ordner.filePath("abbild.img");
    m_punkt = m_ordner.filePath("medium");
    QDir().mkpath(m_punkt);
    {
        QFile f(abbild);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(64 << 20)) {
            m_grund = "cannot make the image file";
            return;
        }
    }
    if (!Ausführen(mkfs, art == Art::Fat ? QStringList{"-n", "KALVTEST", abbild} : QStringList{"-L", "KALVTEST", abbild},
                   nullptr, m_grund))
        return;
    QString gerät = abbild;
    if (art == Art::ExFat) {
        // Mounted by root, exfat-fuse asks for a block device.
        const QString losetup = Programm("losetup");
        if (losetup.isEmpty() || !Ausführen(losetup, {"-f", "--show", abbild}, &m_schleife, m_grund)) {
            m_grund = "no loop device for the exFAT image: " + m_grund;
            m_schleife.clear();
            return;
        }
        gerät = m_schleife;
    }
    const QStringList argumente = art == Art::Fat ? QStringList{"-s", "-o", "rw+", gerät, m_punkt} : QStringList{gerät, m_punkt};
    if (!Ausführen(einhängen, argumente, nullptr, m_grund))
        return;
    for (int i = 0; i < 50 && !EigenesGerät(m_punkt); ++i)
        ::usleep(100 * 1000);
    m_eingehängt = EigenesGerät(m_punkt);
    if (!m_eingehängt)
        m_grund = "the FUSE mount did not appear";
}

FuseAbbild::~FuseAbbild()
{
    if (EigenesGerät(m_punkt)) {
        QString fehler;
        const QString fusermount = Programm("fusermount").isEmpty() ? Programm("fusermount3") : Programm("fusermount");
        if (fusermount.isEmpty() || !Ausführen(fusermount, {"-u", m_punkt}, nullptr, fehler))
            Ausführen(Programm("umount"), {m_punkt}, nullptr, fehler);
    }
    if (!m_schleife.isEmpty()) {
        QString fehler;
        // The daemon lets go of the device a moment after the unmount.
        for (int i = 0; i < 50 && !Ausführen(Programm("losetup"), {"-d", m_schleife}, nullptr, fehler); ++i)
            ::usleep(100 * 1000);
    }
}

bool FuseAbbild::InodesVergessen()
{
    ::sync();
    QFile f("/proc/sys/vm/drop_caches");
    return f.open(QIODevice::WriteOnly) && f.write("2\n") == 2 && f.flush();
}

} // namespace testhilfe

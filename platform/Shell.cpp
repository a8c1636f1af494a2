#include "platform/Shell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace Shell {
namespace {
// How long an opener may take to fail at once. A desktop's opener hands the
// page on and ends; a plain xdg-open runs the browser itself and is still
// running then, which counts as opened.
constexpr int kFehlschlagFrist = 1000;

bool XdgOpenAusführen(const QUrl& url)
{
    const QString programm = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (programm.isEmpty())
        return false;
    auto* p = new QProcess(QCoreApplication::instance());
    p->setProgram(programm);
    p->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    p->setStandardInputFile(QProcess::nullDevice());
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    if (!p->waitForStarted(kFehlschlagFrist)) {
        delete p;
        return false;
    }
    if (p->waitForFinished(kFehlschlagFrist)) {
        const bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        delete p;
        return ok;
    }
    QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
    return true;
}
} // namespace

bool UrlÖffnen(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (const UrlÖffner& öffner = Dienst<UrlÖffnerDienst>())
        return öffner(url);
    return XdgOpenAusführen(url);
}

QUrl AlsUrl(const QString& s)
{
    if (s.contains(QLatin1String("://")) || s.startsWith(QLatin1String("mailto:")))
        return QUrl(s);
    return QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
}
} // namespace Shell

#include "platform/Shell.h"

#include <QFileInfo>
#include <QProcess>

namespace Shell {
bool UrlÖffnen(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (const UrlÖffner& öffner = Dienst<UrlÖffnerDienst>())
        return öffner(url);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

QUrl AlsUrl(const QString& s)
{
    if (s.contains(QLatin1String("://")) || s.startsWith(QLatin1String("mailto:")))
        return QUrl(s);
    return QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
}
} // namespace Shell

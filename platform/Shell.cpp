#include "platform/Shell.h"

#include <QFileInfo>
#include <QProcess>

namespace Shell {
namespace {
UrlÖffner& öffner()
{
    static UrlÖffner o;
    return o;
}
} // namespace

void UrlÖffnerSetzen(UrlÖffner o) { öffner() = std::move(o); }

bool UrlÖffnen(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (öffner())
        return öffner()(url);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

QUrl AlsUrl(const QString& s)
{
    if (s.contains(QLatin1String("://")) || s.startsWith(QLatin1String("mailto:")))
        return QUrl(s);
    return QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
}
} // namespace Shell

#pragma once
// Opening documents and web addresses with their standard program. The
// windows install the desktop's opener (QDesktopServices); without it,
// xdg-open is started.

#include "platform/Dienste.h"
#include <QUrl>
#include <functional>

namespace Shell {
using UrlÖffner = std::function<bool(const QUrl&)>;
struct UrlÖffnerDienst {
    using Typ = UrlÖffner;
};
bool UrlÖffnen(const QUrl& url);
// A local path or a web address as a URL.
QUrl AlsUrl(const QString& dateiOderAdresse);
} // namespace Shell

#pragma once
// Opening documents and web addresses with their standard program through
// the desktop's opener, xdg-open. It counts as opened only when the opener
// started and did not fail at once: QDesktopServices starts it detached and
// cannot tell.

#include "platform/Dienste.h"
#include <QUrl>
#include <functional>

namespace Shell {
using UrlÖffner = std::function<bool(const QUrl&)>;
struct UrlÖffnerDienst {
    using Typ = UrlÖffner;
};
// True when opened. A test may put its own opener in (the service).
bool UrlÖffnen(const QUrl& url);
// A local path or a web address as a URL.
QUrl AlsUrl(const QString& dateiOderAdresse);
} // namespace Shell

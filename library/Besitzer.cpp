#include "library/Besitzer.h"

#include <QPointer>

namespace {
QPointer<QObject>& besitzer()
{
    static QPointer<QObject> b;
    return b;
}
} // namespace

void BibliotheksBesitzerSetzen(QObject* b) { besitzer() = b; }
QObject* BibliotheksBesitzer() { return besitzer().data(); }

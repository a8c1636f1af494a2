#include "library/Besitzer.h"

QObject* BibliotheksBesitzer() { return Dienst<BibliotheksBesitzerDienst>().data(); }

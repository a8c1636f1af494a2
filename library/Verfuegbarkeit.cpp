#include "library/Verfuegbarkeit.h"

#include "core/Funktionen.h"

bool bolNichtVerfügbarAlleÜberspringen = false;

int DateiNichtVerfügbarPrüfen(const Index& index, qint32 lngEintrag, QObject*, bool bolFehlendÜberspringen)
{
    if (!index.GültigerEintrag(lngEintrag))
        return 2;
    if (DoesExist(index.strIndexPfad[size_t(lngEintrag)]))
        return 0;
    return bolFehlendÜberspringen ? 1 : 0;
}

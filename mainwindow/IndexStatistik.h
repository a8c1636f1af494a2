#pragma once
// The index statistics: one pass over the entries, four texts of figures.

#include "core/Index.h"

#include <QDate>
#include <QLocale>
#include <QString>

struct IndexStatistikTexte {
    QString anzahl;     // entries, and how many on removable media
    QString größen;     // total and average size
    QString spieldauer; // total and average playing time
    QString verwaltung; // newest, oldest, average age, files per day
};

// `heute` is the day ages are counted to; `gebietsschema` groups the byte
// figures and gives the decimal separator.
IndexStatistikTexte IndexStatistikBerechnen(const Index& idx, const QDate& heute,
                                            const QLocale& gebietsschema = QLocale());

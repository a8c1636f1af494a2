#pragma once
// Availability of an entry's file, also on removable media that may be absent.

#include "core/Index.h"

class QObject;

// Set by the answer "skip all" for the rest of a run; callers reset it before
// their loop.
extern bool bolNichtVerfügbarAlleÜberspringen;

// 0 = the file is there (go on), 1 = skip this entry, 2 = abort the run.
int DateiNichtVerfügbarPrüfen(const Index& index, qint32 lngEintrag, QObject* frmBesitzer,
                              bool bolFehlendÜberspringen);

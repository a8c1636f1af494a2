#pragma once
// Availability of an entry's file, also on removable media that may be absent.

#include "platform/Dienste.h"
#include "core/Index.h"

#include <QString>
#include <functional>
#include <sys/types.h>
#include <vector>

class QObject;

// Set by the answer "skip all" for the rest of a run; callers reset it before
// their loop.
extern bool bolNichtVerfügbarAlleÜberspringen;

// 0 = the file is there (go on), 1 = skip this entry, 2 = abort the run.
// A missing file that lies on no removable medium answers 1 when
// `bolFehlendÜberspringen`, else 0 (the caller meets the missing file). For
// one on an absent or removable medium the user is asked (setting
// `NichtVerfügbarFragen`), unless "skip all" was chosen in this run.
int DateiNichtVerfügbarPrüfen(const Index& index, qint32 lngEintrag, QObject* frmBesitzer,
                              bool bolFehlendÜberspringen);

// The answers of the question window.
enum class NichtVerfügbarAntwort { Verfügbar = 0, Überspringen = 1, Abbrechen = 2, AlleÜberspringen = 3 };

// Shows the question for `pfad` with `text`, owned by `besitzer`, and waits
// until the file appears or the user answers. The windows install the real
// dialog; without one every question answers "skip".
using NichtVerfügbarAbfrage = std::function<NichtVerfügbarAntwort(const QString& pfad, const QString& text, QObject* besitzer)>;
struct NichtVerfügbarDienst {
    using Typ = NichtVerfügbarAbfrage;
};

// The question's text for a file, its stored volume label and its drive root.
QString NichtVerfügbarText(const QString& pfad, const QString& datenträger, const QString& laufwerk);

// The root of the medium that holds (or would hold) a path: its mount point;
// "" for a path that is no absolute native path.
QString LaufwerkZurückgeben(const QString& pfad);

// 1 for a removable, optical or remote medium (also one that is absent), 0
// otherwise.
int IstWechsellaufwerk(const QString& strLaufwerk);

// The volume label of a medium for which IstWechsellaufwerk gives 1; "" for
// any other.
QString DatenträgerNameZurückgeben(const QString& strLaufwerk);
// The same for an existing file whose device number is known.
QString DatenträgerNameDerDatei(const QString& pfad, dev_t gerät);

// A file whose existence could not be checked, and the system's errno.
struct NichtErreichbar {
    QString pfad;
    int fehler = 0;
};

// "Die Datei '…' ist nicht erreichbar: " and the system's reason.
QString NichtErreichbarText(const QString& pfad, int fehler);

// One message about files that could not be checked and therefore do not
// count as missing (their entries stay); the first ten are named with their
// reasons, the rest counted. Nothing is shown for an empty list.
void NichtErreichbareMelden(const std::vector<NichtErreichbar>& dateien, QObject* besitzer);

#pragma once
// Message boxes, asked for by the logic and shown by whoever installed a
// handler: the windows install real message boxes, tests script the answers,
// tools print them. Caption is always the program title.

#include "platform/Dienste.h"
#include <QString>
#include <functional>
#include <optional>

class QObject;

enum class Knöpfe { OK, JaNein, JaNeinAbbrechen, OKAbbrechen };
enum class Symbol { Information, Ausruf, Frage, Kritisch };
enum class Antwort { OK, Ja, Nein, Abbrechen };

struct Meldung {
    QString text;
    Knöpfe knöpfe = Knöpfe::OK;
    Symbol symbol = Symbol::Information;
    QObject* besitzer = nullptr;
    // The button Enter presses; none named: the first.
    std::optional<Antwort> standard;
};

using MeldungsHandler = std::function<Antwort(const Meldung&)>;

// Shows a message box and returns the button pressed.
Antwort MeldungZeigen(const QString& text, Knöpfe knöpfe = Knöpfe::OK,
                      Symbol symbol = Symbol::Information, QObject* besitzer = nullptr,
                      std::optional<Antwort> standard = std::nullopt);

// Installs a handler; returns the one it replaces. Without one, messages go
// to stderr and questions get their default button (the first, OK or Ja,
// unless the message names another).
struct MeldungsDienst {
    using Typ = MeldungsHandler;
};

// The text of a run-time failure in a message: description, " (Fehler ", number, ")".
QString FehlerText(const QString& beschreibung, int nummer);

// The system's error number as a user reads it: German for the failures met
// when moving, copying, renaming, writing tags and saving; the system's own
// text for the rest. Every path that reports an errno goes through here.
QString SystemfehlerBeschreibung(int nummer);

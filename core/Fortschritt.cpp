#include "core/Fortschritt.h"

#include "core/Einstellungen.h"

#include <QCoreApplication>
#include <cmath>

bool bolAbbruch = false;

namespace {
FortschrittZustand g_z;
bool g_ereignisseLaufen = false;
// A run that started and has not ended, whether its window shows or not:
// a close that comes while it waits on a question waits for its end.
bool g_läuft = false;

// Events that run from inside a progress run see it as running, also when no
// window shows it.
void ereignisse()
{
    if (!Dienst<FortschrittAnzeigeDienst>())
        return;
    const bool vorher = g_ereignisseLaufen;
    g_ereignisseLaufen = true;
    Dienst<FortschrittAnzeigeDienst>()->EreignisseVerarbeiten();
    g_ereignisseLaufen = vorher;
}
} // namespace

void FortschrittAnzeige::EreignisseVerarbeiten()
{
    QCoreApplication::processEvents();
}

const FortschrittZustand& FortschrittZustandLesen() { return g_z; }
bool FortschrittLäuft() { return g_z.sichtbar || g_läuft || g_ereignisseLaufen; }

bool FortschrittZeigenStarten(qint32 lngZielwert, bool bolAbbrechenMöglich, QObject* frmAufrufer,
                              bool bolBalkenZurücksetzen, bool bolTextZeigen, const QString& strText)
{
    g_z.balkenSichtbar = false;
    if (g_z.abbrechenSichtbar && !bolAbbrechenMöglich)
        g_z.abbrechenSichtbar = false;
    bolAbbruch = false;
    if (bolBalkenZurücksetzen) {
        g_z.balkenBreite = 0;
        if (lngZielwert < 0) {
            if (Dienst<FortschrittAnzeigeDienst>() && g_z.sichtbar)
                Dienst<FortschrittAnzeigeDienst>()->Aktualisieren(g_z);
            return false;
        }
        g_z.zielwert = lngZielwert;
    }
    g_z.abbrechenMöglich = bolAbbrechenMöglich;
    g_z.balkenModus = bolBalkenZurücksetzen;
    g_z.textZeigen = bolTextZeigen;
    g_z.textSichtbar = bolTextZeigen;
    g_z.überschrift = strText;
    g_läuft = true;

    if (!g_z.sichtbar && einstellungen().StartBildschirm == 1 && Dienst<FortschrittAnzeigeDienst>()) {
        g_z.sichtbar = true;
        Dienst<FortschrittAnzeigeDienst>()->Zeigen(frmAufrufer, g_z);
    } else if (Dienst<FortschrittAnzeigeDienst>() && g_z.sichtbar) {
        Dienst<FortschrittAnzeigeDienst>()->Aktualisieren(g_z);
    }
    ereignisse();
    return true;
}

bool FortschrittZeigen(double varPosition, const QString& strText, QObject* frmAufrufer)
{
    if (!g_z.sichtbar) {
        // Nothing shown: with the display switched off the loop goes on;
        // otherwise the display is gone (ended by another run) and it stops.
        // A loop that goes on after an inner run ended is still a run.
        const bool aus = einstellungen().StartBildschirm == 0;
        if (aus && Dienst<FortschrittAnzeigeDienst>())
            g_läuft = true;
        return aus || !Dienst<FortschrittAnzeigeDienst>();
    }
    if (g_z.balkenSichtbar != g_z.balkenModus)
        g_z.balkenSichtbar = g_z.balkenModus;
    if (g_z.balkenSichtbar && g_z.zielwert > 0) {
        // A target of 0 has no bar to fill: it stays empty and the loop goes on.
        const double breite = std::nearbyint(varPosition * (100.0 / g_z.zielwert) * (kBalkenBreiteVoll / 100.0));
        if (std::isfinite(breite) && breite > g_z.balkenBreite + 10)
            g_z.balkenBreite = int(std::min(breite, 1e9));
    }
    g_z.textSichtbar = g_z.textZeigen;
    if (g_z.textSichtbar)
        g_z.text = strText;
    g_z.abbrechenSichtbar = g_z.abbrechenMöglich;
    if (Dienst<FortschrittAnzeigeDienst>())
        Dienst<FortschrittAnzeigeDienst>()->Aktualisieren(g_z);

    if (!bolAbbruch) {
        ereignisse();
        return true;
    }
    FortschrittZeigenBeenden(frmAufrufer);
    return false;
}

void FortschrittZeigenBeenden(QObject* frmAufrufer)
{
    if (g_z.sichtbar) {
        g_z.sichtbar = false;
        if (Dienst<FortschrittAnzeigeDienst>())
            Dienst<FortschrittAnzeigeDienst>()->Verbergen(frmAufrufer);
    }
    g_läuft = false;
    bolAbbruch = false;
}

void FortschrittAbbrechen()
{
    bolAbbruch = true;
}

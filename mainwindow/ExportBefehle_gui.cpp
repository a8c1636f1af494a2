#include "mainwindow/ExportBefehle_gui.h"

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "mainwindow/Suche.h"
#include "mainwindow/frmMain.h"
#include "player/frmAutoDJ.h"
#include "player/frmExportieren.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

QStringList ExportSpalten(const frmMain* f)
{
    std::vector<ListenSpalte> spalten = f->ListenSpalten();
    std::stable_sort(spalten.begin(), spalten.end(),
                     [](const ListenSpalte& a, const ListenSpalte& b) { return a.position < b.position; });
    QStringList namen;
    for (const ListenSpalte& s : spalten)
        namen << SpaltenFeld(s);
    return namen;
}

void BefehlExportieren(frmMain* f)
{
    f->AuswahlErmitteln();
    const ListenZustand& z = listenZustand();
    std::vector<qint32> auswahl;
    const qint32 n = std::min<qint32>(z.lngAuswahlAnzahl, qint32(z.lngAuswahlEintrag.size()) - 1);
    for (qint32 i = 1; i <= n; ++i)
        auswahl.push_back(z.lngAuswahlEintrag[size_t(i)]);
    if (!auswahl.empty())
        ExportierenVorbereiten(auswahl, ExportSpalten(f), f);
}

void AutoDJVorbereiten(frmAutoDJ* d, const frmMain* f)
{
    const Einstellungen& e = einstellungen();
    d->cboZeiteinheit->setCurrentIndex(0);
    d->GenresSetzen(FeldWerteSammeln(hauptIndex(), QStringLiteral("Genre-ID3v2"), QStringLiteral("Genre")));
    d->txtMaximum->setText(e.AutoDJFindeAnzahl);
    d->txtZeit->setText(e.AutoDJAuslassenZeit);
    const int einheit = e.AutoDJAuslassenGröße;
    d->cboZeiteinheit->setCurrentIndex(einheit >= 0 && einheit < d->cboZeiteinheit->count() ? einheit : 2);
    d->chkAlteSeltener->setChecked(e.AutoDJAuslassenVorKurzem != 0);
    d->chkSehrAlteHäufiger->setChecked(e.AutoDJFindenVorLängerem != 0);
    const QPointer<const frmMain> haupt(f);
    d->exportSpalten = [haupt] { return haupt ? ExportSpalten(haupt) : QStringList(); };
    d->cmdZurück_Click();
}

void BefehlAutoDJ(frmMain* f)
{
    frmAutoDJ d(f);
    AutoDJVorbereiten(&d, f);
    d.exec();
}

void ExportUndAutoDJVerbinden(frmMain* f)
{
    f->BefehlVerbinden(f->cmdExportieren, [f] { BefehlExportieren(f); });
    f->BefehlVerbinden(f->cmdAutoDJ, [f] { BefehlAutoDJ(f); });
}

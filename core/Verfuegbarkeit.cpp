#include "core/Verfuegbarkeit.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "platform/Laufwerke.h"

bool bolNichtVerfügbarAlleÜberspringen = false;

namespace {

QString NameWennWechsel(const Laufwerke::Medium& m)
{
    return m.wechsel ? SteuerzeichenEntfernen(m.name, true) : QString();
}

constexpr size_t kNichtErreichbarGenannt = 10;

} // namespace

QString NichtErreichbarText(const QString& pfad, int fehler)
{
    return QStringLiteral("Die Datei '") + pfad + QStringLiteral("' ist nicht erreichbar: ")
        + FehlerText(SystemfehlerBeschreibung(fehler), fehler);
}

void NichtErreichbareMelden(const std::vector<NichtErreichbar>& dateien, QObject* besitzer)
{
    if (dateien.empty())
        return;
    QString text = QString::number(dateien.size())
        + QStringLiteral(" Datei(en) konnten nicht geprüft werden und gelten daher nicht als fehlend; ihre "
                         "Einträge bleiben erhalten:");
    for (size_t i = 0; i < dateien.size() && i < kNichtErreichbarGenannt; ++i)
        text += QStringLiteral("\n'") + dateien[i].pfad + QStringLiteral("': ")
            + FehlerText(SystemfehlerBeschreibung(dateien[i].fehler), dateien[i].fehler);
    if (dateien.size() > kNichtErreichbarGenannt)
        text += QStringLiteral("\n… und ") + QString::number(dateien.size() - kNichtErreichbarGenannt)
            + QStringLiteral(" weitere");
    MeldungZeigen(text, Knöpfe::OK, Symbol::Ausruf, besitzer);
}


QString NichtVerfügbarText(const QString& pfad, const QString& datenträger, const QString& laufwerk)
{
    const QString medium = datenträger.isEmpty() ? QStringLiteral("den Quelldatenträger")
                                                 : QStringLiteral("den Datenträger '") + datenträger + QLatin1Char('\'');
    return QStringLiteral("Die Datei '") + pfad + QStringLiteral("' ist zurzeit nicht verfügbar.\nBitte legen Sie ") + medium
         + QStringLiteral(" in Laufwerk '") + laufwerk
         + QStringLiteral("' ein bzw. stellen Sie die Verfügbarkeit des Laufwerkes sicher, um den Vorgang fortzusetzen "
                          "oder ändern Sie den Indexeintrag bzw. löschen Sie diesen.");
}

QString LaufwerkZurückgeben(const QString& pfad)
{
    return Laufwerke::MediumZurückgeben(pfad).wurzel;
}

int IstWechsellaufwerk(const QString& strLaufwerk)
{
    if (strLaufwerk.isEmpty())
        return 0;
    return Laufwerke::MediumZurückgeben(strLaufwerk).wechsel ? 1 : 0;
}

QString DatenträgerNameZurückgeben(const QString& strLaufwerk)
{
    if (strLaufwerk.isEmpty())
        return QString();
    return NameWennWechsel(Laufwerke::MediumZurückgeben(strLaufwerk));
}

QString DatenträgerNameDerDatei(const QString& pfad, dev_t gerät)
{
    return NameWennWechsel(Laufwerke::MediumVonGerät(gerät, pfad));
}

int DateiNichtVerfügbarPrüfen(const Index& index, qint32 lngEintrag, QObject* frmBesitzer, bool bolFehlendÜberspringen)
{
    if (!index.GültigerEintrag(lngEintrag))
        return 2;
    const QString pfad = index.strIndexPfad[size_t(lngEintrag)];
    if (DoesExist(pfad))
        return 0;
    const int fehlend = bolFehlendÜberspringen ? 1 : 0;
    const Laufwerke::Medium medium = Laufwerke::MediumZurückgeben(pfad);
    if (!medium.wechsel)
        return fehlend;
    if (einstellungen().NichtVerfügbarFragen == 0 || bolNichtVerfügbarAlleÜberspringen)
        return 1;
    const QString text = NichtVerfügbarText(pfad, index.IndexDaten[size_t(lngEintrag)].Datei_Datenträger, medium.wurzel);
    const NichtVerfügbarAntwort antwort = Dienst<NichtVerfügbarDienst>() ? Dienst<NichtVerfügbarDienst>()(pfad, text, frmBesitzer) : NichtVerfügbarAntwort::Überspringen;
    switch (antwort) {
    case NichtVerfügbarAntwort::Verfügbar: return 0;
    case NichtVerfügbarAntwort::Überspringen: return 1;
    case NichtVerfügbarAntwort::Abbrechen: return 2;
    case NichtVerfügbarAntwort::AlleÜberspringen: break;
    }
    bolNichtVerfügbarAlleÜberspringen = true;
    return 1;
}

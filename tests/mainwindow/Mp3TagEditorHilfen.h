#pragma once
// What the tag editor's window tests share: the editor over made files in a
// fresh index, a list that only counts its refreshes, scripted answers to
// the message boxes, and clicks as a user makes them.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/ListenEingabe_gui.h"
#include "media/MedienInfosLesen.h"
#include "media/Mp3TagStapel.h"
#include "media/frmMp3Tag.h"
#include "platform/Klicks.h"
#include "support/IndexDateiHilfen.h"
#include "support/Mp3Bauer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using testhilfe::DateiInhalt;

class Listenattrappe : public ListenAnzeige {
public:
    void SucheAktualisieren(bool) override { ++suchen; }
    void ListeErstellenAktualisieren(qint32 von, qint32 bis) override { zeilen = {von, bis}; }
    void NeueInListeMarkieren(qint32) override {}
    void AuswahlErmitteln() override {}
    void BeschreibungAktualisieren() override {}
    int suchen = 0;
    std::pair<qint32, qint32> zeilen{0, 0};
};

// Runs `tun` once a dialog of type D owned by `besitzer` is open (a batch
// run lets events run before it opens one); gives up after 5 seconds.
template <class D>
void ImDialog(QWidget* besitzer, std::function<void(D*)> tun, int versuche = 500)
{
    QTimer::singleShot(versuche == 500 ? 0 : 10, besitzer, [besitzer, tun, versuche] {
        for (D* d : besitzer->findChildren<D*>())
            if (d->isVisible())
                return tun(d);
        if (versuche > 0)
            ImDialog<D>(besitzer, tun, versuche - 1);
    });
}

// The tag editor over files of a temporary folder; its settings as a new
// user has them (no automatic saving), without the software field.
class Mp3TagFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        StandardwerteSetzen();
        NeuerIndex();
        einstellungen() = StandardEinstellungen();
        einstellungen().TAGsSoftwareFeldSchreiben = 0;
        f = mp3TagFenster();
    }
    void TearDown() override
    {
        f->hide();
        hauptIndex() = Index();
        einstellungen() = StandardEinstellungen();
    }
    static void NeuerIndex()
    {
        hauptIndex() = Index();
        hauptIndex().strDateiTypen = standardwerte().strStandardDateiTypen;
        hauptIndex().strDateiTypArten = standardwerte().strStandardDateiTypArten;
    }

    // The record as the index holds it after adding the file with the tag
    // read flags `tags` ("10": ID3v1 only).
    MedienInfo Lesen(const QString& pfad, const QString& tags = QStringLiteral("11"))
    {
        return MedienInfosLesen(hauptIndex(), pfad, LeereMedienInfo(), tags, false, QStringLiteral("1"), QStringLiteral("1"));
    }
    qint32 Eintrag(const QString& name, const QByteArray& daten, const QString& tags = QStringLiteral("11"))
    {
        const QString pfad = Mp3Bauer::DateiSchreiben(ordner, name, daten);
        return hauptIndex().EintragAnhängen(pfad, Lesen(pfad, tags), 1);
    }
    QString Pfad(qint32 eintrag) const { return hauptIndex().strIndexPfad[size_t(eintrag)]; }
    // What the file holds now.
    MedienInfo AusDatei(qint32 eintrag) { return Lesen(Pfad(eintrag)); }

    void Öffnen(const std::vector<qint32>& einträge)
    {
        ASSERT_TRUE(f->Öffnen(einträge));
        f->show();
        meldungen.clear();
    }
    void AutomatischSpeichern(bool an)
    {
        for (QCheckBox* c :
             {f->chkAutomatischSpeichern, f->chkAutomatischSpeichernV2, f->chkAutomatischSpeichernFelder})
            c->setChecked(an);
    }
    // Types `text` over what the box holds.
    static void Überschreiben(QLineEdit* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    // A batch function run by the panel's lists and button.
    void Ausführen(int funktion, int ziel)
    {
        ZeileKlicken(f->cboFunktion, funktion);
        ZeileKlicken(f->cboFunktionTAG, ziel);
        Klicken(f->cmdFunktionAusführen);
    }

    QTemporaryDir ordner;
    frmMp3Tag* f = nullptr;
    Listenattrappe liste;
    DienstErsetzen<ListenAnzeigeDienst> listenDienst{&liste};
    // Every text shown; questions answered by `antworten` (Ja by default).
    QStringList meldungen;
    std::function<Antwort(const QString&)> antworten = [](const QString&) { return Antwort::Ja; };
    DienstErsetzen<MeldungsDienst> meldungsDienst{[this](const Meldung& m) {
        meldungen << m.text;
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : antworten(m.text);
    }};
};

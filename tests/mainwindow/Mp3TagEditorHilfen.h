#pragma once
// What the tag editor's window tests share: the editor over made files in a
// fresh index, a list that only counts its refreshes, scripted answers to
// the message boxes, and clicks as a user makes them.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"
#include "media/frmMp3Tag.h"
#include "support/Mp3Bauer.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

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

// A click of the left mouse button in the middle of a button or check box.
inline void Klicken(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

// A click on a row of a list box, scrolled into view first.
inline void ZeileKlicken(QListWidget* l, int zeile)
{
    QListWidgetItem* item = l->item(zeile);
    l->scrollToItem(item);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(item).center());
}

// Runs `tun` once a dialog of type D owned by `besitzer` is open (a batch
// run lets events run before it opens one); gives up after 5 seconds.
template <class D>
void ImDialog(QWidget* besitzer, std::function<void(D*)> tun, int versuche = 500)
{
    QTimer::singleShot(versuche == 500 ? 0 : 10, besitzer, [besitzer, tun, versuche] {
        for (D* d : besitzer->findChildren<D*>())
            if (d->isVisible()) {
                tun(d);
                return;
            }
        if (versuche > 0)
            ImDialog<D>(besitzer, tun, versuche - 1);
    });
}

inline QByteArray DateiInhalt(const QString& pfad)
{
    QFile d(pfad);
    return d.open(QIODevice::ReadOnly) ? d.readAll() : QByteArray();
}

// The tag editor over files of a temporary folder; its settings as a new
// user has them, no automatic saving.
class Mp3TagFensterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        StandardwerteSetzen();
        hauptIndex() = Index();
        hauptIndex().strDateiTypen = standardwerte().strStandardDateiTypen;
        hauptIndex().strDateiTypArten = standardwerte().strStandardDateiTypArten;
        einstellungen() = StandardEinstellungen();
        f = mp3TagFenster();
        for (QCheckBox* c : {f->chkAutomatischSpeichern, f->chkAutomatischSpeichernV2, f->chkAutomatischSpeichernFelder})
            c->setChecked(false);
    }
    void TearDown() override
    {
        if (f->isVisible())
            f->hide();
        hauptIndex() = Index();
        einstellungen() = StandardEinstellungen();
    }

    // The record as the index holds it after adding the file with the tag
    // read flags `tags` ("10": ID3v1 only, as a new user's settings say).
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

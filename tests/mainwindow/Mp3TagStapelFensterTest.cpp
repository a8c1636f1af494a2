// The batch panel of the tag editor on made files: an all-files run saves
// both tags of every file but the last, AutoTAG fills the pages, the field
// copy dialog's values reach every file.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/MedienInfosLesen.h"
#include "media/Mp3TagStapel.h"
#include "media/frmMp3Tag.h"
#include "media/frmMp3TagAutoTagWaehlen.h"
#include "media/frmMp3TagFeldFuellen.h"
#include "support/Mp3Bauer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

namespace {

class Listenattrappe : public ListenAnzeige {
public:
    void SucheAktualisieren(bool) override {}
    void ListeErstellenAktualisieren(qint32, qint32) override {}
    void NeueInListeMarkieren(qint32) override {}
    void AuswahlErmitteln() override {}
    void BeschreibungAktualisieren() override {}
};

class StapelFenster : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        StandardwerteSetzen();
        hauptIndex() = Index();
        hauptIndex().strDateiTypen = standardwerte().strStandardDateiTypen;
        hauptIndex().strDateiTypArten = standardwerte().strStandardDateiTypArten;
        einstellungen() = StandardEinstellungen();
        einstellungen().TAGsSoftwareFeldSchreiben = 0;
        f = mp3TagFenster();
        f->chkAutomatischSpeichern->setChecked(false);
        f->chkAutomatischSpeichernV2->setChecked(false);
        f->chkAutomatischSpeichernFelder->setChecked(false);
        for (const char* name : {"Band - Eins.mp3", "Band - Zwei.mp3", "Band - Drei.mp3"}) {
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", QStringLiteral("titel")), TextFrame("TPE1", QStringLiteral("band"))};
            t.padding = 100;
            const QString pfad = DateiSchreiben(ordner, name, t.Bytes() + Frames(Frame(), 20) +
                                                                  Id3v1Block({.titel = "titel", .interpret = "band"}));
            einträge.push_back(hauptIndex().EintragAnhängen(pfad, Lesen(pfad), 1));
        }
    }
    void TearDown() override
    {
        if (f->isVisible())
            f->hide();
        hauptIndex() = Index();
        einstellungen() = StandardEinstellungen();
    }
    MedienInfo Lesen(const QString& pfad)
    {
        return MedienInfosLesen(hauptIndex(), pfad, LeereMedienInfo(), QStringLiteral("11"), false,
                                QStringLiteral("1"), QStringLiteral("1"));
    }
    MedienInfo Datei(int i) { return Lesen(hauptIndex().strIndexPfad[size_t(einträge[size_t(i)])]); }
    void Ausführen(int funktion, int ziel)
    {
        f->cboFunktion->setCurrentRow(funktion);
        if (ziel >= 0)
            f->cboFunktionTAG->setCurrentRow(ziel);
        else
            f->cboFunktionTAG->clearSelection();
        f->cmdFunktionAusführen->click();
    }

    QTemporaryDir ordner;
    frmMp3Tag* f = nullptr;
    std::vector<qint32> einträge;
    Listenattrappe liste;
    DienstErsetzen<ListenAnzeigeDienst> listenDienst{&liste};
    QStringList meldungen;
    DienstErsetzen<MeldungsDienst> meldungsDienst{[this](const Meldung& m) {
        meldungen << m.text;
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
    }};
};

} // namespace

TEST_F(StapelFenster, PanelLists)
{
    ASSERT_TRUE(f->Öffnen(einträge));
    EXPECT_EQ(f->cboFunktion->count(), 11);
    EXPECT_EQ(f->cboFunktionTAG->count(), 6);
    EXPECT_EQ(f->cmdFunktionAusführen->text(), "&Funktion ausführen");
    f->cboFunktion->setCurrentRow(FunktionAutoTagEinstellen);
    f->cboFunktion_Click();
    EXPECT_TRUE(f->cboFunktionTAG->isHidden());
    f->cboFunktion->setCurrentRow(FunktionGroß);
    EXPECT_FALSE(f->cboFunktionTAG->isHidden()) << "follows a choice by the keyboard";
}

TEST_F(StapelFenster, AllFilesSavesBothTagsOfEveryFileButTheLast)
{
    ASSERT_TRUE(f->Öffnen(einträge));
    Ausführen(FunktionGroß, 5);
    for (int i : {0, 1}) {
        const MedienInfo m = Datei(i);
        EXPECT_EQ(m.Mp3_ID3v1_Titel, "TITEL") << i;
        EXPECT_EQ(m.Mp3_ID3v2_Titel, "TITEL") << i << ": no ID3v2 change is lost";
        EXPECT_EQ(m.Mp3_ID3v2_Interpret, "BAND") << i;
    }
    EXPECT_EQ(Datei(2).Mp3_ID3v2_Titel, "titel") << "the last file is left to the user";
    EXPECT_EQ(f->txtv2Titel->text(), "TITEL");
    EXPECT_EQ(f->txtDateiname->currentIndex(), 2);
}

TEST_F(StapelFenster, AutoTagFillsThePagesOfTheFileShown)
{
    einstellungen().AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
    ASSERT_TRUE(f->Öffnen(einträge));
    Ausführen(FunktionAutoTag, 2);
    EXPECT_EQ(f->txtTitel->text(), "Eins");
    EXPECT_EQ(f->txtv2Interpret->text(), "Band");
    EXPECT_EQ(Datei(0).Mp3_ID3v1_Titel, "titel") << "nothing saved for one file";
}

TEST_F(StapelFenster, FieldCopyIntoAllFiles)
{
    ASSERT_TRUE(f->Öffnen(einträge));
    f->txtv2Interpret->setText(QStringLiteral("Neue Band"));
    f->Speichern(false, true, true);
    // The run lets events run before the dialog opens: wait for it.
    std::function<void()> imDialog = [&] {
        auto* d = f->findChild<frmMp3TagFeldFüllen*>();
        if (!d || !d->isVisible()) {
            QTimer::singleShot(10, imDialog);
            return;
        }
        d->lstFelder->setCurrentRow(TagFelder::Interpret);
        EXPECT_EQ(d->txtInhalt->toPlainText(), "ID3v1: 'band'\nID3v2: 'Neue Band'") << "the preview of the first file";
        d->lstFelder->clearSelection();
        d->lstFelder->item(TagFelder::Interpret)->setSelected(true);
        d->cmdOk->click();
    };
    QTimer::singleShot(0, imDialog);
    Ausführen(FunktionFelderKopieren, 4);
    EXPECT_EQ(Datei(1).Mp3_ID3v2_Interpret, "Neue Band");
    EXPECT_EQ(Datei(1).Mp3_ID3v1_Interpret, "band") << "only ID3v2 saved";
    EXPECT_EQ(f->txtv2Interpret->text(), "Neue Band");
    EXPECT_EQ(f->txtInterpret->text(), "band") << "the ID3v1 box of the first file held 'band'";
}

TEST_F(StapelFenster, SetupOpensTheChooserOverTheEditor)
{
    ASSERT_TRUE(f->Öffnen(einträge));
    einstellungen().AutoTagAktuell.clear();
    std::function<void()> imDialog = [&] {
        frmMp3TagAutoTagWählen* w = autoTagWählenFenster();
        if (!w || !w->isVisible()) {
            QTimer::singleShot(10, imDialog);
            return;
        }
        EXPECT_EQ(w->parentWidget(), f);
        EXPECT_EQ(w->lstFormat->count(), einstellungen().AutoTagFormate.size());
        w->lstFormat->setCurrentRow(2);
        w->cmdOk->click();
    };
    QTimer::singleShot(0, imDialog);
    Ausführen(FunktionAutoTagEinstellen, -1);
    EXPECT_EQ(einstellungen().AutoTagAktuell, einstellungen().AutoTagFormate.value(2));
    EXPECT_FALSE(einstellungen().AutoTagAktuell.isEmpty());
}

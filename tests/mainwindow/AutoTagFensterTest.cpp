// The AutoTAG chooser and the exclusion list: what reaches the settings.

#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "media/AutoTag.h"
#include "media/frmAusschlussliste.h"
#include "media/frmMp3TagAutoTagWaehlen.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class AutoTagFenster : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandardwerteSetzen();
        alt = einstellungen();
        Einstellungen& e = einstellungen();
        e.AutoTagFormate = {"\\%Titel%", "\\%Interpret% - %Titel%"};
        e.AutoTagLeer = 0;
        e.AutoTagAktuell = QStringLiteral("\\%Interpret% - %Titel%");
        e.AutoTagFelderLöschen = 1;
        e.AutoTagUnterstrichEntfernen = 0;
        e.AutoTagAusschluß = {"Songs"};
        e.AutoTagAusschlußLeer = 0;
        w = std::make_unique<frmMp3TagAutoTagWählen>(nullptr);
        w->Vorbereiten();
        w->show();
    }
    void TearDown() override
    {
        w.reset();
        einstellungen() = alt;
    }
    // Runs `schritte` once the next modal window is up.
    static void Dann(std::function<void()> schritte) { QTimer::singleShot(0, schritte); }
    static QStringList Einträge(const QListWidget* l) { return ListenEinträge(l); }

    Einstellungen alt;
    std::unique_ptr<frmMp3TagAutoTagWählen> w;
    QStringList meldungen;
    Antwort antwort = Antwort::Ja;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        meldungen << m.text;
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : antwort;
    }};
};

} // namespace

TEST_F(AutoTagFenster, FilledFromTheSettings)
{
    EXPECT_EQ(w->windowTitle(), "AutoTAG einstellen");
    EXPECT_EQ(Einträge(w->lstFormat), einstellungen().AutoTagFormate);
    EXPECT_EQ(GewählteZeile(w->lstFormat), 1);
    EXPECT_TRUE(w->chkAutoTagFelderLöschen->isChecked());
    EXPECT_FALSE(w->chkUnterstricheEntfernen->isChecked());
    einstellungen().AutoTagAktuell = QStringLiteral("\\%titel%"); // exact comparison
    w->Vorbereiten();
    EXPECT_EQ(GewählteZeile(w->lstFormat), -1);
    einstellungen().AutoTagLeer = 1;
    w->Vorbereiten();
    EXPECT_EQ(w->lstFormat->count(), 0);
}

TEST_F(AutoTagFenster, OkTakesListAndOptionsOver)
{
    w->lstFormat->setCurrentRow(0);
    w->chkUnterstricheEntfernen->setChecked(true);
    w->cmdOk->click();
    EXPECT_FALSE(w->isVisible());
    const Einstellungen& e = einstellungen();
    EXPECT_EQ(e.AutoTagAktuell, "\\%Titel%");
    EXPECT_EQ(e.AutoTagUnterstrichEntfernen, 1);
    EXPECT_EQ(e.AutoTagFelderLöschen, 1);
    EXPECT_EQ(e.AutoTagLeer, 0);
}

TEST_F(AutoTagFenster, OkWithoutSelectionStoresNothing)
{
    w->lstFormat->clear();
    w->cmdOk_Click();
    EXPECT_EQ(meldungen, QStringList{"Bitte wählen Sie ein Format oder fügen Sie eines hinzu."});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(einstellungen().AutoTagFormate.size(), 2);
}

TEST_F(AutoTagFenster, CancelKeepsTheSettings)
{
    w->lstFormat->addItem(QStringLiteral("\\%Album%"));
    w->lstFormat->setCurrentRow(2);
    w->cmdAbbrechen->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(einstellungen().AutoTagFormate.size(), 2);
    EXPECT_EQ(einstellungen().AutoTagAktuell, "\\%Interpret% - %Titel%");
}

TEST_F(AutoTagFenster, AddChangeRemoveFormats)
{
    Dann([this] {
        ASSERT_TRUE(w->eingabe->isVisible());
        EXPECT_EQ(w->eingabe->windowTitle(), "Format hinzufügen");
        EXPECT_TRUE(w->eingabe->chkHinzu->isChecked());
        EXPECT_TRUE(w->eingabe->txtFormat->text().isEmpty());
        w->eingabe->cmdOk->click(); // empty: stays open
        EXPECT_TRUE(w->eingabe->isVisible());
        w->eingabe->txtFormat->setText(QStringLiteral("\\%Titel%")); // a duplicate is added again
        w->eingabe->cmdOk->click();
    });
    w->cmdAutoTagHinzufügen_Click();
    EXPECT_EQ(meldungen, QStringList{"Bitte geben Sie einen Text ein."});
    EXPECT_EQ(Einträge(w->lstFormat).count("\\%Titel%"), 2);
    EXPECT_EQ(GewählteZeile(w->lstFormat), 2);

    Dann([this] {
        EXPECT_EQ(w->eingabe->windowTitle(), "Format ändern");
        EXPECT_FALSE(w->eingabe->chkHinzu->isChecked());
        EXPECT_EQ(w->eingabe->txtFormat->text(), "\\%Titel%");
        w->eingabe->txtFormat->setText(QStringLiteral("\\%Album%\\%Titel%"));
        w->eingabe->cmdOk->click();
    });
    w->cmdAutoTagÄndern_Click();
    EXPECT_EQ(w->lstFormat->item(2)->text(), "\\%Album%\\%Titel%");

    antwort = Antwort::Nein;
    w->cmdAutoTagEntfernen_Click();
    EXPECT_EQ(w->lstFormat->count(), 3);
    antwort = Antwort::Ja;
    w->cmdAutoTagEntfernen_Click();
    EXPECT_EQ(w->lstFormat->count(), 2);
    EXPECT_EQ(meldungen.mid(1), (QStringList{"Möchten Sie den gewählten Eintrag entfernen?",
                                             "Möchten Sie den gewählten Eintrag entfernen?"}));
}

TEST_F(AutoTagFenster, ChangeAndRemoveNeedASelection)
{
    w->lstFormat->clearSelection();
    w->cmdAutoTagÄndern_Click();
    w->cmdAutoTagEntfernen_Click();
    EXPECT_EQ(meldungen, (QStringList{"Bitte wählen Sie einen Listeneintrag.", "Bitte wählen Sie einen Listeneintrag."}));
    EXPECT_EQ(w->lstFormat->count(), 2);
}

TEST_F(AutoTagFenster, AutomaticFormatOnce)
{
    const QString zweite = QStringLiteral("Mit diesem können Sie eine intelligente automatische Ereknnung des ID3-TAGs "
                                          "ohne ein spezifisches Format durchführen.");
    w->cmdAutomatikHinzufügen_Click();
    EXPECT_EQ(w->lstFormat->item(2)->text(), "%Automatik%");
    EXPECT_EQ(GewählteZeile(w->lstFormat), 1) << "the added entry is not selected";
    w->lstFormat->item(2)->setText(QStringLiteral("%AUTOMATIK%"));
    w->cmdAutomatikHinzufügen_Click();
    EXPECT_EQ(w->lstFormat->count(), 3);
    EXPECT_EQ(GewählteZeile(w->lstFormat), 2);
    EXPECT_EQ(meldungen, (QStringList{"Das Format '%Automatik%' wurde hinzugefügt.\n" + zweite,
                                      "Das Format '%Automatik%' besteht bereits in der Liste.\n" + zweite}));
    EXPECT_EQ(AutomatikFormatSuchen({"%Automatik% ", "x"}), -1);
}

TEST_F(AutoTagFenster, DoubleClickActsAsOk)
{
    w->lstFormat->setCurrentRow(0);
    w->lstFormat_DblClick();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(einstellungen().AutoTagAktuell, "\\%Titel%");
}

TEST_F(AutoTagFenster, ExclusionListTakesEffectAtOnce)
{
    frmAusschlußliste* a = w->ausschlußliste;
    Dann([this, a] {
        ASSERT_TRUE(a->isVisible());
        EXPECT_EQ(a->windowTitle(), "Ausschlußliste");
        EXPECT_EQ(Einträge(a->lstListe), QStringList{"Songs"});
        Dann([a] {
            EXPECT_EQ(a->eingabe->windowTitle(), "Ausschlußzeichenfolge hinzufügen");
            a->eingabe->txtText->setText(QStringLiteral("Musik"));
            a->eingabe->cmdOk->click();
        });
        a->cmdHinzufügen_Click();
        EXPECT_EQ(GewählteZeile(a->lstListe), -1) << "the added string is not selected";
        a->lstListe->setCurrentRow(0);
        Dann([a] {
            EXPECT_EQ(a->eingabe->windowTitle(), "Ausschlußzeichenfolge ändern");
            EXPECT_EQ(a->eingabe->txtText->text(), "Songs");
            a->eingabe->txtText->setText(QStringLiteral("Lieder"));
            a->eingabe->cmdOk->click();
        });
        a->cmdÄndern_Click();
        a->cmdOk->click();
    });
    w->cmdAusschlußliste_Click();
    EXPECT_EQ(einstellungen().AutoTagAusschluß, (QStringList{"Lieder", "Musik"}));
    EXPECT_EQ(einstellungen().AutoTagAusschlußLeer, 0);
    w->cmdAbbrechen->click(); // the chooser's cancel does not undo it
    EXPECT_EQ(einstellungen().AutoTagAusschluß, (QStringList{"Lieder", "Musik"}));
}

TEST_F(AutoTagFenster, EmptiedExclusionListSwitchesItOff)
{
    frmAusschlußliste* a = w->ausschlußliste;
    a->Vorbereiten();
    a->lstListe->setCurrentRow(0);
    a->cmdEntfernen_Click();
    EXPECT_EQ(a->lstListe->count(), 0);
    a->cmdOk_Click();
    EXPECT_EQ(einstellungen().AutoTagAusschlußLeer, 1);
    EXPECT_TRUE(AutoTagOptionenLesen(einstellungen()).strAusschluß.isEmpty());
    // Cancel takes nothing over.
    a->Vorbereiten();
    EXPECT_EQ(a->lstListe->count(), 0);
    a->lstListe->addItem(QStringLiteral("x"));
    a->cmdAbbrechen_Click();
    EXPECT_EQ(einstellungen().AutoTagAusschlußLeer, 1);
}

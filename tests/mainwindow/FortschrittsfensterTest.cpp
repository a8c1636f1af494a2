// The one progress window outlives the dialogs that start runs in it.

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/frmFortschritt.h"

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

// The one progress window belongs to no caller: a dialog that started a run
// and is destroyed afterwards leaves it alive for the next run.
TEST(ProgressFenster, ÜberlebtDenDialogDerEsBenutzte)
{
    einstellungen().StartBildschirm = 1;
    QPointer<frmFortschritt> fenster = fortschrittsfenster();
    DienstErsetzen<FortschrittAnzeigeDienst> dienst(fenster.data());
    QWidget haupt;
    haupt.show();
    {
        auto* dialog = new QDialog(&haupt);
        dialog->show();
        ASSERT_TRUE(FortschrittZeigenStarten(10, true, dialog, true, true, "im Dialog"));
        EXPECT_TRUE(fenster->isVisible());
        EXPECT_FALSE(dialog->isEnabled());
        EXPECT_TRUE(FortschrittZeigen(5, "halb", dialog));
        FortschrittZeigenBeenden(dialog);
        EXPECT_TRUE(dialog->isEnabled());
        delete dialog;
    }
    ASSERT_FALSE(fenster.isNull()) << "the dialog took the progress window with it";
    EXPECT_EQ(fenster.data(), fortschrittsfenster());
    EXPECT_EQ(Dienst<FortschrittAnzeigeDienst>(), fenster.data());

    // The next run, from another window, uses the same window.
    ASSERT_TRUE(FortschrittZeigenStarten(2, true, &haupt, true, true, "danach"));
    EXPECT_TRUE(fenster->isVisible());
    EXPECT_EQ(fenster->lblVorgang->text(), "danach");
    EXPECT_TRUE(FortschrittZeigen(1, "eins", &haupt));
    FortschrittZeigenBeenden(&haupt);
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_TRUE(haupt.isEnabled());

    // Even a dialog destroyed while the window still shows for it takes it not.
    auto* dialog = new QDialog(&haupt);
    dialog->show();
    ASSERT_TRUE(FortschrittZeigenStarten(2, false, dialog, true, true, "offen"));
    delete dialog;
    ASSERT_FALSE(fenster.isNull());
    FortschrittZeigenBeenden(nullptr);
    EXPECT_FALSE(fenster->isVisible());
}

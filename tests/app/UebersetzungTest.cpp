#include "app/Uebersetzung_gui.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

// Qt's own dialogs speak German once the translation is loaded.
TEST(QtUebersetzung, DialogeUndKnoepfeSprechenDeutsch)
{
    if (!QtÜbersetzungLaden(*QCoreApplication::instance()))
        GTEST_SKIP() << "Qt's German translation is not installed (qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Suchen in:");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Directory:"), "Verzeichnis:");

    QDialogButtonBox knöpfe(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(knöpfe.button(QDialogButtonBox::Cancel)->text(), "Abbrechen");

    // The widget-based file dialog (no desktop's own dialog offscreen).
    QFileDialog d(nullptr, QString(), QDir::tempPath());
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setFileMode(QFileDialog::Directory);
    QStringList texte;
    for (const QLabel* l : d.findChildren<QLabel*>())
        texte << l->text();
    for (const QPushButton* b : d.findChildren<QPushButton*>())
        texte << b->text();
    EXPECT_TRUE(texte.contains("Suchen in:")) << texte.join(" | ").toStdString();
    EXPECT_FALSE(texte.contains("Look in:"));
    EXPECT_FALSE(texte.contains("Cancel"));
}

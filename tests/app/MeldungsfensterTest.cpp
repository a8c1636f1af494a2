// The program's message box: Enter presses the default button, the first
// unless the message names another; the reset of the options asks with "Nein".

#include "app/FensterPruefung.h"

#include "app/Dienste_gui.h"
#include "core/Einstellungen.h"
#include "mainwindow/frmOptionen.h"
#include "platform/Registry.h"

#include <QMessageBox>
#include <QTemporaryDir>

using namespace fensterpruefung;

namespace {
void enter(QWidget* box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return); }
} // namespace

TEST(Meldungsfenster, EnterDrücktDenStandardknopf)
{
    const std::tuple<Knöpfe, std::optional<Antwort>, Antwort> fälle[] = {
        {Knöpfe::OKAbbrechen, std::nullopt, Antwort::OK},        {Knöpfe::JaNeinAbbrechen, std::nullopt, Antwort::Ja},
        {Knöpfe::JaNein, Antwort::Nein, Antwort::Nein},          {Knöpfe::JaNeinAbbrechen, Antwort::Nein, Antwort::Nein},
        {Knöpfe::OKAbbrechen, Antwort::Abbrechen, Antwort::Abbrechen}};
    for (const auto& [knöpfe, standard, erwartet] : fälle) {
        Antwort antwort = Antwort::OK;
        modal("QMessageBox", [&] { antwort = MeldungsfensterZeigen({"Frage?", knöpfe, Symbol::Frage, nullptr, standard}); },
              enter);
        EXPECT_EQ(antwort, erwartet) << "buttons " << int(knöpfe);
    }
}

TEST(Meldungsfenster, EnterVerwirftDasRücksetzenDerOptionen)
{
    QTemporaryDir dir;
    Registry::DateiSetzen(dir.filePath("k.ini"));
    einstellungen() = StandardEinstellungen();
    einstellungen().WinampParameterAbspielen = "--eigene";
    DienstErsetzen<MeldungsDienst> echt(MeldungsfensterZeigen);
    modal("frmOptionen", [] { OptionenZeigen(nullptr); }, [&](QWidget* w) {
        auto* o = dynamic_cast<frmOptionen*>(w);
        ASSERT_TRUE(o);
        o->spielerSuchen = [] { return QString("/usr/bin/spieler"); };
        klicken(o->optOptionen[1]);
        modal("QMessageBox", [&] { klicken(o->cmdRücksetzen); }, enter);
        EXPECT_EQ(einstellungen().WinampParameterAbspielen, "--eigene");
        // "Ja" clicked resets.
        modal("QMessageBox", [&] { klicken(o->cmdRücksetzen); }, [](QWidget* box) {
            for (QAbstractButton* k : static_cast<QMessageBox*>(box)->buttons())
                if (k->text() == "Ja")
                    klicken(k);
        });
        EXPECT_EQ(einstellungen().WinampParameterAbspielen, StandardEinstellungen().WinampParameterAbspielen);
    });
    Registry::DateiSetzen(QString());
    einstellungen() = StandardEinstellungen();
}

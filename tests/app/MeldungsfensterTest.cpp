// The program's message box: Enter presses the default button, the first
// unless the message names another; the reset of the options asks with "Nein".

#include "app/FensterPruefung.h"

#include "app/Dienste_gui.h"
#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "mainwindow/frmOptionen.h"
#include "platform/Registry.h"

#include <QMessageBox>
#include <QTemporaryDir>

using namespace fensterpruefung;

namespace {

// Presses a key where the keyboard's input goes in the open message box.
void tasteDrücken(QWidget* box, Qt::Key taste)
{
    QWidget* ziel = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(ziel, taste);
}

struct EnterFall {
    Knöpfe knöpfe;
    std::optional<Antwort> standard;
    Antwort erwartet;
};

} // namespace

TEST(Meldungsfenster, EnterDrücktDenStandardknopf)
{
    const EnterFall fälle[] = {
        {Knöpfe::OK, std::nullopt, Antwort::OK},
        {Knöpfe::OKAbbrechen, std::nullopt, Antwort::OK},
        {Knöpfe::JaNein, std::nullopt, Antwort::Ja},
        {Knöpfe::JaNeinAbbrechen, std::nullopt, Antwort::Ja},
        {Knöpfe::JaNein, Antwort::Nein, Antwort::Nein},
        {Knöpfe::JaNeinAbbrechen, Antwort::Nein, Antwort::Nein},
        {Knöpfe::JaNeinAbbrechen, Antwort::Abbrechen, Antwort::Abbrechen},
        {Knöpfe::OKAbbrechen, Antwort::Abbrechen, Antwort::Abbrechen},
    };
    for (const EnterFall& fall : fälle) {
        Antwort antwort = Antwort::OK;
        modal("QMessageBox",
              [&] { antwort = MeldungsfensterZeigen(Meldung{QStringLiteral("Frage?"), fall.knöpfe, Symbol::Frage,
                                                            nullptr, fall.standard}); },
              [](QWidget* box) {
                  ASSERT_TRUE(qobject_cast<QMessageBox*>(box));
                  tasteDrücken(box, Qt::Key_Return);
              });
        EXPECT_EQ(antwort, fall.erwartet) << "buttons " << int(fall.knöpfe);
    }
}

TEST(Meldungsfenster, EnterVerwirftDasRücksetzenDerOptionen)
{
    QTemporaryDir dir;
    Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
    einstellungen() = StandardEinstellungen();
    einstellungen().WinampParameterAbspielen = QStringLiteral("--eigene");
    DienstErsetzen<MeldungsDienst> echt(MeldungsfensterZeigen);
    QStringList fragen;
    modal("frmOptionen", [] { OptionenZeigen(nullptr); }, [&](QWidget* w) {
        auto* o = dynamic_cast<frmOptionen*>(w);
        ASSERT_TRUE(o);
        o->spielerSuchen = [] { return QStringLiteral("/usr/bin/spieler"); };
        klicken(o->optOptionen[1]);
        // Enter answers the question with "Nein": nothing is reset.
        modal("QMessageBox", [&] { klicken(o->cmdRücksetzen); }, [&](QWidget* box) {
            fragen << static_cast<QMessageBox*>(box)->text();
            tasteDrücken(box, Qt::Key_Return);
        });
        EXPECT_EQ(einstellungen().WinampParameterAbspielen, QStringLiteral("--eigene"));
        EXPECT_EQ(o->txtParameterAbspielen->text(), QStringLiteral("--eigene"));
        // "Ja" clicked resets.
        modal("QMessageBox", [&] { klicken(o->cmdRücksetzen); }, [&](QWidget* box) {
            auto* mb = static_cast<QMessageBox*>(box);
            for (QAbstractButton* k : mb->buttons())
                if (k->text() == QLatin1String("Ja"))
                    klicken(k);
        });
        EXPECT_EQ(einstellungen().WinampParameterAbspielen, StandardEinstellungen().WinampParameterAbspielen);
    });
    EXPECT_EQ(fragen, QStringList{QStringLiteral("Möchten Sie tatsächlich alle Programmeinstellungen zurücksetzen?")});
    Registry::DateiSetzen(QString());
    einstellungen() = StandardEinstellungen();
}

// The index file window as a user meets it: opened from the main window's
// index file label, driven by real focus and mouse events.

#include "support/IndexDateiHilfen.h"
#include "core/Einstellungen.h"
#include "core/IndexDatei.h"
#include "core/frmIndexOeffnen.h"
#include "mainwindow/frmOptionen.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testhilfe;

namespace {

class IndexdateiFenster : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString a, b;
    std::unique_ptr<frmMain> f;
    Fragenskript skript;

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath("k.ini"));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().StartBildschirm = 0;
        IndexDateiSperreWartezeitSetzen(50);
        a = dir.filePath("A.kvx");
        b = dir.filePath("B.kvx");
        IndexDateiAnlegen(a, {"/m/a1.mp3"});
        IndexDateiAnlegen(b, {"/m/b1.mp3"});
        hauptIndex() = Index();
        f = std::make_unique<frmMain>();
        einstellungen().Dateiname = a;
        ASSERT_TRUE(IndexDateiLaden(f.get()));
        OptionenBefehleVerbinden(f.get());
    }
    void TearDown() override
    {
        IndexDateiSperreWartezeitSetzen(4500);
        f.reset();
        hauptIndex() = Index();
    }
    // Opens the window by a click on the index file label and runs `schritte` in it.
    void imFenster(const std::function<void(frmIndexÖffnen*)>& schritte)
    {
        bool gelaufen = false;
        QTimer::singleShot(0, [&] {
            frmIndexÖffnen* w = indexÖffnenFenster();
            // The offscreen platform does not activate a window shown again.
            QApplication::setActiveWindow(w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
            schritte(w);
            gelaufen = true;
            if (w->isVisible())
                w->cmdAbbrechen->click();
        });
        QTest::mouseClick(f->lblIndexdatei, Qt::LeftButton);
        EXPECT_TRUE(gelaufen);
    }
};

} // namespace

// The field holds the current file, an entry of its list; once it had the
// focus, leaving it for a save button must not take the button away.
TEST_F(IndexdateiFenster, SpeicherknöpfeSpeichernNachDemFeld)
{
    const QString kopie = dir.filePath("Kopie.kvx");
    for (const auto& [knopf, ziel] : {std::pair{"cmdSpeichern", a}, std::pair{"cmdIndexdateiSpeichernUnter", kopie}}) {
        SCOPED_TRACE(knopf);
        hauptIndex().EintragAnhängen("/m/neu.mp3", LeereMedienInfo());
        hauptIndex().bolIndexGeändert = true;
        skript.meldungen.clear();
        imFenster([&](frmIndexÖffnen* w) {
            w->dateiDialog = [&](frmIndexÖffnen::DialogArt, const QString&) { return kopie; };
            QTest::mouseClick(w->txtIndexdatei->lineEdit(), Qt::LeftButton);
            ASSERT_TRUE(w->txtIndexdatei->lineEdit()->hasFocus());
            QTest::mouseClick(w->findChild<QPushButton*>(knopf), Qt::LeftButton);
            EXPECT_FALSE(w->isVisible());
        });
        EXPECT_TRUE(DateiInhalt(ziel).contains("/m/neu.mp3"));
        EXPECT_EQ(skript.meldungen, QStringList{"Die Indexdatei wurde gespeichert."});
        EXPECT_EQ(einstellungen().Dateiname, a);
    }
}

// Picking an entry still takes the save buttons away; a path that differs
// from an entry only in letter case is another file and stays as typed.
TEST_F(IndexdateiFenster, WählenSperrtDieSpeicherknöpfeGetipptesBleibt)
{
    imFenster([&](frmIndexÖffnen* w) {
        w->txtIndexdatei->showPopup();
        QTest::keyClick(w->txtIndexdatei->view(), Qt::Key_Return);
        EXPECT_FALSE(w->cmdSpeichern->isEnabled());
    });
    const QString klein = dir.filePath("b.kvx");
    imFenster([&](frmIndexÖffnen* w) {
        QTest::mouseClick(w->txtIndexdatei->lineEdit(), Qt::LeftButton);
        w->txtIndexdatei->lineEdit()->selectAll();
        QTest::keyClicks(w->txtIndexdatei->lineEdit(), klein);
        QTest::mouseClick(w->cmdAbbrechen, Qt::LeftButton);
        EXPECT_EQ(w->txtIndexdatei->currentText(), klein);
    });
}

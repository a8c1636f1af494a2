// The look of the link-style commands as the mouse moves over the windows:
// real mouse moves and clicks, the real windows.

#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOptionen.h"
#include "platform/Farbe_gui.h"
#include "platform/Registry.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

bool unterstrichen(const QWidget* w) { return w->font().underline(); }

// A point of `w` where none of its children lies (null when it has none).
QPoint freierPunkt(const QWidget* w)
{
    for (int y = 1; y < w->height() - 1; y += 2)
        for (int x = 1; x < w->width() - 1; x += 2)
            if (!w->childAt(x, y))
                return {x, y};
    return {};
}

// Both underline settings: 1 underlines the links at rest, 0 while hovered.
class LinkAussehen : public ::testing::TestWithParam<int> {
protected:
    QTemporaryDir dir;
    std::unique_ptr<frmMain> f;
    const int ruhend = GetParam();
    DienstErsetzen<MeldungsDienst> meldungen{[](const Meldung&) { return Antwort::OK; }};

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath("k.ini"));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().FunktionenUnterstreichen = ruhend;
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, "/musik/a/eins.mp3", Lied("Beatles", "Help"));
        Hinzu(idx, "/musik/a/zwei.mp3", Lied("Beatles", "Yesterday"));
        Hinzu(idx, "/musik/a/drei.mp3");
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        f = std::make_unique<frmMain>();
        f->resize(900, 600);
        f->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        f->IndexZustandAnzeigen();
        FarbenAnwenden(f.get()); // as the options' OK applies the setting
    }
    void TearDown() override
    {
        f.reset();
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }
    void zeileKlicken(int zeile, Qt::KeyboardModifiers taste = {})
    {
        QTest::mouseClick(f->lstSongs->viewport(), Qt::LeftButton, taste,
                          f->lstSongs->visualRect(f->modell()->index(zeile, 0)).center());
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Unterstreichen, LinkAussehen, ::testing::Values(1, 0));

// A link shows its hover look while the mouse is over it; over any frame,
// the window or the list, and over the next link, it rests again. Over a
// label shown as a heading nothing changes.
TEST_P(LinkAussehen, EinLinkRuhtSobaldDieMausWeitergeht)
{
    TextfarbeSetzen(f->lblWinampSteuerungTitel, einstellungen().FarbeÜberschrift); // nothing plays
    std::vector<std::pair<QWidget*, QPoint>> ziele = {{f->lstSongs->viewport(), {50, 50}}, {f.get(), freierPunkt(f.get())}};
    for (QFrame* r : {f->fraLinks1, f->fraLinks2, f->fraLinks3, f->fraLinks4, f->fraLinks5, f->fraKnöpfeLinks})
        if (const QPoint p = freierPunkt(r); !p.isNull())
            ziele.push_back({r, p});
    ASSERT_GE(ziele.size(), 5u);
    for (const auto& [ziel, punkt] : ziele)
        for (LinkLabel* link : {f->cmdHilfe, f->cmdSucheMehr, f->cmdAutoDJ, f->cmdBeenden}) {
            SCOPED_TRACE(ziel->objectName().toStdString() + " after " + link->objectName().toStdString());
            QTest::mouseMove(link);
            EXPECT_EQ(unterstrichen(link), ruhend == 0);
            EXPECT_EQ(unterstrichen(f->cmdInfo), ruhend == 1);
            QTest::mouseMove(ziel, punkt);
            EXPECT_EQ(unterstrichen(link), ruhend == 1);
        }
    QTest::mouseMove(f->cmdBeenden);
    QTest::mouseMove(f->cmdHilfe);
    EXPECT_EQ(unterstrichen(f->cmdBeenden), ruhend == 1);
    for (auto [link, überschrift] : {std::pair<QWidget*, QLabel*>{f->cmdAbspielen, f->lblWinampSteuerungTitel},
                                     {f->lblIndexdatei, f->lblIndexdateiUntertitel1}}) {
        QTest::mouseMove(link, {2, 2});
        const bool vorher = unterstrichen(überschrift);
        QTest::mouseMove(überschrift, {2, 2});
        EXPECT_EQ(unterstrichen(link), ruhend == 0) << überschrift->objectName().toStdString();
        EXPECT_EQ(unterstrichen(überschrift), vorher) << überschrift->objectName().toStdString();
    }
}

// The folder line is a link whatever the selection: it keeps the setting's
// underline through the refreshes of a click and a shift-click.
TEST_P(LinkAussehen, DieOrdnerzeileBehältDieUnterstreichung)
{
    QLabel* ordner = f->lblIndexDateiUntertitel2;
    EXPECT_EQ(unterstrichen(ordner), ruhend == 1);
    zeileKlicken(ruhend ? 0 : 2);
    EXPECT_EQ(ordner->text(), "/musik/a");
    EXPECT_EQ(unterstrichen(ordner), ruhend == 1);
    zeileKlicken(1, Qt::ShiftModifier);
    ASSERT_EQ(listenZustand().lngAuswahlAnzahl, 2);
    EXPECT_EQ(unterstrichen(ordner), ruhend == 1);
    QTest::mouseMove(ordner, {2, 2});
    EXPECT_EQ(unterstrichen(ordner), ruhend == 0);

    // A click on the description heading opens the menu and colours it used:
    // a link now, hovering it underlines it.
    zeileKlicken(1);
    EXPECT_EQ(f->lblIndexdateiUntertitel1->palette().color(QPalette::WindowText),
              WindowsFarbe(einstellungen().FarbeFunktionen));
    QTest::mouseClick(f->lblIndexdateiUntertitel1, Qt::LeftButton, {}, {2, 2});
    EXPECT_TRUE(f->mnu_songkontext->isVisible());
    f->mnu_songkontext->hide();
    EXPECT_EQ(f->lblIndexdateiUntertitel1->palette().color(QPalette::WindowText),
              WindowsFarbe(einstellungen().FarbeFunktionenBesucht));
    QTest::mouseMove(f->lblIndexdateiUntertitel1, {2, 2});
    EXPECT_EQ(unterstrichen(f->lblIndexdateiUntertitel1), ruhend == 0);
}

// The samples of the colour page show the hover look under the mouse; the
// page frame and the samples' background put them back at rest.
TEST_P(LinkAussehen, DasBeispielDerFarbseiteZeigtDenMauszeigerBlick)
{
    f->hide(); // the mouse goes to the topmost window
    bool gelaufen = false;
    QTimer::singleShot(0, [&] {
        frmOptionen* w = optionenFenster();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        QTest::mouseClick(w->optOptionen[3], Qt::LeftButton, {}, {4, 4});
        QLabel* const beispiele[] = {w->lblBeispielFunktionen, w->lblBeispielFunktionenBesucht};
        for (QWidget* unter : std::initializer_list<QWidget*>{beispiele[0], beispiele[1], w->fraOptionen[3],
                                                              w->shpBeispielFunktionenHintergrund}) {
            QTest::mouseMove(beispiele[0]);
            QTest::mouseMove(unter, freierPunkt(unter));
            QTest::mouseMove(unter, freierPunkt(unter) + QPoint(1, 1));
            for (QLabel* b : beispiele)
                EXPECT_EQ(unterstrichen(b), (b == unter) != (ruhend == 1)) << unter->objectName().toStdString();
        }
        gelaufen = true;
        w->cmdAbbrechen->click();
    });
    OptionenZeigen(nullptr);
    EXPECT_TRUE(gelaufen);
}

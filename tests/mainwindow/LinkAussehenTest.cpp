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

#include <QApplication>
#include <QCheckBox>
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

class LinkAussehen : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<frmMain> f;

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().AutoCompleteVerwenden = 0;
        Index& idx = hauptIndex();
        idx = Index();
        Hinzu(idx, QStringLiteral("/musik/a/eins.mp3"), Lied(QStringLiteral("Beatles"), QStringLiteral("Help")));
        Hinzu(idx, QStringLiteral("/musik/a/zwei.mp3"), Lied(QStringLiteral("Beatles"), QStringLiteral("Yesterday")));
        Hinzu(idx, QStringLiteral("/musik/a/drei.mp3"), LeereMedienInfo());
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        DienstSetzen<MeldungsDienst>([](const Meldung&) { return Antwort::OK; });
    }
    void TearDown() override
    {
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }
    // The main window, shown, with the underline setting applied as the
    // options dialog's OK applies it.
    void hauptfensterZeigen(int unterstreichen)
    {
        einstellungen().FunktionenUnterstreichen = unterstreichen;
        if (!f) {
            f = std::make_unique<frmMain>();
            f->resize(900, 600);
            f->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
            f->IndexZustandAnzeigen();
        }
        FarbenAnwenden(f.get());
    }
    // Clicks the list row `zeile` as a user does.
    void zeileKlicken(int zeile)
    {
        const QRect r = f->lstSongs->visualRect(f->modell()->index(zeile, 0));
        QTest::mouseClick(f->lstSongs->viewport(), Qt::LeftButton, {}, r.center());
    }
};

} // namespace

TEST_F(LinkAussehen, EinLinkRuhtWiederSobaldDieMausÜberRahmenFensterOderListeGeht)
{
    for (int ruhend : {1, 0}) {
        SCOPED_TRACE(ruhend);
        hauptfensterZeigen(ruhend);
        // The player title shows as a heading while nothing plays.
        TextfarbeSetzen(f->lblWinampSteuerungTitel, einstellungen().FarbeÜberschrift);
        struct Ziel {
            std::string name;
            QWidget* w;
            QPoint p;
        };
        std::vector<Ziel> ziele;
        for (QFrame* r : {f->fraLinks1, f->fraLinks2, f->fraLinks3, f->fraLinks4, f->fraLinks5, f->fraKnöpfeLinks})
            if (const QPoint p = freierPunkt(r); !p.isNull())
                ziele.push_back({r->objectName().toStdString(), r, p});
        if (const QPoint p = freierPunkt(f.get()); !p.isNull())
            ziele.push_back({"frmMain", f.get(), p});
        ziele.push_back({"lstSongs", f->lstSongs->viewport(), f->lstSongs->viewport()->rect().center()});
        ASSERT_GE(ziele.size(), 5u);
        for (const Ziel& z : ziele) {
            SCOPED_TRACE(z.name);
            for (LinkLabel* link : {f->cmdHilfe, f->cmdSucheMehr, f->cmdAutoDJ}) {
                QTest::mouseMove(link);
                EXPECT_EQ(unterstrichen(link), ruhend == 0) << "hover look";
                EXPECT_EQ(unterstrichen(f->cmdInfo), ruhend == 1) << "the others rest";
                QTest::mouseMove(z.w, z.p);
                EXPECT_EQ(unterstrichen(link), ruhend == 1);
            }
        }
        // From one link straight to the next.
        QTest::mouseMove(f->cmdBeenden);
        QTest::mouseMove(f->cmdHilfe);
        EXPECT_EQ(unterstrichen(f->cmdBeenden), ruhend == 1);
        EXPECT_EQ(unterstrichen(f->cmdHilfe), ruhend == 0);
        // Over a label shown as a heading nothing changes, not even the link
        // beside it.
        for (auto [link, überschrift] : {std::pair<QWidget*, QLabel*>{f->cmdAbspielen, f->lblWinampSteuerungTitel},
                                         std::pair<QWidget*, QLabel*>{f->lblIndexdatei, f->lblIndexdateiUntertitel1}}) {
            SCOPED_TRACE(überschrift->objectName().toStdString());
            QTest::mouseMove(link, {2, 2});
            const bool vorher = unterstrichen(überschrift);
            QTest::mouseMove(überschrift, {2, 2});
            EXPECT_EQ(unterstrichen(link), ruhend == 0);
            EXPECT_EQ(unterstrichen(überschrift), vorher);
        }
    }
}

TEST_F(LinkAussehen, DieOrdnerzeileBehältDieUnterstreichungDerEinstellung)
{
    struct Fall {
        int ruhend;
        int zeile, bis; // a click on one row, then a shift-click on another
    };
    for (const Fall& fall : {Fall{1, 0, 1}, Fall{0, 2, 1}}) {
        const int ruhend = fall.ruhend;
        SCOPED_TRACE(ruhend);
        hauptfensterZeigen(ruhend);
        EXPECT_EQ(unterstrichen(f->lblIndexDateiUntertitel2), ruhend == 1);
        zeileKlicken(fall.zeile);
        ASSERT_EQ(listenZustand().lngAuswahlAnzahl, 1);
        EXPECT_EQ(f->lblIndexDateiUntertitel2->text().toStdString(), "/musik/a");
        EXPECT_EQ(unterstrichen(f->lblIndexDateiUntertitel2), ruhend == 1);
        // Two rows of one folder: the line still names it, as a link.
        QTest::mouseClick(f->lstSongs->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          f->lstSongs->visualRect(f->modell()->index(fall.bis, 0)).center());
        ASSERT_EQ(listenZustand().lngAuswahlAnzahl, 2);
        EXPECT_EQ(unterstrichen(f->lblIndexDateiUntertitel2), ruhend == 1);
        QTest::mouseMove(f->lblIndexDateiUntertitel2, {2, 2});
        EXPECT_EQ(unterstrichen(f->lblIndexDateiUntertitel2), ruhend == 0);
        QTest::mouseMove(f->lstSongs->viewport());
        EXPECT_EQ(unterstrichen(f->lblIndexDateiUntertitel2), ruhend == 1);
    }
}

TEST_F(LinkAussehen, EinKlickAufDieBeschreibungFärbtSieVerwendet)
{
    hauptfensterZeigen(0);
    zeileKlicken(1);
    const QColor link = WindowsFarbe(einstellungen().FarbeFunktionen);
    EXPECT_EQ(f->lblIndexdateiUntertitel1->palette().color(QPalette::WindowText), link);
    QTest::mouseClick(f->lblIndexdateiUntertitel1, Qt::LeftButton, {}, {2, 2});
    EXPECT_TRUE(f->mnu_songkontext->isVisible());
    f->mnu_songkontext->hide();
    EXPECT_EQ(f->lblIndexdateiUntertitel1->palette().color(QPalette::WindowText),
              WindowsFarbe(einstellungen().FarbeFunktionenBesucht));
    // Being used, it is a link whatever the heading colour: hovering it
    // underlines it.
    QTest::mouseMove(f->lblIndexdateiUntertitel1, {2, 2});
    EXPECT_TRUE(unterstrichen(f->lblIndexdateiUntertitel1));
}

TEST_F(LinkAussehen, DasBeispielDerFarbseiteZeigtDenMauszeigerBlick)
{
    for (int ruhend : {1, 0}) {
        SCOPED_TRACE(ruhend);
        einstellungen().FunktionenUnterstreichen = ruhend;
        bool gelaufen = false;
        QTimer::singleShot(0, [&] {
            frmOptionen* w = optionenFenster();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
            QTest::mouseClick(w->optOptionen[3], Qt::LeftButton, {}, {4, 4});
            ASSERT_TRUE(w->fraOptionen[3]->isVisible());
            QLabel* const beispiele[] = {w->lblBeispielFunktionen, w->lblBeispielFunktionenBesucht};
            for (QLabel* unter : beispiele) {
                QTest::mouseMove(unter, {4, 4});
                QTest::mouseMove(unter);
                for (QLabel* b : beispiele)
                    EXPECT_EQ(unterstrichen(b), (b == unter) != (ruhend == 1)) << qPrintable(b->objectName());
            }
            // The page frame puts both back at rest; so does the model's
            // background between them.
            for (QWidget* r : {static_cast<QWidget*>(w->fraOptionen[3]),
                               static_cast<QWidget*>(w->shpBeispielFunktionenHintergrund)}) {
                QTest::mouseMove(w->lblBeispielFunktionen);
                QTest::mouseMove(r, freierPunkt(r));
                for (QLabel* b : beispiele)
                    EXPECT_EQ(unterstrichen(b), ruhend == 1) << qPrintable(r->objectName());
            }
            gelaufen = true;
            w->cmdAbbrechen->click();
        });
        OptionenZeigen(nullptr);
        EXPECT_TRUE(gelaufen);
    }
}

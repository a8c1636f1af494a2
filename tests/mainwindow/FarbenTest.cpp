// The colours and link looks of the main window and the options' samples:
// every profile keeps every text readable, and the links' look follows real
// mouse moves and clicks.

#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOptionen.h"
#include "platform/Farbe_gui.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

namespace {
void profilÜbernehmen(int n)
{
    const FarbProfil& p = standardwerte().FarbProfile[size_t(n)];
    Einstellungen& e = einstellungen();
    e.FarbeFunktionen = p.Farben[0];
    e.FarbeFunktionenHintergrund = p.Farben[1];
    e.FarbeListen = p.Farben[2];
    e.FarbeListenHintergrund = p.Farben[3];
    e.FarbeÜberschrift = p.Farben[4];
    e.FarbeBeschreibungen = p.Farben[5];
    e.FarbeFunktionenBesucht = p.Farben[6];
    e.FunktionenUnterstreichen = p.Unterstreichen;
}

// How a text stands out where it is drawn: its background is the commonest
// colour of the area, its colour the one that differs most from that; the
// contrast of their luminances (1 = none, 21 = black on white).
double textKontrast(const QImage& bild, const QRect& bereich)
{
    const auto helligkeit = [](QRgb c) {
        const auto linear = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c)) + 0.05;
    };
    std::map<QRgb, int> anzahl;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x)
            ++anzahl[bild.pixel(x, y) | 0xFF000000u];
    if (anzahl.empty())
        return 0;
    const auto häufigste = std::max_element(anzahl.begin(), anzahl.end(),
                                            [](const auto& x, const auto& y) { return x.second < y.second; });
    double best = 0;
    for (const auto& [farbe, n] : anzahl) {
        const double a = helligkeit(farbe), b = helligkeit(häufigste->first);
        best = std::max(best, std::max(a, b) / std::min(a, b));
    }
    return best;
}

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

// The main window shown over a small index, with either underline setting:
// 1 underlines the links at rest, 0 while hovered.
class FarbenUndLinks : public ::testing::TestWithParam<int> {
protected:
    std::unique_ptr<frmMain> f;
    const int ruhend = GetParam();
    DienstErsetzen<MeldungsDienst> meldungen{[](const Meldung&) { return Antwort::OK; }};

    void SetUp() override
    {
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().FunktionenUnterstreichen = ruhend;
        Index& idx = hauptIndex() = Index();
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
        profilÜbernehmen(1);
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

INSTANTIATE_TEST_SUITE_P(Unterstreichen, FarbenUndLinks, ::testing::Values(1, 0));

// Every text of the main window stands out from what lies behind it, in
// every colour profile (each with its own underline), as the window is drawn
// on the screen.
TEST_P(FarbenUndLinks, JedesProfilHältJedenTextLesbar)
{
    {
        const QSignalBlocker still(f->txtSongname);
        f->txtSongname->setEditText("Beatles");
    }
    // Where each text is drawn: the labels, the column titles, the closed
    // search boxes and a cell of the list.
    std::vector<std::pair<QString, QRect>> texte;
    const auto text = [&](const QString& name, const QWidget* w, const QRect& r) {
        texte.push_back({name, QRect(w->mapTo(f.get(), r.topLeft()), r.size()).intersected(f->rect())});
    };
    for (QLabel* l : f->findChildren<QLabel*>())
        if (l->isVisibleTo(f.get()) && !l->text().isEmpty() && !l->visibleRegion().isEmpty())
            text(l->objectName(), l, l->visibleRegion().boundingRect());
    QHeaderView* kopf = f->lstSongs->horizontalHeader();
    for (int i = 0; i < kopf->count(); ++i)
        if (!kopf->isSectionHidden(i) && kopf->sectionSize(i) > 8)
            text(QString("Spaltentitel %1").arg(i), kopf,
                 QRect(kopf->sectionViewportPosition(i) + 3, 3, kopf->sectionSize(i) - 6, kopf->height() - 6));
    QStyleOptionComboBox auswahl;
    auswahl.initFrom(f->cboSuche);
    auswahl.editable = false;
    text("cboSuche", f->cboSuche, f->style()->subControlRect(QStyle::CC_ComboBox, &auswahl, QStyle::SC_ComboBoxEditField, f->cboSuche));
    text("txtSongname", f->txtSongname->lineEdit(), f->txtSongname->lineEdit()->rect());
    text("lstSongs", f->lstSongs->viewport(), f->lstSongs->visualRect(f->modell()->index(0, 0)));
    // The arrows of the list's scroll bars, in the middle of their buttons.
    for (int i = 0; i < 60; ++i)
        Hinzu(hauptIndex(), QString("/musik/b/%1.mp3").arg(i), Lied("Beatles", QString("Titel %1").arg(i)));
    f->SucheAktualisieren(false);
    QApplication::processEvents();
    ASSERT_TRUE(f->lstSongs->verticalScrollBar()->isVisible());
    for (QScrollBar* leiste : {f->lstSongs->verticalScrollBar(), f->lstSongs->horizontalScrollBar()}) {
        const int k = std::min(leiste->width(), leiste->height());
        for (const QPoint& ecke : {QPoint(0, 0), leiste->rect().bottomRight() - QPoint(k - 1, k - 1)})
            if (leiste->isVisible())
                text(QString("Pfeil %1").arg(texte.size()), leiste, QRect(ecke + QPoint(k / 4, k / 4), QSize(k / 2, k / 2)));
    }
    ASSERT_GE(texte.size(), 22u);
    // The weakest pair a profile itself makes (dark red on dark grey) has a
    // contrast of 1.6; a text near its background's colour stays below 1.35.
    // The style draws the scroll bars' arrows half transparent in the text
    // colour: they stand out less, but never vanish (one in the list's light
    // text colour on the desktop's light button: 1.06).
    const auto& profile = standardwerte().FarbProfile;
    for (size_t n = 1; n < profile.size(); ++n) {
        profilÜbernehmen(int(n));
        FarbenAnwenden(f.get());
        const QImage bild = f->grab().toImage();
        for (const auto& [name, bereich] : texte)
            EXPECT_GE(textKontrast(bild, bereich), name.startsWith("Pfeil") ? 1.35 : 1.45)
                << profile[n].Name.toStdString() << ": " << name.toStdString();
    }
}

// A link shows its hover look while the mouse is over it; over any frame,
// the window or the list, and over the next link, it rests again. Over a
// label shown as a heading nothing changes.
TEST_P(FarbenUndLinks, EinLinkRuhtSobaldDieMausWeitergeht)
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
TEST_P(FarbenUndLinks, DieOrdnerzeileBehältDieUnterstreichung)
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
TEST_P(FarbenUndLinks, DasBeispielDerFarbseiteZeigtDenMauszeigerBlick)
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

TEST(Farben, UnterstreichungKehrtSichBeimÜberfahrenUm)
{
    frmMain f;
    profilÜbernehmen(1);
    einstellungen().FunktionenUnterstreichen = 1;
    FarbenAnwenden(&f);
    EXPECT_TRUE(IstLink(f.cmdBeenden));
    EXPECT_TRUE(IstLink(f.lblIndexdatei));
    EXPECT_FALSE(IstLink(f.lblSucheÜberschrift));
    EXPECT_TRUE(f.cmdBeenden->font().underline());
    LinkHervorheben(&f, f.cmdBeenden);
    EXPECT_FALSE(f.cmdBeenden->font().underline());
    EXPECT_TRUE(f.cmdHilfe->font().underline());
    LinkHervorheben(&f, f.fraLinks5); // a frame: every link at rest
    EXPECT_TRUE(f.cmdBeenden->font().underline());

    einstellungen().FunktionenUnterstreichen = 0;
    FarbenAnwenden(&f);
    EXPECT_FALSE(f.cmdInfo->font().underline());
    LinkHervorheben(&f, f.cmdInfo);
    EXPECT_TRUE(f.cmdInfo->font().underline());
}

TEST(Farben, DunkleNachtGibtWeißeLinksAufSchwarz)
{
    frmMain f;
    profilÜbernehmen(4);
    FarbenAnwenden(&f);
    EXPECT_EQ(f.cmdAutoDJ->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(f.lstSongs->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(f.lstSongs->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(f.lblDateiAnzahl->palette().color(QPalette::WindowText), QColor(175, 175, 175));
    profilÜbernehmen(1);
}

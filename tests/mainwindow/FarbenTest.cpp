#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/frmMain.h"

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QTest>
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

} // namespace

// Every text of the main window stands out from what lies behind it, in
// every colour profile, as the window is drawn on the screen. The weakest
// pair a profile itself makes (dark red on dark grey) has a contrast of 1.6;
// a text in a colour near its background's stays below 1.35.
TEST(Farben, JedesProfilHältJedenTextLesbar)
{
    hauptIndex() = Index();
    Hinzu(hauptIndex(), "/musik/a/eins.mp3", Lied("Beatles", "Help"));
    hauptIndex().bolIndexGeladen = true;
    frmMain f;
    f.resize(900, 600);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.IndexZustandAnzeigen();
    {
        const QSignalBlocker still(f.txtSongname);
        f.txtSongname->setEditText("Beatles");
    }
    // Where each text is drawn: the labels, the column titles, the closed
    // search boxes and a cell of the list.
    std::vector<std::pair<QString, QRect>> texte;
    const auto text = [&](const QString& name, const QWidget* w, const QRect& r) {
        texte.push_back({name, QRect(w->mapTo(&f, r.topLeft()), r.size()).intersected(f.rect())});
    };
    for (QLabel* l : f.findChildren<QLabel*>())
        if (l->isVisibleTo(&f) && !l->text().isEmpty() && !l->visibleRegion().isEmpty())
            text(l->objectName(), l, l->visibleRegion().boundingRect());
    QHeaderView* kopf = f.lstSongs->horizontalHeader();
    for (int i = 0; i < kopf->count(); ++i)
        if (!kopf->isSectionHidden(i) && kopf->sectionSize(i) > 8)
            text(QString("Spaltentitel %1").arg(i), kopf,
                 QRect(kopf->sectionViewportPosition(i) + 3, 3, kopf->sectionSize(i) - 6, kopf->height() - 6));
    QStyleOptionComboBox auswahl;
    auswahl.initFrom(f.cboSuche);
    auswahl.editable = false;
    text("cboSuche", f.cboSuche, f.style()->subControlRect(QStyle::CC_ComboBox, &auswahl, QStyle::SC_ComboBoxEditField, f.cboSuche));
    text("txtSongname", f.txtSongname->lineEdit(), f.txtSongname->lineEdit()->rect());
    text("lstSongs", f.lstSongs->viewport(), f.lstSongs->visualRect(f.modell()->index(0, 0)));
    ASSERT_GE(texte.size(), 20u);
    // The weakest pair a profile itself makes (dark red on dark grey) has a
    // contrast of 1.6; a text near its background's colour stays below 1.35.
    const auto& profile = standardwerte().FarbProfile;
    for (size_t n = 1; n < profile.size(); ++n) {
        profilÜbernehmen(int(n));
        FarbenAnwenden(&f);
        const QImage bild = f.grab().toImage();
        for (const auto& [name, bereich] : texte)
            EXPECT_GE(textKontrast(bild, bereich), 1.45) << profile[n].Name.toStdString() << ": " << name.toStdString();
    }
    profilÜbernehmen(1);
    hauptIndex() = Index();
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

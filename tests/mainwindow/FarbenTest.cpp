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

// The relative luminance of a colour and the contrast of two (1 = none, 21 = black on white).
double helligkeit(QRgb c)
{
    const auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}
double kontrast(QRgb a, QRgb b)
{
    const double x = helligkeit(a), y = helligkeit(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// How a text stands out where it is drawn: its background is the commonest
// colour of the area, its colour the one that differs most from that.
double textKontrast(const QImage& bild, const QRect& bereich)
{
    std::map<QRgb, int> anzahl;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x)
            ++anzahl[bild.pixel(x, y) | 0xFF000000u];
    if (anzahl.empty())
        return 0;
    QRgb hintergrund = anzahl.begin()->first;
    for (const auto& [farbe, n] : anzahl)
        if (n > anzahl[hintergrund])
            hintergrund = farbe;
    double best = 1;
    for (const auto& [farbe, n] : anzahl)
        best = std::max(best, kontrast(farbe, hintergrund));
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
    Hinzu(hauptIndex(), QStringLiteral("/musik/a/eins.mp3"), Lied(QStringLiteral("Beatles"), QStringLiteral("Help")));
    hauptIndex().bolIndexGeladen = true;
    frmMain f;
    f.resize(900, 600);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.IndexZustandAnzeigen();
    {
        const QSignalBlocker still(f.txtSongname);
        f.txtSongname->setEditText(QStringLiteral("Beatles"));
    }
    const auto& profile = standardwerte().FarbProfile;
    for (size_t n = 1; n < profile.size(); ++n) {
        SCOPED_TRACE(profile[n].Name.toStdString());
        profilÜbernehmen(int(n));
        FarbenAnwenden(&f);
        const QImage bild = f.grab().toImage();
        const auto imFenster = [&](const QWidget* w, const QRect& r) {
            return QRect(w->mapTo(&f, r.topLeft()), r.size()).intersected(bild.rect());
        };
        std::vector<std::pair<QString, QRect>> texte;
        for (QLabel* l : f.findChildren<QLabel*>())
            if (l->isVisibleTo(&f) && !l->text().isEmpty() && !l->visibleRegion().isEmpty())
                texte.push_back({l->objectName(), imFenster(l, l->visibleRegion().boundingRect())});
        QHeaderView* kopf = f.lstSongs->horizontalHeader();
        ASSERT_GT(kopf->count(), 0);
        for (int i = 0; i < kopf->count(); ++i)
            if (!kopf->isSectionHidden(i) && kopf->sectionSize(i) > 8)
                texte.push_back({QStringLiteral("Spaltentitel %1").arg(i),
                                 imFenster(kopf, QRect(kopf->sectionViewportPosition(i), 0, kopf->sectionSize(i), kopf->height())
                                                     .adjusted(3, 3, -3, -3))});
        QStyleOptionComboBox auswahl;
        auswahl.initFrom(f.cboSuche);
        auswahl.editable = false;
        texte.push_back({QStringLiteral("cboSuche"),
                         imFenster(f.cboSuche, f.style()->subControlRect(QStyle::CC_ComboBox, &auswahl,
                                                                          QStyle::SC_ComboBoxEditField, f.cboSuche))});
        texte.push_back({QStringLiteral("txtSongname"), imFenster(f.txtSongname->lineEdit(), f.txtSongname->lineEdit()->rect())});
        texte.push_back({QStringLiteral("lstSongs"),
                         imFenster(f.lstSongs->viewport(), f.lstSongs->visualRect(f.modell()->index(0, 0)))});
        EXPECT_GE(texte.size(), 20u);
        for (const auto& [name, bereich] : texte)
            EXPECT_GE(textKontrast(bild, bereich), 1.45) << name.toStdString();
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

#include "core/Einstellungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/frmMain.h"

#include <gtest/gtest.h>

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
} // namespace

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

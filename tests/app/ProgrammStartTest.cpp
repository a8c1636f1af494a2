#include "core/Einstellungen.h"
#include "core/Index.h"
#include "app/Main_gui.h"
#include "core/Meldungen.h"
#include "mainwindow/Tray_gui.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The whole start procedure on a fresh index file, then the quit command:
// the window shows, the file is created, and quitting writes the settings.
TEST(ProgrammStart, StartetAufNeuerIndexdateiUndBeendetSichSauber)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath("Kalvero.conf");
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("Start", 10); // not the first start: no welcome window
        s.setValue("TippsAktueller", 0);
        s.setValue("WinampLautstärke", 300); // out of range: becomes 128
        s.setValue("WinampPfad", "");
    }
    Registry::DateiSetzen(ini);
    const QString kvx = dir.filePath("mit blank.kvx");
    // Answered from here before start-up: a question start-up should not ask
    // (an index file it does not understand) fails the test at once instead of
    // waiting in a real message box.
    QStringList meldungen;
    bool imStart = true;
    DienstErsetzen<MeldungsDienst> antworten([&](const Meldung& m) {
        meldungen << m.text;
        if (imStart && m.knöpfe != Knöpfe::OK)
            ADD_FAILURE() << "unexpected question: " << m.text.toStdString();
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
    });
    Main({"kalvero", "\"" + kvx + "\""});
    imStart = false;
    EXPECT_TRUE(meldungen.isEmpty()) << meldungen.join("|").toStdString();
    frmMain* f = hauptfenster();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(einstellungen().Dateiname, kvx);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 0);
    EXPECT_EQ(f->hscrlVolume->value(), 128);
    EXPECT_TRUE(f->NormalerTitel().endsWith(" - " + kvx));
    // The window and the tray show the program's own icon.
    const auto bild = [](const QIcon& i) { return i.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); };
    const QImage eigenes = QImage(KALVERO_QUELLEN "/share/icons/kalvero-32.png").convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(eigenes.isNull());
    EXPECT_EQ(bild(f->windowIcon()), eigenes);
    ASSERT_NE(traySymbol(), nullptr);
    EXPECT_EQ(bild(traySymbol()->symbol->icon()), eigenes);
    QCoreApplication::processEvents();

    bool beendet = false;
    f->ProgrammBeenden = [&] { beendet = true; };
    meldungen.clear();
    f->cmdBeenden->clicked();
    QCoreApplication::processEvents();
    EXPECT_TRUE(beendet);
    EXPECT_TRUE(QFileInfo::exists(kvx));
    Registry::Speicher().sync();
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("WinampLautstärke").toInt(), 128);
    EXPECT_EQ(s.value("Dateiname").toString(), kvx);
    EXPECT_EQ(s.value("Start").toInt(), 10);
    f->ProgrammBeenden = [] {};
    Registry::DateiSetzen(dir.filePath("leer.conf"));
}

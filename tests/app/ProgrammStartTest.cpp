#include "core/Einstellungen.h"
#include "core/Index.h"
#include "app/Main_gui.h"
#include "core/Meldungen.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QFileInfo>
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
    Main({"kalvero", "\"" + kvx + "\""});
    // Start-up installs the real message boxes; answer them from here on.
    QStringList meldungen;
    DienstSetzen<MeldungsDienst>([&](const Meldung& m) {
        meldungen << m.text;
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
    });
    frmMain* f = hauptfenster();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(einstellungen().Dateiname, kvx);
    EXPECT_TRUE(hauptIndex().bolIndexGeladen);
    EXPECT_EQ(hauptIndex().lngIndexAnzahl, 0);
    EXPECT_EQ(f->hscrlVolume->value(), 128);
    EXPECT_TRUE(f->NormalerTitel().endsWith(" - " + kvx));
    QCoreApplication::processEvents();

    bool beendet = false;
    f->ProgrammBeenden = [&] { beendet = true; };
    f->cmdBeenden->clicked();
    QCoreApplication::processEvents();
    EXPECT_TRUE(beendet);
    EXPECT_TRUE(QFileInfo::exists(kvx));
    Registry::Speicher().sync();
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("WinampLautstärke").toInt(), 128);
    EXPECT_EQ(s.value("Dateiname").toString(), kvx);
    EXPECT_EQ(s.value("Start").toInt(), 10);
    DienstSetzen<MeldungsDienst>({});
    Registry::DateiSetzen(dir.filePath("leer.conf"));
}

// The add window as a user meets it: the titles beside the icons are clicked
// with the mouse.

#include "BibliothekTesthilfe.h"

#include "library/frmHinzufuegen.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace testhilfe;

TEST(HinzufügenFenster, TitelNebenDenBildernWirkenWieDieBilder)
{
    Baum baum;
    Meldungsskript meldungen;
    EinstellungenFürHinzufügen();
    const Index gesichert = hauptIndex();
    const QString lied = baum.Datei("neu/lied.mp3");
    const QString liste = baum.Datei("liste.m3u", (lied + QStringLiteral("\r\n")).toUtf8());

    struct Fall {
        const char* titel;
        const char* gewählt; // the picker the click opened
    };
    for (const Fall& fall : {Fall{"Label1", "Datei"}, Fall{"Label5", "Ordner"}, Fall{"Label6", "Playliste"}}) {
        SCOPED_TRACE(fall.titel);
        hauptIndex() = Index();
        TypenSetzen(hauptIndex());
        QString gewählt;
        QTimer::singleShot(0, [&] {
            auto* fenster = dynamic_cast<frmHinzufügen*>(QApplication::activeModalWidget());
            ASSERT_NE(fenster, nullptr);
            fenster->dateienWählen = [&](const QString&) {
                gewählt = QStringLiteral("Datei");
                return QStringList{lied};
            };
            fenster->ordnerWählen = [&](const QString&) {
                gewählt = QStringLiteral("Ordner");
                return baum.Pfad("neu");
            };
            fenster->playlistWählen = [&](const QString&) {
                gewählt = QStringLiteral("Playliste");
                return liste;
            };
            auto* titel = fenster->findChild<QLabel*>(QString::fromUtf8(fall.titel));
            ASSERT_NE(titel, nullptr);
            EXPECT_EQ(titel->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(titel, Qt::LeftButton);
            if (fenster->isVisible())
                fenster->reject();
        });
        HinzufügenZeigen(nullptr);
        EXPECT_EQ(gewählt.toStdString(), fall.gewählt);
        EXPECT_EQ(IndexPfade(hauptIndex()), QStringList{lied});
    }
    hauptIndex() = gesichert;
}

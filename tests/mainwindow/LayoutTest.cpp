// The main window's controls stay where they are whatever is selected.
// With KALVERO_BILDER set to a folder, the states are saved there as images.

#include "support/ListenHilfen.h"
#include "core/Einstellungen.h"
#include "core/Meldungen.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/Liste.h"
#include "mainwindow/frmMain.h"
#include "platform/Registry.h"
#include "platform/Twips.h"
#include "platform/Zeilenlabel_gui.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

class Layout : public ::testing::Test {
protected:
    QTemporaryDir dir;
    DienstErsetzen<MeldungsDienst> meldungen{[](const Meldung&) { return Antwort::OK; }};
    std::unique_ptr<frmMain> f;

    void SetUp() override
    {
        Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        Index& idx = hauptIndex();
        idx = Index();
        for (int i = 1; i <= 300; ++i)
            Hinzu(idx, QStringLiteral("/musik/sammlung/%1.mp3").arg(i), Lied(QStringLiteral("Interpret %1").arg(i % 7), QStringLiteral("Titel %1").arg(i)));
        // A long name with a line break in it, in a deep folder.
        Hinzu(idx, QStringLiteral("/musik/ein/sehr/tiefer/ordner/mit/langem/namen/erste zeile\nzweite zeile eines sehr langen dateinamens.mp3"),
              Lied(QStringLiteral("Lang"), QStringLiteral("Name")));
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        f = std::make_unique<frmMain>();
        f->show();
        f->IndexZustandAnzeigen();
        warten();
    }
    void TearDown() override
    {
        f.reset();
        Registry::DateiSetzen(QString());
        listenZustand() = ListenZustand();
        hauptIndex() = Index();
    }
    static void warten()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    void wählen(std::vector<int> zeilen)
    {
        ZeilenAuswählen(*f->lstSongs->selectionModel(), *f->modell(), zeilen);
        f->lstSongs_KeyUp();
        warten();
    }
    // Where each control of the left column, the top strip and the list is.
    std::map<QString, QRect> orte() const
    {
        std::map<QString, QRect> o;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 f->txtSongname, f->cboSuche, f->cmdSucheLöschen, f->cmdSucheMehr, f->lblDateiAnzahl, f->cmdIndexErstellen,
                 f->cmdAuswählen, f->cmdEintragAbspielen, f->cmdIndexVerwaltung, f->fraLinks5, f->cmdBeenden, f->lstSongs,
                 f->lblIndexdateiUntertitel1, f->lblIndexDateiUntertitel2, f->fraLinks3, f->cmdAbspielen,
                 f->cmdWinampNächster, f->hscrlTrackPos, f->hscrlVolume, f->hscrlBalance, f->lblIndexdatei})
            o[w->objectName()] = QRect(w->mapTo(f.get(), QPoint(0, 0)), w->size());
        o[QStringLiteral("Fenster")] = QRect(QPoint(0, 0), f->size());
        return o;
    }
    void bild(const QString& name) const
    {
        const QString ordner = qEnvironmentVariable("KALVERO_BILDER");
        if (!ordner.isEmpty())
            f->grab().save(ordner + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    static void gleich(const std::map<QString, QRect>& a, const std::map<QString, QRect>& b, const char* wann)
    {
        for (const auto& [name, r] : a) {
            const QRect& s = b.at(name);
            EXPECT_EQ(r, s) << name.toStdString() << " moved " << wann << ": (" << r.x() << "," << r.y() << " "
                            << r.width() << "x" << r.height() << ") -> (" << s.x() << "," << s.y() << " " << s.width()
                            << "x" << s.height() << ")";
        }
    }
};

} // namespace

TEST_F(Layout, SelectingAndDeselectingMovesNothing)
{
    const auto ohne = orte();
    bild(QStringLiteral("ohne-auswahl"));
    EXPECT_FALSE(f->fraNurBeiAusgewählt->isVisible());

    wählen({300}); // the long two-line name
    EXPECT_TRUE(f->fraNurBeiAusgewählt->isVisible());
    bild(QStringLiteral("lange-datei"));
    gleich(ohne, orte(), "with a long name selected");

    wählen({0, 1, 2});
    bild(QStringLiteral("mehrere"));
    gleich(ohne, orte(), "with several selected");

    wählen({});
    gleich(ohne, orte(), "after deselecting");

    // Long texts in the top strip and the player panel move nothing either.
    f->lblIndexdatei->setText(QStringLiteral("eine sehr lange indexdatei mit einem namen, der nicht endet.kvx").repeated(3));
    f->lblWinampSteuerungTitel->setText(QStringLiteral("Audio-Player - 'Ein Interpret - Ein sehr langer Titel' - [Erkannt]"));
    f->lblWinampSteuerungPosition->setText(QStringLiteral("Titelposition - 123:45/678:90"));
    f->lblDateiAnzahl->setText(QStringLiteral("1234567 Datei(en) im Index\n1234567 Datei(en) gefunden"));
    f->txtSongname->setEnabled(false);
    f->cboSuche->setEnabled(false);
    f->txtSongname->setEditText(QStringLiteral("(Mehrere Such-Abfragen) und noch viel mehr Text dahinter"));
    warten();
    gleich(ohne, orte(), "with long texts");
    bild(QStringLiteral("lange-texte"));

    // The window keeps the size it was given.
    f->resize(TwipsZuPixel(7755), TwipsZuPixel(5700));
    warten();
    const auto klein = orte();
    EXPECT_EQ(klein.at(QStringLiteral("Fenster")).height(), TwipsZuPixel(5700)) << "the default height needs no more room";
    EXPECT_LE(f->minimumSizeHint().height(), TwipsZuPixel(5700));
    wählen({300});
    gleich(klein, orte(), "at the default size");
    bild(QStringLiteral("standardgroesse-auswahl"));
}

TEST_F(Layout, TheListReachesTheBottomEdgeAndTextsAreWhole)
{
    const QRect liste(f->lstSongs->mapTo(f.get(), QPoint(0, 0)), f->lstSongs->size());
    EXPECT_EQ(liste.bottom(), f->height() - 1);
    EXPECT_EQ(liste.top(), f->fraLinks3->mapTo(f.get(), QPoint(0, 0)).y() + f->fraLinks3->height());
    EXPECT_EQ(liste.right(), f->width() - 1);

    // The count label shows both lines whole, even for large counts.
    f->lblDateiAnzahl->setText(QStringLiteral("1234567 Datei(en) im Index\n1234567 Datei(en) gefunden"));
    warten();
    const QFontMetrics fm = f->lblDateiAnzahl->fontMetrics();
    const QRect text = fm.boundingRect(f->lblDateiAnzahl->contentsRect(), int(f->lblDateiAnzahl->alignment()),
                                       f->lblDateiAnzahl->text());
    EXPECT_TRUE(f->lblDateiAnzahl->contentsRect().contains(text))
        << text.width() << "x" << text.height() << " in " << f->lblDateiAnzahl->width() << "x"
        << f->lblDateiAnzahl->height();

    // The description bar shows one line each, shortened where needed.
    wählen({300});
    auto* kopf = dynamic_cast<Zeilenlabel*>(f->lblIndexdateiUntertitel1);
    ASSERT_NE(kopf, nullptr);
    EXPECT_TRUE(kopf->text().startsWith(QStringLiteral("erste zeile\nzweite")));
    EXPECT_FALSE(kopf->Angezeigt().contains(QLatin1Char('\n')));
    EXPECT_LE(fm.horizontalAdvance(kopf->Angezeigt()), kopf->width());

    // The search box shows the beginning of a text that does not fit.
    f->txtSongname->setEnabled(false);
    f->txtSongname->setEditText(QStringLiteral("(Mehrere Such-Abfragen)"));
    warten();
    EXPECT_EQ(f->txtSongname->lineEdit()->cursorPosition(), 0);
    bild(QStringLiteral("mehrere-abfragen"));
}

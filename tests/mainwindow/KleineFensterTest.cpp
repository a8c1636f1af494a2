#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/Fensterbefehle_gui.h"
#include "mainwindow/IndexStatistik.h"
#include "mainwindow/Internet.h"
#include "mainwindow/frmBildAnzeige.h"
#include "mainwindow/frmInternet.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmStatistik.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

MedienInfo eintrag(qint64 größe, qint32 dauer, const QString& datum, const QString& datenträger = QString())
{
    MedienInfo m = LeereMedienInfo();
    m.Datei_Größe = größe;
    m.Header_Dauer = dauer;
    m.Datei_HinzugefügtAm = datum;
    m.Datei_Datenträger = datenträger;
    return m;
}

struct Meldungen {
    QStringList texte;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        texte << m.text;
        return Antwort::OK;
    }};
};

QString schreiben(const QTemporaryDir& ordner, const QByteArray& inhalt)
{
    const QString pfad = ordner.filePath(QStringLiteral("Ineturl.dat"));
    QFile f(pfad);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(inhalt);
    return pfad;
}

} // namespace

TEST(IndexStatistik, LeererIndexNenntNurDieAnzahl)
{
    const IndexStatistikTexte t = IndexStatistikBerechnen(Index(), QDate(2026, 1, 1), QLocale::c());
    EXPECT_EQ(t.anzahl, "0, davon 0 auf austauschbaren Datenträgern");
    EXPECT_EQ(t.größen, "(keine Dateien mit Dateigröße gefunden)");
    EXPECT_EQ(t.spieldauer, "(keine Dateien mit Spieldauer gefunden)");
    EXPECT_EQ(t.verwaltung, "(keine Dateien mit Datumsangabe gefunden)");
}

TEST(IndexStatistik, UnbekannteWerteZählenNurInDerAnzahl)
{
    Index idx;
    idx.EintragAnhängen("/m/a.mp3", eintrag(1073741824, 200, "01.03.2026", "CD1"));
    idx.EintragAnhängen("/m/b.mp3", eintrag(1073741824, 101, "31.12.2025"));
    idx.EintragAnhängen("/m/c.mp3", eintrag(-1, -1, "31.02.2026"));   // invalid date
    idx.EintragAnhängen("/m/d.mp3", eintrag(-1, -1, "01.01.2026 12:30")); // with a time
    const QLocale de(QLocale::German, QLocale::Germany);
    const IndexStatistikTexte t = IndexStatistikBerechnen(idx, QDate(2026, 3, 11), de);
    EXPECT_EQ(t.anzahl, "4, davon 1 auf austauschbaren Datenträgern");
    EXPECT_EQ(t.größen, "2.147.483.648 Bytes (2048 MB), durchschnittlich 1.073.741.824 Bytes");
    EXPECT_EQ(t.spieldauer, "0:05:01, durchschnittlich 0:02:31") << "150.5 s rounds half up";
    // Ages 10, 70 and 69 days: 49.67 -> 50; 3 files over 60 days -> 0.05 a day.
    EXPECT_EQ(t.verwaltung, "Die neueste Datei im Index ist vom 01.03.2026, die älteste vom 31.12.2025. "
                            "Die Dateien befinden sich durchschnittlich seit 50 Tagen im Index. "
                            "Jeden Tag werden durchschnittlich 0,05 Datei(en) hinzugefügt.");
}

TEST(IndexStatistik, EinTagGibtKeineRateUndKleineZahlenDreiStellen)
{
    Index idx;
    idx.EintragAnhängen("/m/a.mp3", eintrag(5, 0, "02.01.2026 08:00"));
    idx.EintragAnhängen("/m/b.mp3", eintrag(6, 0, "02.01.2026 23:59"));
    const IndexStatistikTexte t = IndexStatistikBerechnen(idx, QDate(2026, 1, 2), QLocale::c());
    EXPECT_EQ(t.größen, "011 Bytes (0 MB), durchschnittlich 006 Bytes");
    EXPECT_EQ(t.verwaltung, "Die neueste Datei im Index ist vom 02.01.2026, die älteste vom 02.01.2026. "
                            "Die Dateien befinden sich durchschnittlich seit 0 Tagen im Index. ");
}

TEST(Internetadressen, DateiformatMitKommentarenZeilenendenUndBOM)
{
    QTemporaryDir ordner;
    QStringList adressen, namen;
    Meldungen m;
    const QString pfad = schreiben(ordner, "\xEF\xBB\xBFinetURLS100\r\n' Kommentar\r\n\r\n#Lexikon\r\nhttp://a/?q=%Suche%\r\n"
                                           "#Musik\r\nhttp://alt/%Suche%\r\nhttp://b/%Suche%/%suche%\r\n");
    ASSERT_TRUE(InternetAdressenLaden(pfad, adressen, namen));
    EXPECT_EQ(namen, QStringList({"Lexikon", "Musik"}));
    EXPECT_EQ(adressen, QStringList({"http://a/?q=%Suche%", "http://b/%Suche%/%suche%"})) << "the later line holds";
    EXPECT_EQ(InternetSuchAdresse(adressen[1], "AC/DC Motörhead"), "http://b/AC%2FDC%20Mot%C3%B6rhead/AC%2FDC%20Mot%C3%B6rhead");

    EXPECT_FALSE(InternetAdressenLaden(schreiben(ordner, "InetURLs100\n' nur Kommentar\n"), adressen, namen));
    EXPECT_FALSE(InternetAdressenLaden(schreiben(ordner, "InetURLs100\nhttp://x/\n#Dienst\n"), adressen, namen))
        << "an address before the first service";
    EXPECT_FALSE(InternetAdressenLaden(schreiben(ordner, ""), adressen, namen));
    EXPECT_TRUE(m.texte.isEmpty()) << "these faults are silent";

    EXPECT_FALSE(InternetAdressenLaden(schreiben(ordner, "InetURLs100 \n#D\nhttp://x/\n"), adressen, namen));
    EXPECT_FALSE(InternetAdressenLaden(ordner.filePath("fehlt.dat"), adressen, namen));
    ASSERT_EQ(m.texte.size(), 2);
    EXPECT_TRUE(m.texte[0].contains("da ihr Format nicht korrekt ist.\nDiese wird zur Anzeige"));
    EXPECT_TRUE(m.texte[1].startsWith("Die Adressdatei '" + ordner.filePath("fehlt.dat") + "' kann nicht geladen werden, da diese nicht existiert."));
    EXPECT_TRUE(adressen.isEmpty() && namen.isEmpty());
}

TEST(Internetsuche, OkPrüftWahlUndTextUndÖffnetDieAdresse)
{
    Meldungen m;
    QList<QUrl> geöffnet;
    DienstErsetzen<Shell::UrlÖffnerDienst> öffner{[&](const QUrl& u) {
        geöffnet << u;
        return true;
    }};
    frmInternet f;
    f.strInternetNamen = {"A", "B"};
    f.strInternetAdressen = {"https://a.example/?q=%Suche%", "https://b.example/s/%Suche%"};
    f.lstListe->addItems(f.strInternetNamen);
    f.txtSuche->setText("Die Ärzte");
    f.cmdOk_Click();
    EXPECT_EQ(m.texte, QStringList({"Bitte wählen Sie einen Eintrag."}));
    f.lstListe->setCurrentRow(1);
    f.txtSuche->clear();
    f.cmdOk_Click();
    EXPECT_EQ(m.texte.last(), "Bitte geben Sie einen Such-Text ein.");
    EXPECT_TRUE(geöffnet.isEmpty());
    f.txtSuche->setText("Die Ärzte");
    f.cmdOk_Click();
    ASSERT_EQ(geöffnet.size(), 1);
    EXPECT_EQ(geöffnet[0].toString(QUrl::FullyEncoded), "https://b.example/s/Die%20%C3%84rzte");
}

TEST(Bildanzeige, ZeigtErsetztUndMeldetWasNichtGeht)
{
    QTemporaryDir ordner;
    Meldungen m;
    const QString a = ordner.filePath("a.png"), b = ordner.filePath("b.png");
    QImage(8, 6, QImage::Format_RGB32).save(a);
    QImage(4, 4, QImage::Format_RGB32).save(b);
    ASSERT_TRUE(BildAnzeigen(a));
    frmBildAnzeige* f = bildAnzeige();
    EXPECT_TRUE(f->isVisible());
    EXPECT_FALSE(f->isModal());
    EXPECT_EQ(f->windowTitle(), a + " - Bild-Anzeige");
    ASSERT_TRUE(BildAnzeigen(b));
    EXPECT_EQ(bildAnzeige(), f) << "one viewer";
    EXPECT_EQ(f->imgViewer->pixmap().size(), QSize(4, 4));
    f->close();
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(f->imgViewer->pixmap().isNull()) << "closing clears the picture";
    EXPECT_TRUE(m.texte.isEmpty());

    const QString fifo = ordner.filePath("f.png");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(BildAnzeigen(fifo)) << "refused, never read";
    EXPECT_FALSE(BildAnzeigen(ordner.filePath("fehlt.png")));
    ASSERT_EQ(m.texte.size(), 2);
    EXPECT_EQ(m.texte[1], "Die Datei '" + ordner.filePath("fehlt.png") + "' konnte nicht angezeigt werden.\n"
                          "Stellen Sie sicher, daß diese verfügbar und eine gültige Bilddatei ist.");

    QDialog modal;
    bool ergebnis = true;
    QTimer::singleShot(0, &modal, [&] {
        ergebnis = BildAnzeigen(a);
        modal.reject();
    });
    modal.exec();
    EXPECT_FALSE(ergebnis);
    EXPECT_EQ(m.texte.last(), "Bilddateien können z.Zt. nicht angezeigt werden.");
    EXPECT_FALSE(f->isVisible());
}

TEST(Statistikfenster, BefehlZeigtDieZahlenDesIndex)
{
    Meldungen m;
    hauptIndex() = Index();
    hauptIndex().EintragAnhängen("/m/a.mp3", eintrag(2048, 61, "01.01.2026"));
    hauptIndex().bolIndexGeladen = true;
    {
        frmMain f;
        f.IndexZustandAnzeigen();
        KleineFensterBefehleVerbinden(&f);
        ASSERT_TRUE(f.cmdIndexStatistik->isEnabled());
        QStringList gezeigt;
        QTimer::singleShot(0, [&] {
            auto* s = qobject_cast<frmStatistik*>(QApplication::activeModalWidget());
            if (!s)
                return;
            gezeigt << s->windowTitle() << s->lblInfosAnzahl->text() << s->lblInfosSpieldauer->text();
            s->cmdOk->click();
        });
        f.cmdIndexStatistik->clicked();
        EXPECT_EQ(gezeigt, QStringList({"Index-Statistik", "1, davon 0 auf austauschbaren Datenträgern",
                                        "0:01:01, durchschnittlich 0:01:01"}));
    }
    hauptIndex() = Index();
}

TEST(Tipps, BlätternLäuftRundherum)
{
    StandardwerteSetzen();
    const int anzahl = int(standardwerte().strTipps.size());
    ASSERT_GT(anzahl, 2);
    frmHinweise f;
    f.TippZeigen(anzahl);
    f.cmdVor_Click();
    EXPECT_EQ(f.txtTippTag, "1");
    EXPECT_EQ(f.txtTipp->toPlainText(), standardwerte().strTipps[0]);
    f.cmdZurück_Click();
    EXPECT_EQ(f.txtTippTag, QString::number(anzahl));
    EXPECT_EQ(einstellungen().TippsAktueller, anzahl);
    f.TippZeigen(anzahl + 5); // out of range starts at the first
    EXPECT_EQ(f.txtTippTag, "1");
}

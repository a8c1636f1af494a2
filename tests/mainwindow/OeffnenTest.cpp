// Every place that opens a page or a file with another program, clicked as a
// user clicks it, with the desktop's opener (xdg-open) missing, failing, or
// there: it says in German when nothing could open it, and only then.
#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/frmFortschritt.h"
#include "mainwindow/frmInfo.h"
#include "mainwindow/frmInternet.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "platform/Klicks.h"
#include "platform/Shell.h"
#include "player/Abspielen.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

// A click on the link of a label that holds one link and nothing else.
void LinkKlicken(QLabel* l)
{
    const QRect r = l->contentsRect();
    const int x = l->alignment() & Qt::AlignHCenter ? r.center().x()
                : l->alignment() & Qt::AlignRight   ? r.right() - 6
                                                    : r.left() + 6;
    QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(x, r.top() + l->fontMetrics().height() / 2));
}

class Öffnen : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    QByteArray altesPath = qgetenv("PATH");
    std::vector<Meldung> meldungen;
    DienstErsetzen<MeldungsDienst> antworten{[this](const Meldung& m) {
        meldungen.push_back(m);
        return m.knöpfe == Knöpfe::OK ? Antwort::OK : Antwort::Ja;
    }};
    // The real opener: no test's stand-in.
    DienstErsetzen<Shell::UrlÖffnerDienst> keinErsatz{nullptr};

    void SetUp() override
    {
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        QDir(ordner.path()).mkdir("bin");
        qputenv("PATH", ordner.filePath("bin").toUtf8());
    }
    void TearDown() override { qputenv("PATH", altesPath); }

    // xdg-open on PATH as a shell script of these lines.
    void Öffner(const QByteArray& zeilen)
    {
        QFile f(ordner.filePath("bin/xdg-open"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + zeilen + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString protokoll() const { return ordner.filePath("geöffnet"); }
    QByteArray geöffnet() const
    {
        QFile f(protokoll());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

struct Stelle {
    const char* name;
    QString ziel; // what is opened
    std::function<void(Öffnen&)> klicken;
};

std::vector<Stelle> Stellen(const QString& abspielDatei)
{
    // Test programs lie in build/tests, the data in build/share/kalvero: as
    // for an installed program, ../share/kalvero from the executable.
    const QString hilfe = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/kalvero/hilfe/index.htm");
    return {
        {"Hauptfenster: Hilfe", hilfe, [](Öffnen&) {
             frmMain f;
             f.resize(900, 600);
             f.show();
             Klicken(f.cmdHilfe);
         }},
        {"Willkommen: Infodatei", hilfe, [](Öffnen&) {
             frmWillkommen w;
             w.show();
             Klicken(w.cmdHilfe);
         }},
        {"Info: Update suchen", Webadresse(), [](Öffnen&) {
             frmInfo i;
             i.show();
             Klicken(i.cmdUpdate);
         }},
        {"Info: Link", Webadresse(), [](Öffnen&) {
             frmInfo i;
             i.show();
             LinkKlicken(i.lblwebsite);
         }},
        {"Fortschritt: Link", Webadresse(), [](Öffnen&) {
             frmFortschritt* f = fortschrittsfenster();
             f->show();
             LinkKlicken(f->lblwebsite);
             f->hide();
         }},
        {"Internetsuche: Ok", "https://a.example/?q=Die%20%C3%84rzte", [](Öffnen&) {
             frmInternet s;
             s.strInternetNamen = {"A"};
             s.strInternetAdressen = {"https://a.example/?q=%Suche%"};
             s.lstListe->addItems(s.strInternetNamen);
             s.show();
             ZeileKlicken(s.lstListe, 0);
             s.txtSuche->setText("Die Ärzte");
             Klicken(s.cmdOk);
         }},
        {"Internetsuche: Infodatei", hilfe, [](Öffnen&) {
             frmInternet s;
             s.show();
             LinkKlicken(s.lblwebsite);
         }},
        {"Datei eines fremden Typs", abspielDatei, [abspielDatei](Öffnen&) {
             Index idx;
             const qint32 e = idx.EintragAnhängen(abspielDatei, LeereMedienInfo());
             AbspielenMediaPlayer(idx, {e}, false, false, false, QString());
         }},
    };
}

QString Erwartet(const QString& ziel)
{
    return (ziel.startsWith("https://") ? "Das mit der Adresse '" : "Das mit der Datei '") + ziel
         + "' verknüpfte Programm konnte nicht gestartet werden.";
}

} // namespace

TEST_F(Öffnen, JedeStelleSagtWennNichtsSieÖffnet)
{
    const QString fremd = ordner.filePath("notizen.xyz");
    QFile(fremd).open(QIODevice::WriteOnly);
    const struct {
        const char* name;
        QByteArray öffner; // "": none on PATH
        bool geöffnet;
    } öffner[] = {
        {"kein xdg-open", "", false},
        {"xdg-open findet kein Programm", "exit 3", false},
        {"xdg-open scheitert", "exit 1", false},
        {"xdg-open öffnet", "printf '%s\\n' \"$1\" >> '" + protokoll().toUtf8() + "'", true},
    };
    for (const auto& ö : öffner) {
        SCOPED_TRACE(ö.name);
        QFile::remove(ordner.filePath("bin/xdg-open"));
        if (!ö.öffner.isEmpty())
            Öffner(ö.öffner);
        for (const Stelle& s : Stellen(fremd)) {
            SCOPED_TRACE(s.name);
            meldungen.clear();
            QFile::remove(protokoll());
            s.klicken(*this);
            std::vector<QString> texte;
            for (const Meldung& m : meldungen)
                if (m.knöpfe == Knöpfe::OK)
                    texte.push_back(m.text);
            if (ö.geöffnet) {
                EXPECT_EQ(texte, std::vector<QString>{});
                EXPECT_EQ(geöffnet(), s.ziel.toUtf8() + "\n");
            } else {
                ASSERT_EQ(texte, std::vector<QString>{Erwartet(s.ziel)});
                EXPECT_EQ(meldungen.back().symbol, Symbol::Information);
            }
        }
    }
}

// An opener that is still busy after a short wait has started the page's
// program (a plain xdg-open runs the browser itself): that counts as opened,
// and the window does not wait for it.
TEST_F(Öffnen, EinÖffnerDerWeiterläuftGiltAlsGeöffnet)
{
    Öffner("/bin/sleep 5; exit 1");
    frmInfo i;
    i.show();
    QElapsedTimer uhr;
    uhr.start();
    Klicken(i.cmdUpdate);
    EXPECT_LT(uhr.elapsed(), 3000);
    EXPECT_TRUE(meldungen.empty());
}

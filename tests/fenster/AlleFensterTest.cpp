// Every window of the program, opened as the program opens it, on every page
// and in each state of its pages: it fits a 1280x800 screen, keeps its size,
// shows its texts whole and lays no control over another. With KALVERO_BILDER
// set to a folder, every state is saved there as an image.

#include "app/FensterPruefung.h"

#include "support/ListenHilfen.h"
#include "support/Mp3Bauer.h"
#include "app/Dienste_gui.h"
#include "core/Verfuegbarkeit.h"
#include "library/Umbenennen.h"
#include "library/Verschieben.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Meldungen.h"
#include "core/frmFortschritt.h"
#include "core/frmIndexOeffnen.h"
#include "library/frmDateiNichtVerfuegbar.h"
#include "library/frmDateiname.h"
#include "library/frmHinzufuegen.h"
#include "library/frmIndexVerwaltung.h"
#include "library/frmKopieren.h"
#include "library/frmLoeschen.h"
#include "library/frmUmbenennen.h"
#include "library/frmVerschiebenDateiExistiert.h"
#include "library/frmZielordnerVorschlaege.h"
#include "mainwindow/ExportBefehle_gui.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/Liste.h"
#include "mainwindow/frmBeenden.h"
#include "mainwindow/frmBildAnzeige.h"
#include "mainwindow/frmIndexOptionen.h"
#include "mainwindow/frmInfo.h"
#include "mainwindow/frmInternet.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmOptionen.h"
#include "mainwindow/frmStatistik.h"
#include "mainwindow/frmSucheErweitert.h"
#include "mainwindow/frmSucheErweitertHinzufuegen.h"
#include "media/frmAusschlussliste.h"
#include "media/frmMp3Tag.h"
#include "media/frmMp3TagAutoTagWaehlen.h"
#include "media/frmMp3TagFeldFuellen.h"
#include "platform/Registry.h"
#include "player/frmAusfuehrenMit.h"
#include "player/frmAutoDJ.h"
#include "player/frmExportieren.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fensterpruefung;

namespace {

QStringList* g_befunde = nullptr;

const QString kOrdner = QStringLiteral("Musik/Ein Interpret mit einem langen Namen/Ein Album mit einem noch "
                                       "längeren Namen (Deluxe Edition, remastert)/");

// One window walked through its states: each is checked, and the window
// keeps the size it had in the first.
bool teilVonSteuerelement(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (zusammengesetzt(p))
            return true;
    return false;
}

class Rundgang {
public:
    explicit Rundgang(QWidget* fenster) : m_fenster(fenster) {}

    // A page or a part of one shown or hidden: besides, nothing that stays
    // visible moves.
    void Seite(const QString& seite) { Zustand(seite, true); }

    void Zustand(const QString& zustand, bool ortsfest = false)
    {
        setzenLassen();
        const QString wo = m_fenster->objectName() + QStringLiteral(" [") + zustand + QStringLiteral("]: ");
        if (!m_fenster->isVisible()) {
            *g_befunde << wo + QStringLiteral("the window is not shown");
            return;
        }
        if (!m_größe.isValid())
            m_größe = m_fenster->size();
        else if (m_fenster->size() != m_größe)
            *g_befunde << wo + QStringLiteral("the window changed its size from %1 to %2")
                                   .arg(maße(m_größe), maße(m_fenster->size()));
        for (const QString& b : Prüfen(m_fenster))
            *g_befunde << wo + b;
        QHash<const QWidget*, QRect> orte;
        for (const QWidget* w : m_fenster->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow() || w->window() != m_fenster || teilVonSteuerelement(w))
                continue;
            const QRect ort(w->mapTo(m_fenster, QPoint(0, 0)), w->size());
            orte.insert(w, ort);
            if (const auto alt = m_orte.constFind(w); ortsfest && alt != m_orte.cend() && *alt != ort)
                *g_befunde << wo + name(w) + QStringLiteral(" moved from %1 to %2").arg(maße(*alt), maße(ort));
        }
        m_orte = orte;
        // With KALVERO_BILDER set to a folder, each state is saved there as an image.
        if (const QString ordner = qEnvironmentVariable("KALVERO_BILDER"); !ordner.isEmpty())
            m_fenster->grab().save(QStringLiteral("%1/%2 %3.png")
                                       .arg(ordner, m_fenster->objectName(), QString(zustand).replace(u'/', u'-')));
    }

private:
    QWidget* m_fenster;
    QSize m_größe;
    QHash<const QWidget*, QRect> m_orte;
};

template <class Fenster>
Fenster* als(QWidget* w)
{
    auto* f = dynamic_cast<Fenster*>(w);
    EXPECT_NE(f, nullptr) << "another window opened: " << w->objectName().toStdString();
    return f;
}

// A window with nothing to switch: one look.
void einfach(const char* was, const std::function<void()>& öffnen)
{
    modal(was, öffnen, [](QWidget* w) { Rundgang(w).Zustand(QStringLiteral("offen")); });
}

class AlleFenster : public ::testing::Test {
protected:
    QTemporaryDir dir;
    DienstErsetzen<MeldungsDienst> meldungen{[](const Meldung&) { return Antwort::OK; }};
    std::unique_ptr<frmMain> f;
    QStringList befunde;

    void SetUp() override
    {
        g_befunde = &befunde;
        Registry::DateiSetzen(dir.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().Dateiname = dir.filePath(QStringLiteral("Kalvbox.kvx"));
        einstellungen().StartBildschirm = 1;
        Index& idx = hauptIndex();
        idx = Index();
        using namespace Mp3Bauer;
        // A deep folder of long names, as music collections have them.
        QDir(dir.path()).mkpath(kOrdner);
        for (int i = 1; i <= 12; ++i) {
            Id3v2Tag tag;
            tag.frames.push_back(TextFrame("TIT2", QStringLiteral("Ein Titel mit einem recht langen Namen"), Kodierung::Latin1));
            const QString pfad = DateiSchreiben(dir, kOrdner + QStringLiteral("Interpret - Titel %1.mp3").arg(i),
                                                tag.Bytes() + Frames(Frame{}, 40)
                                                    + Id3v1Block({.titel = "Titel", .interpret = "Interpret"}));
            Hinzu(idx, pfad, Lied(QStringLiteral("Interpret %1").arg(i % 3), QStringLiteral("Titel %1").arg(i % 6)),
                  [i](MedienInfo& m) {
                      m.Mp3_ID3v1_Musikrichtung = QChar(i % 5);
                      m.Datei_AngefordertAnzahl = i % 4;
                      m.Datei_Größe = 1000 * i;
                  });
        }
        const Standardwerte& st = standardwerte();
        idx.strDateiTypen = st.strStandardDateiTypen;
        idx.strDateiTypArten = st.strStandardDateiTypArten;
        idx.intDateiTypenLeer = 0;
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        f = std::make_unique<frmMain>();
        DiensteEinrichten();
        FensterDiensteEinrichten(f.get());
        f->show();
        f->IndexZustandAnzeigen();
        setzenLassen();
    }
    void TearDown() override
    {
        f.reset();
        Registry::DateiSetzen(QString());
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
        g_befunde = nullptr;
    }
    void wählen(std::vector<int> zeilen)
    {
        ZeilenAuswählen(*f->lstSongs->selectionModel(), *f->modell(), zeilen);
        f->lstSongs_KeyUp();
        setzenLassen();
    }
    std::vector<qint32> alle() const
    {
        std::vector<qint32> v;
        for (qint32 e = 1; e <= hauptIndex().lngIndexAnzahl; ++e)
            v.push_back(e);
        return v;
    }
};

} // namespace

TEST_F(AlleFenster, PassenAufDenBildschirmUndZeigenIhreTexteGanz)
{
    // The main window at the size it opens with, with and without a selection.
    {
        Rundgang r(f.get());
        r.Zustand(QStringLiteral("ohne Auswahl"));
        wählen({0});
        r.Zustand(QStringLiteral("eine Datei gewählt"));
        wählen({0, 1, 2});
        r.Zustand(QStringLiteral("mehrere gewählt"));
    }

    // The options and, from them, the index options and the index files.
    modal("frmOptionen", [&] { OptionenZeigen(f.get()); }, [&](QWidget* w) {
        auto* o = als<frmOptionen>(w);
        ASSERT_TRUE(o);
        Rundgang r(o);
        r.Zustand(QStringLiteral("Allgemeines"));
        for (int mal = 0; mal < 2; ++mal) {
            klicken(o->chkRegelmäßigSpeichern);
            r.Seite(QStringLiteral("Allgemeines, regelmäßig speichern umgeschaltet"));
        }
        for (int i : {4, 1, 2, 3, 0}) {
            klicken(o->optOptionen[size_t(i)]);
            r.Seite(o->optOptionen[size_t(i)]->text());
        }
        modal("frmIndexOptionen", [&] { klicken(o->cmdIndexOptionen); }, [&](QWidget* w2) {
            auto* io = als<frmIndexOptionen>(w2);
            ASSERT_TRUE(io);
            Rundgang r2(io);
            r2.Zustand(QStringLiteral("Dateitypen"));
            io->lstDateitypen->setCurrentRow(0);
            r2.Seite(QStringLiteral("Dateitypen, ein Eintrag gewählt"));
            klicken(io->cmdDateitypenHinzufügen);
            r2.Seite(QStringLiteral("Dateitypen, ein eigener Eintrag"));
            klicken(io->optOptionen[1]);
            r2.Seite(QStringLiteral("Synchronisation"));
            io->ordnerDialog = [&](const QString&) { return dir.path(); };
            klicken(io->cmdSyncOrdnerHinzufügen);
            r2.Seite(QStringLiteral("Synchronisation, ein Ordner gewählt"));
            klicken(io->chkSyncKopierenInOrdner);
            r2.Seite(QStringLiteral("Synchronisation, verschieben an"));
            klicken(io->optOptionen[2]);
            r2.Seite(QStringLiteral("Datei-Liste"));
            klicken(io->optOptionen[0]);
            r2.Seite(QStringLiteral("Dateitypen, wieder"));
            // Switching pages leaves the choice on the pages alone.
            EXPECT_TRUE(io->optDoppelklickMediaPlayer->isChecked());
        });
        modal("frmIndexÖffnen", [&] { klicken(o->cmdIndexdateiÄndern); },
              [](QWidget* w2) { Rundgang(w2).Zustand(QStringLiteral("offen")); });
        klicken(o->optOptionen[2]);
        modal("frmWillkommen", [&] { klicken(o->cmdWillkommen); },
              [](QWidget* w2) { Rundgang(w2).Zustand(QStringLiteral("offen")); });
    });

    // The progress window with everything it can show.
    {
        frmFortschritt* p = fortschrittsfenster();
        ASSERT_TRUE(FortschrittZeigenStarten(10, true, f.get(), true, true, QStringLiteral("Lese Dateien")));
        Rundgang r(p);
        ASSERT_TRUE(FortschrittZeigen(5, dir.filePath(kOrdner + QStringLiteral("Interpret - Titel 1.mp3")), f.get()));
        r.Zustand(QStringLiteral("Balken und Text"));
        ASSERT_TRUE(FortschrittZeigen(10, QStringLiteral("ein sehr langer Schritt, der über die ganze Breite des "
                                                         "Fensters reicht und weiter"),
                                      f.get()));
        r.Zustand(QStringLiteral("voll, langer Text"));
        FortschrittZeigenBeenden(f.get());
    }

    // AutoDJ, its two pages and back, and the export from its results.
    modal("frmAutoDJ", [&] { BefehlAutoDJ(f.get()); }, [&](QWidget* w) {
        auto* d = als<frmAutoDJ>(w);
        ASSERT_TRUE(d);
        Rundgang r(d);
        r.Zustand(QStringLiteral("Kriterien"));
        klicken(d->cmdGenreAlle);
        d->txtMaximum->setText(QStringLiteral("10"));
        d->txtZeit->clear();
        klicken(d->cmdErstellen);
        r.Seite(QStringLiteral("Vorschläge"));
        klicken(d->cmdWählenAlle);
        r.Zustand(QStringLiteral("Vorschläge, alle gewählt"));
        d->lstGefunden->setCurrentRow(0);
        r.Zustand(QStringLiteral("Vorschläge, einer gewählt"));
        modal("frmExportieren", [&] { klicken(d->cmdExport); }, [&](QWidget* w2) {
            auto* e = als<frmExportieren>(w2);
            ASSERT_TRUE(e);
            Rundgang r2(e);
            r2.Zustand(QStringLiteral("offen"));
            for (QRadioButton* b : {e->optText, e->optHtml, e->optPlayliste, e->optText}) {
                klicken(b);
                r2.Seite(b->text());
            }
        });
        klicken(d->cmdZurück);
        r.Seite(QStringLiteral("Kriterien, zurück"));
    });

    // The tag editor: every page, both field sets, and its dialogs.
    modal("frmMp3Tag", [&] { Mp3TagAnzeigen(alle(), f.get()); }, [&](QWidget* w) {
        auto* t = als<frmMp3Tag>(w);
        ASSERT_TRUE(t);
        Rundgang r(t);
        r.Zustand(QStringLiteral("offen"));
        for (int i : {0, 1}) {
            klicken(t->optOptionen[size_t(i)]);
            r.Seite(t->optOptionen[size_t(i)]->text());
        }
        klicken(t->cmdTAGv2Weitere);
        r.Seite(QStringLiteral("ID3v2, mehr Felder"));
        klicken(t->cmdTAGv2ErsteFelderAnzeigen);
        r.Seite(QStringLiteral("ID3v2, zurück"));
        for (int i : {2, 3, 0}) {
            klicken(t->optOptionen[size_t(i)]);
            r.Seite(t->optOptionen[size_t(i)]->text());
        }
        klicken(t->cmdNächster);
        r.Zustand(QStringLiteral("nächste Datei"));
        for (int zeile = 0; zeile < t->cboFunktion->count(); ++zeile) {
            t->cboFunktion->setCurrentRow(zeile);
            r.Seite(QStringLiteral("Funktion ") + t->cboFunktion->item(zeile)->text());
        }
        modal("frmMp3TagAutoTagWählen", [&] { AutoTagEinstellenZeigen(t); }, [&](QWidget* w2) {
            auto* a = als<frmMp3TagAutoTagWählen>(w2);
            ASSERT_TRUE(a);
            Rundgang(a).Zustand(QStringLiteral("offen"));
            modal("frmMp3TagAutoTagHinzufügen", [&] { klicken(a->cmdAutoTagHinzufügen); },
                  [](QWidget* w3) { Rundgang(w3).Zustand(QStringLiteral("offen")); });
            modal("frmAusschlußliste", [&] { klicken(a->cmdAusschlußliste); }, [&](QWidget* w3) {
                auto* l = als<frmAusschlußliste>(w3);
                ASSERT_TRUE(l);
                Rundgang(l).Zustand(QStringLiteral("offen"));
                modal("frmAusschlußlisteHinzufügen", [&] { klicken(l->cmdHinzufügen); },
                      [](QWidget* w4) { Rundgang(w4).Zustand(QStringLiteral("offen")); });
            });
        });
        einfach("frmMp3TagFeldFüllen", [&] {
            frmMp3TagFeldFüllen d(t);
            d.inhalt = [](int) { return std::pair{QStringLiteral("eins"), QStringLiteral("zwei")}; };
            d.lstFelder_Click();
            d.exec();
        });
    });

    // The library's windows.
    wählen({0, 1, 2});
    einfach("frmHinzufügen", [&] { HinzufügenZeigen(f.get()); });
    modal("frmUmbenennen", [&] { UmbenennenZeigen({1, 2}, f.get()); }, [&](QWidget* w) {
        auto* u = als<frmUmbenennen>(w);
        ASSERT_TRUE(u);
        Rundgang r(u);
        for (int zeile = 0; zeile < u->lstFunktionen->count(); ++zeile) {
            u->lstFunktionen->setCurrentRow(zeile);
            r.Seite(u->lstFunktionen->item(zeile)->text());
        }
    });
    modal("frmKopieren", [&] { KopierenZeigen({1, 2}, f.get()); }, [&](QWidget* w) {
        auto* k = als<frmKopieren>(w);
        ASSERT_TRUE(k);
        Rundgang(k).Zustand(QStringLiteral("offen"));
        einfach("frmZielordnerVorschläge", [&] {
            frmZielordnerVorschläge v(k);
            v.Fragen({dir.filePath(QStringLiteral("Interpret/Album")), dir.filePath(QStringLiteral("Interpret"))});
        });
    });
    einfach("frmLöschen", [&] { LöschenZeigen({1, 2}, f.get()); });
    modal("frmIndexVerwaltung", [&] { IndexVerwaltungZeigen(alle(), hauptIndex().lngIndexAnzahl, f.get()); },
          [&](QWidget* w) {
              auto* v = als<frmIndexVerwaltung>(w);
              ASSERT_TRUE(v);
              Rundgang r(v);
              r.Zustand(QStringLiteral("offen"));
              for (int m = 0; m < v->cboSuchmethode->count(); ++m) {
                  v->cboSuchmethode->setCurrentIndex(m);
                  klicken(v->cmdSuchen);
                  r.Zustand(v->cboSuchmethode->itemText(m));
                  if (v->lstEinträge->count() > 0) {
                      v->lstEinträge->setCurrentRow(0);
                      r.Zustand(v->cboSuchmethode->itemText(m) + QStringLiteral(", ein Fund gewählt"));
                  }
              }
          });
    einfach("frmDateiname", [&] {
        QString neu;
        Dienst<DateinameAbfrageDienst>()(dir.filePath(kOrdner + QStringLiteral("Interpret - Titel 1.mp3")), neu, false);
    });
    einfach("frmVerschiebenDateiExistiert", [&] {
        Dienst<DateiExistiertDienst>()(QStringLiteral("Die Datei '") + dir.filePath(QStringLiteral("a.mp3"))
                                       + QStringLiteral("' existiert bereits."));
    });
    einfach("frmDateiNichtVerfügbar", [&] {
        Dienst<NichtVerfügbarDienst>()(QStringLiteral("/media/cdrom/weg.mp3"),
                                       QStringLiteral("Die Datei '/media/cdrom/weg.mp3' ist nicht verfügbar.\nBitte "
                                                      "legen Sie den Datenträger 'Musik' ein."),
                                       f.get());
    });

    // The player's windows.
    einfach("frmAusführenMit", [&] { AusführenMitZeigen({1}, f.get()); });

    // The main window's small windows.
    einfach("frmStatistik", [&] { IndexStatistikZeigen(f.get()); });
    einfach("frmInfo", [&] {
        frmInfo i(f.get());
        i.Zeigen();
    });
    einfach("frmBeenden", [&] { BeendenFragen(f.get()); });
    einfach("frmInternet", [&] {
        frmInternet i(f.get());
        i.lstListe->addItems({QStringLiteral("Wikipedia (deutsch)"), QStringLiteral("MusicBrainz (Interpreten)"),
                              QStringLiteral("Discogs")});
        i.txtSuche->setText(QStringLiteral("Interpret 1"));
        i.exec();
    });
    modal("frmHinweise", [&] {
        frmHinweise h(f.get());
        h.TippZeigen(1);
        h.exec();
    },
          [](QWidget* w) {
              auto* h = als<frmHinweise>(w);
              ASSERT_TRUE(h);
              Rundgang r(h);
              r.Zustand(QStringLiteral("Tipp 1"));
              for (int i = 0; i < 3; ++i) {
                  klicken(h->cmdVor);
                  r.Zustand(QStringLiteral("nächster Tipp"));
              }
          });
    modal("frmSucheErweitert", [&] { SucheErweitertZeigen(f.get()); }, [&](QWidget* w) {
        auto* s = als<frmSucheErweitert>(w);
        ASSERT_TRUE(s);
        Rundgang(s).Zustand(QStringLiteral("offen"));
        modal("frmSucheErweitertHinzufügen", [&] { klicken(s->cmdSucheNeu); }, [](QWidget* w2) {
            auto* h = als<frmSucheErweitertHinzufügen>(w2);
            ASSERT_TRUE(h);
            Rundgang r(h);
            for (int zeile = 0; zeile < h->lstSucheArt->count(); ++zeile) {
                h->lstSucheArt->setCurrentRow(zeile);
                r.Zustand(h->lstSucheArt->item(zeile)->text());
            }
        });
    });
    {
        const QString bild = dir.filePath(QStringLiteral("bild.png"));
        QImage(300, 200, QImage::Format_RGB32).save(bild);
        ASSERT_TRUE(BildAnzeigen(bild));
        Rundgang(bildAnzeige()).Zustand(QStringLiteral("Bild"));
        bildAnzeige()->cmdOk_Click();
    }

    // A message box with a long text.
    einfach("Meldung", [&] {
        MeldungsfensterZeigen(Meldung{QStringLiteral("Die Datei '")
                                          + dir.filePath(QStringLiteral("Ein Ordner mit Namen/").repeated(8))
                                          + QStringLiteral("' konnte nicht gespeichert werden, da die Datei nicht "
                                                           "gelöscht werden kann."),
                                      Knöpfe::JaNeinAbbrechen, Symbol::Frage, f.get()});
    });

    EXPECT_TRUE(befunde.isEmpty()) << befunde.join(QLatin1Char('\n')).toStdString();
}

// On the colour page each colour button stands beside the sample it colours,
// and a click on it colours that sample.
TEST_F(AlleFenster, FarbknöpfeStehenNebenIhremBeispiel)
{
    modal("frmOptionen", [&] { OptionenZeigen(f.get()); }, [&](QWidget* w) {
        auto* o = als<frmOptionen>(w);
        ASSERT_TRUE(o);
        klicken(o->optOptionen[3]);
        setzenLassen();
        const struct {
            QPushButton* knopf;
            QWidget* beispiel;
            qint32 FarbWerte::*farbe;
        } paare[] = {
            {o->cmdLinkFarbe, o->lblBeispielFunktionen, &FarbWerte::Funktionen},
            {o->cmdLinkFarbeBesucht, o->lblBeispielFunktionenBesucht, &FarbWerte::FunktionenBesucht},
            {o->cmdÜberschriftFarbe, o->lblBeispielÜberschrift, &FarbWerte::Überschrift},
            {o->cmdBeschreibungFarbe, o->lblBeispielBeschreibungen, &FarbWerte::Beschreibungen},
            {o->cmdListeFarbe, o->lstBeispielListe, &FarbWerte::ListenHintergrund},
            {o->cmdListeTextFarbe, o->lstBeispielListe, &FarbWerte::Listen},
        };
        int nummer = 0;
        for (const auto& p : paare) {
            const QRect k(p.knopf->mapTo(o, QPoint(0, 0)), p.knopf->size());
            const QRect b(p.beispiel->mapTo(o, QPoint(0, 0)), p.beispiel->size());
            const std::string was = p.knopf->objectName().toStdString();
            EXPECT_GE(k.center().y(), b.top()) << was << " stands above its sample";
            EXPECT_LE(k.center().y(), b.bottom()) << was << " stands below its sample";
            EXPECT_GE(k.left(), b.right()) << was << " is not beside its sample";
            const QColor neu(10, 20, 30 + ++nummer);
            o->farbDialog = [neu](const QColor&) { return neu; };
            klicken(p.knopf);
            EXPECT_EQ(o->Vorschau().*p.farbe, RGBFarbe(neu.red(), neu.green(), neu.blue())) << was;
        }
    });
}

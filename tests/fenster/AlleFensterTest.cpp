// Every window of the program, opened as the program opens it, on every page
// and in each state of its pages: it fits a 1280x800 screen, keeps its size,
// shows its texts whole (each row of a list too, capital umlauts with their
// dots) and lays no control over another. With KALVERO_BILDER
// set to a folder, every state is saved there as an image.

#include "app/FensterPruefung.h"

#include "app/Dienste_gui.h"
#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Meldungen.h"
#include "core/Verfuegbarkeit.h"
#include "core/frmFortschritt.h"
#include "library/Umbenennen.h"
#include "library/Verschieben.h"
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
#include "support/ListenHilfen.h"
#include "support/Mp3Bauer.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <source_location>

using namespace fensterpruefung;

namespace {

QStringList befunde;

const QString kOrdner = "Musik/Ein Interpret mit einem langen Namen/Ein Album mit einem noch längeren Namen "
                        "(Deluxe Edition, remastert)/";

// One window walked through its states: each is checked, the window keeps
// the size it had in the first, and where a page changes, nothing that stays
// visible moves.
class Rundgang {
public:
    explicit Rundgang(QWidget* fenster) : f(fenster) {}
    QWidget* const f;

    void Zustand(const QString& zustand, bool ortsfest = false)
    {
        setzenLassen();
        QStringList neu = f->isVisible() ? Prüfen(f) : QStringList{"the window is not shown"};
        if (!m_größe.isValid())
            m_größe = f->size();
        if (f->size() != m_größe)
            neu << "the window changed its size from " + text(m_größe) + " to " + text(f->size());
        QHash<const QWidget*, QRect> orte;
        for (const QWidget* w : f->findChildren<QWidget*>()) {
            bool teil = false; // a part of a control moves with it
            for (const QWidget* p = w->parentWidget(); p && p != f; p = p->parentWidget())
                teil = teil || zusammengesetzt(p);
            if (!w->isVisible() || w->window() != f || teil)
                continue;
            const QRect ort(w->mapTo(f, QPoint()), w->size());
            if (ortsfest && m_orte.value(w, ort) != ort)
                neu << name(w) + " moved from " + text(m_orte[w]) + " to " + text(ort);
            orte.insert(w, ort);
        }
        m_orte = orte;
        for (const QString& b : neu)
            befunde << f->objectName() + " [" + zustand + "]: " + b;
        if (const QString ordner = qEnvironmentVariable("KALVERO_BILDER"); !ordner.isEmpty())
            f->grab().save(ordner + '/' + f->objectName() + ' ' + QString(zustand).replace('/', '-') + ".png");
    }
    // Pages: each button clicked, each row of a list chosen.
    void Klicken(std::initializer_list<QAbstractButton*> knöpfe)
    {
        for (QAbstractButton* b : knöpfe) {
            klicken(b);
            Zustand(b->text(), true);
        }
    }
    void Zeilen(QListWidget* l, bool ortsfest = true)
    {
        for (int z = 0; z < l->count(); ++z) {
            l->setCurrentRow(z);
            Zustand(l->item(z)->text(), ortsfest);
        }
    }

private:
    QSize m_größe;
    QHash<const QWidget*, QRect> m_orte;
};

// Opens a modal window, looks at it and walks it, a `T`, with `rundgang`.
template <class T = QWidget>
void ansehen(const std::function<void()>& öffnen, const std::function<void(Rundgang&, T*)>& rundgang = {},
             std::source_location ort = std::source_location::current())
{
    modal(("the window of line " + std::to_string(ort.line())).c_str(), öffnen, [&](QWidget* w) {
        Rundgang r(w);
        r.Zustand("offen");
        if (auto* t = dynamic_cast<T*>(w); t && rundgang)
            rundgang(r, t);
        else if (rundgang)
            ADD_FAILURE() << "line " << ort.line() << ": another window opened, " << w->objectName().toStdString();
    });
}

class AlleFenster : public ::testing::Test {
protected:
    QTemporaryDir dir;
    DienstErsetzen<MeldungsDienst> meldungen{[](const Meldung&) { return Antwort::OK; }};
    std::unique_ptr<frmMain> f;
    std::vector<qint32> alle;

    void SetUp() override
    {
        befunde.clear();
        Registry::DateiSetzen(dir.filePath("k.ini"));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().Dateiname = dir.filePath("Kalvbox.kvx");
        einstellungen().StartBildschirm = 1;
        Index& idx = hauptIndex() = Index();
        // A deep folder of long names, as music collections have them.
        QDir(dir.path()).mkpath(kOrdner);
        using namespace Mp3Bauer;
        Id3v2Tag tag;
        tag.frames.push_back(TextFrame("TIT2", "Ein Titel mit einem recht langen Namen", Kodierung::Latin1));
        for (int i = 1; i <= 12; ++i) {
            MedienInfo m = Lied(i % 3 ? QString("Interpret %1").arg(i % 3) : QString("Ölicht"), QString("Titel %1").arg(i % 6));
            m.Mp3_ID3v1_Musikrichtung = QChar(i % 5);
            m.Datei_AngefordertAnzahl = i % 4;
            m.Datei_Größe = 1000 * i;
            const QByteArray mp3 = tag.Bytes() + Frames(Frame{}, 40) + Id3v1Block({.titel = "Titel", .interpret = "Interpret"});
            alle.push_back(idx.EintragAnhängen(DateiSchreiben(dir, kOrdner + QString("Interpret - Titel %1.mp3").arg(i), mp3), m));
        }
        idx.strDateiTypen = standardwerte().strStandardDateiTypen;
        idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        f = std::make_unique<frmMain>();
        DiensteEinrichten();
        FensterDiensteEinrichten(f.get());
        f->show();
        f->IndexZustandAnzeigen();
    }
    void TearDown() override
    {
        f.reset();
        Registry::DateiSetzen(QString());
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
    }
    void wählen(std::vector<int> zeilen)
    {
        ZeilenAuswählen(*f->lstSongs->selectionModel(), *f->modell(), zeilen);
        f->lstSongs_KeyUp();
    }
};

} // namespace

TEST_F(AlleFenster, PassenAufDenBildschirmUndZeigenIhreTexteGanz)
{
    Rundgang haupt(f.get());
    for (const auto& auswahl : std::initializer_list<std::vector<int>>{{}, {0}, {0, 1, 2}}) {
        wählen(auswahl);
        haupt.Zustand(QString("%1 gewählt").arg(auswahl.size()));
    }

    // The options and, from them, the index options, the index files and the welcome window.
    ansehen<frmOptionen>([&] { OptionenZeigen(f.get()); }, [&](Rundgang& r, frmOptionen* o) {
        const auto& seite = o->optOptionen;
        r.Klicken({o->chkRegelmäßigSpeichern, o->chkRegelmäßigSpeichern, seite[4], seite[1], seite[2], seite[3]});
        // Each colour button stands beside the sample it colours, and colours it.
        const std::tuple<QPushButton*, QWidget*, qint32 FarbWerte::*> paare[] = {
            {o->cmdLinkFarbe, o->lblBeispielFunktionen, &FarbWerte::Funktionen},
            {o->cmdLinkFarbeBesucht, o->lblBeispielFunktionenBesucht, &FarbWerte::FunktionenBesucht},
            {o->cmdÜberschriftFarbe, o->lblBeispielÜberschrift, &FarbWerte::Überschrift},
            {o->cmdBeschreibungFarbe, o->lblBeispielBeschreibungen, &FarbWerte::Beschreibungen},
            {o->cmdListeFarbe, o->lstBeispielListe, &FarbWerte::ListenHintergrund},
            {o->cmdListeTextFarbe, o->lstBeispielListe, &FarbWerte::Listen}};
        int nummer = 0;
        for (const auto& [knopf, beispiel, farbe] : paare) {
            const QRect k(knopf->mapTo(o, QPoint()), knopf->size()), b(beispiel->mapTo(o, QPoint()), beispiel->size());
            EXPECT_TRUE(k.left() >= b.right() && k.center().y() >= b.top() && k.center().y() <= b.bottom())
                << knopf->objectName().toStdString() << " is not beside its sample";
            const QColor neu(10, 20, 30 + ++nummer);
            o->farbDialog = [neu](const QColor&) { return neu; };
            klicken(knopf);
            EXPECT_EQ(o->Vorschau().*farbe, RGBFarbe(neu.red(), neu.green(), neu.blue())) << knopf->objectName().toStdString();
        }
        r.Klicken({seite[0]});
        ansehen<frmIndexOptionen>([&] { klicken(o->cmdIndexOptionen); }, [&](Rundgang& r2, frmIndexOptionen* io) {
            io->lstDateitypen->setCurrentRow(0);
            r2.Zustand("Dateitypen, ein Eintrag gewählt", true);
            io->ordnerDialog = [&](const QString&) { return dir.path(); };
            r2.Klicken({io->cmdDateitypenHinzufügen, io->optOptionen[1], io->cmdSyncOrdnerHinzufügen,
                        io->chkSyncKopierenInOrdner, io->optOptionen[2], io->optOptionen[0]});
            // Switching pages leaves the choice on the pages alone.
            EXPECT_TRUE(io->optDoppelklickMediaPlayer->isChecked());
        });
        ansehen([&] { klicken(o->cmdIndexdateiÄndern); });
        klicken(seite[2]);
        ansehen([&] { klicken(o->cmdWillkommen); });
    });

    // The progress window with a path and with a long text.
    ASSERT_TRUE(FortschrittZeigenStarten(10, true, f.get(), true, true, "Lese Dateien"));
    Rundgang fortschritt(fortschrittsfenster());
    for (const auto& [wert, schritt] : {std::pair{5, dir.filePath(kOrdner + "Interpret - Titel 1.mp3")},
                                        std::pair{10, QString("ein sehr langer Schritt, der über die ganze Breite reicht")}}) {
        ASSERT_TRUE(FortschrittZeigen(wert, schritt, f.get()));
        fortschritt.Zustand(QString::number(wert));
    }
    FortschrittZeigenBeenden(f.get());

    // AutoDJ, its two pages and back, and the export from its results.
    ansehen<frmAutoDJ>([&] { BefehlAutoDJ(f.get()); }, [&](Rundgang& r, frmAutoDJ* d) {
        klicken(d->cmdGenreAlle);
        d->txtMaximum->setText("10");
        d->txtZeit->clear();
        r.Klicken({d->cmdErstellen, d->cmdWählenAlle});
        d->lstGefunden->setCurrentRow(0);
        r.Zustand("Vorschläge, einer gewählt");
        ansehen<frmExportieren>([&] { klicken(d->cmdExport); }, [](Rundgang& r2, frmExportieren* e) {
            r2.Klicken({e->optText, e->optHtml, e->optPlayliste, e->optText});
        });
        r.Klicken({d->cmdZurück});
    });

    // The tag editor: every page, both field sets, every function, and its dialogs.
    ansehen<frmMp3Tag>([&] { Mp3TagAnzeigen(alle, f.get()); }, [&](Rundgang& r, frmMp3Tag* t) {
        const auto& s = t->optOptionen;
        r.Klicken({s[0], s[1], t->cmdTAGv2Weitere, t->cmdTAGv2ErsteFelderAnzeigen, s[2], s[3], s[0], t->cmdNächster});
        r.Zeilen(t->cboFunktion);
        ansehen<frmMp3TagAutoTagWählen>([&] { AutoTagEinstellenZeigen(t); }, [](Rundgang&, frmMp3TagAutoTagWählen* a) {
            ansehen([&] { klicken(a->cmdAutoTagHinzufügen); });
            ansehen<frmAusschlußliste>([&] { klicken(a->cmdAusschlußliste); }, [](Rundgang&, frmAusschlußliste* l) {
                ansehen([&] { klicken(l->cmdHinzufügen); });
            });
        });
        ansehen([&] {
            frmMp3TagFeldFüllen d(t);
            d.inhalt = [](int) { return std::pair{QString("eins"), QString("zwei")}; };
            d.lstFelder_Click();
            d.exec();
        });
    });

    // The library's windows.
    wählen({0, 1, 2});
    ansehen([&] { HinzufügenZeigen(f.get()); });
    ansehen<frmUmbenennen>([&] { UmbenennenZeigen({1, 2}, f.get()); },
                           [](Rundgang& r, frmUmbenennen* u) { r.Zeilen(u->lstFunktionen); });
    ansehen<frmKopieren>([&] { KopierenZeigen({1, 2}, f.get()); }, [&](Rundgang&, frmKopieren* k) {
        ansehen([&] { frmZielordnerVorschläge(k).Fragen({dir.filePath("Interpret/Album"), dir.filePath("Interpret")}); });
    });
    ansehen([&] { LöschenZeigen({1, 2}, f.get()); });
    ansehen<frmIndexVerwaltung>([&] { IndexVerwaltungZeigen(alle, qint32(alle.size()), f.get()); },
                                [](Rundgang& r, frmIndexVerwaltung* v) {
                                    for (int m = 0; m < v->cboSuchmethode->count(); ++m) {
                                        v->cboSuchmethode->setCurrentIndex(m);
                                        klicken(v->cmdSuchen);
                                        r.Zustand(v->cboSuchmethode->itemText(m));
                                        v->lstEinträge->setCurrentRow(0);
                                        r.Zustand(v->cboSuchmethode->itemText(m) + ", ein Fund gewählt");
                                    }
                                });
    QString neu;
    ansehen([&] { Dienst<DateinameAbfrageDienst>()(dir.filePath(kOrdner + "Interpret - Titel 1.mp3"), neu, false); });
    ansehen([&] { Dienst<DateiExistiertDienst>()("Die Datei '" + dir.filePath("a.mp3") + "' existiert bereits."); });
    ansehen([&] {
        Dienst<NichtVerfügbarDienst>()("/media/cdrom/weg.mp3", "Die Datei '/media/cdrom/weg.mp3' ist nicht verfügbar.\n"
                                       "Bitte legen Sie den Datenträger 'Musik' ein.", f.get());
    });

    // The player's and the main window's small windows.
    ansehen([&] { AusführenMitZeigen({1}, f.get()); });
    ansehen([&] { IndexStatistikZeigen(f.get()); });
    ansehen([&] { frmInfo(f.get()).Zeigen(); });
    ansehen([&] { BeendenFragen(f.get()); });
    frmInternet suche(f.get());
    suche.lstListe->addItems({"Wikipedia (deutsch)", "MusicBrainz (Interpreten)", "Discogs"});
    suche.txtSuche->setText("Interpret 1");
    ansehen([&] { suche.exec(); });
    frmHinweise tipps(f.get());
    tipps.TippZeigen(1);
    ansehen<frmHinweise>([&] { tipps.exec(); },
                         [](Rundgang& r, frmHinweise* h) { r.Klicken({h->cmdVor, h->cmdVor, h->cmdVor}); });
    ansehen<frmSucheErweitert>([&] { SucheErweitertZeigen(f.get()); }, [](Rundgang&, frmSucheErweitert* s) {
        ansehen<frmSucheErweitertHinzufügen>([&] { klicken(s->cmdSucheNeu); },
                                             [](Rundgang& r, frmSucheErweitertHinzufügen* h) { r.Zeilen(h->lstSucheArt, false); });
    });
    const QString bild = dir.filePath("bild.png");
    QImage(300, 200, QImage::Format_RGB32).save(bild);
    ASSERT_TRUE(BildAnzeigen(bild));
    Rundgang(bildAnzeige()).Zustand("Bild");
    bildAnzeige()->cmdOk_Click();

    // A message box with a long text.
    ansehen([&] {
        MeldungsfensterZeigen({"Die Datei '" + dir.filePath(QString("Ein Ordner mit Namen/").repeated(8))
                                   + "' konnte nicht gespeichert werden, da die Datei nicht gelöscht werden kann.",
                               Knöpfe::JaNeinAbbrechen, Symbol::Frage, f.get()});
    });

    EXPECT_TRUE(befunde.isEmpty()) << befunde.join('\n').toStdString();
}

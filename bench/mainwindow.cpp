// The song list at 100,000 entries: load, search, refill, sort, selection, repaint.
// Prints "figure NAME VALUE UNIT" lines (medians of several runs).

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/Sortieren.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kEinträge = 100'000;

QString Wort(QRandomGenerator& r)
{
    static const char* const silben[] = {"ka", "lo", "mi", "ne", "ru", "sa", "to", "vi", "ber", "dan",
                                         "fel", "gor", "hin", "jun", "kel", "lor", "mon", "nar", "pol", "ster"};
    QString w;
    const int n = 2 + int(r.bounded(3));
    for (int i = 0; i < n; ++i)
        w += QString::fromLatin1(silben[r.bounded(20)]);
    w[0] = w[0].toUpper();
    return w;
}

void IndexFüllen(Index& idx)
{
    QRandomGenerator r(42);
    idx.IndexDatenDimensionieren(kEinträge, false);
    for (int i = 1; i <= kEinträge; ++i) {
        MedienInfo m = LeereMedienInfo();
        m.Mp3_ID3v1_Vorhanden = 1;
        m.Mp3_ID3v1_Interpret = Wort(r) + QLatin1Char(' ') + Wort(r);
        m.Mp3_ID3v1_Titel = Wort(r) + QLatin1Char(' ') + Wort(r) + QLatin1Char(' ') + Wort(r);
        m.Mp3_ID3v1_Album = Wort(r);
        if (i % 2) {
            m.Mp3_ID3v2_Vorhanden = 1;
            m.Mp3_ID3v2_Interpret = m.Mp3_ID3v1_Interpret;
            m.Mp3_ID3v2_Titel = m.Mp3_ID3v1_Titel;
        }
        m.Datei_Größe = 3'000'000 + r.bounded(5'000'000);
        m.Header_Dauer = 60 + r.bounded(600);
        idx.strIndexPfad[size_t(i)] = QStringLiteral("/home/musik/") + m.Mp3_ID3v1_Interpret + QLatin1Char('/')
            + m.Mp3_ID3v1_Album + QLatin1Char('/') + m.Mp3_ID3v1_Titel + QStringLiteral(".mp3");
        idx.IndexDaten[size_t(i)] = std::move(m);
        idx.intSuchErgebnis[size_t(i)] = 1;
    }
    idx.lngIndexAnzahl = kEinträge;
    idx.bolIndexGeladen = true;
    idx.strSpalten.clear();
}

double Median(int läufe, const std::function<void()>& vorher, const std::function<void()>& messen)
{
    std::vector<double> ms;
    for (int i = 0; i < läufe; ++i) {
        if (vorher)
            vorher();
        QElapsedTimer t;
        t.start();
        messen();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Zahl(const char* name, double wert) { std::printf("figure %s %.2f ms\n", name, wert); }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DienstSetzen<MeldungsDienst>([](const Meldung&) { return Antwort::OK; });
    StandardwerteSetzen();
    einstellungen() = StandardEinstellungen();
    Index& idx = hauptIndex();
    IndexFüllen(idx);

    frmMain f;
    f.resize(1200, 800);
    f.show();
    f.SpaltenAnpassen();
    QApplication::processEvents();
    ListenZustand& z = listenZustand();
    z.bolMarkierungenBehalten = true;

    // The list with 4 columns, all entries listed, three marked rows kept.
    SuchErgebnisseZurücksetzen(idx, suchZustand().lngListeVon, suchZustand().lngListeBis);
    suchZustand().lngListeVon = 1;
    f.ListeErstellen(true);
    ZeilenAuswählen(*f.lstSongs->selectionModel(), *f.modell(), {1, 5000, 50000});
    f.AuswahlErmitteln();
    const double rebuild = Median(7, [&] {
        SuchErgebnisseZurücksetzen(idx, suchZustand().lngListeVon, suchZustand().lngListeBis);
        suchZustand().lngListeVon = 1;
    },
                                  [&] {
                                      f.ListeErstellen(true);
                                      QApplication::processEvents(); // the view's delayed layout
                                  });

    // The index saved and loaded again as start-up loads it (the file read,
    // then the window's share: list, columns, the search texts), and the
    // first word typed right after, before any idle time.
    QTemporaryDir ordner;
    einstellungen().Dateiname = ordner.filePath(QStringLiteral("bench.kvx"));
    if (!DateiSpeichern(idx, einstellungen().Dateiname, false))
        return 1;
    QElapsedTimer uhr;
    uhr.start();
    if (!IndexDateiLaden() || idx.lngIndexAnzahl != kEinträge)
        return 1;
    const double laden = double(uhr.nsecsElapsed()) / 1e6;
    suchZustand().bolSucheGesperrt = true;
    f.cboSuche->setCurrentIndex(0);
    f.txtSongname->setEditText(QStringLiteral("ster"));
    suchZustand().bolSucheGesperrt = false;
    uhr.start();
    f.tmrListe_Timer();
    const double sucheKalt = double(uhr.nsecsElapsed()) / 1e6;
    const int treffer = f.modell()->rowCount();
    const double suche = Median(9, {}, [&] {
        f.tmrListe_Timer();
        QApplication::processEvents();
    });

    // Sorting by a column click on "Titel" (sort, refill and search again).
    int titelSpalte = -1;
    for (int j = 0; j < f.modell()->columnCount(); ++j)
        if (f.modell()->SpaltenFeldName(j) == QLatin1String("Titel"))
            titelSpalte = j;
    const double sortieren = Median(5, {}, [&] { f.lstSongs_ColumnClick(titelSpalte); });
    const double sortierenAllein = Median(5, {}, [&] { IndexSortieren(idx, QStringLiteral("Titel"), 1, idx.lngIndexAnzahl); });

    // 20,000 scattered rows selected, read back.
    f.cmdSucheLöschen_Click();
    std::vector<int> zeilen;
    for (int r = 0; r < f.modell()->rowCount() && zeilen.size() < 20'000; r += 5)
        zeilen.push_back(r);
    ZeilenAuswählen(*f.lstSongs->selectionModel(), *f.modell(), zeilen);
    f.AuswahlErmitteln();
    const qint32 gewählt = z.lngAuswahlAnzahl;
    const double auswahl = Median(9, {}, [&] { f.AuswahlErmitteln(); });
    // Everything selected (Ctrl+A), read back with the description bar.
    f.lstSongs->selectAll();
    const double beschreibung = Median(9, {}, [&] {
        f.AuswahlErmitteln();
        f.BeschreibungAktualisieren();
    });
    ZeilenAuswählen(*f.lstSongs->selectionModel(), *f.modell(), zeilen);
    f.AuswahlErmitteln();

    // A full repaint of the visible rows: with the 20,000 scattered rows
    // selected (Qt asks the selection model per cell, which walks its
    // ranges), and with a usual selection of a few rows.
    const double zeichnenViele = Median(9, {}, [&] { f.lstSongs->viewport()->repaint(); });
    ZeilenAuswählen(*f.lstSongs->selectionModel(), *f.modell(), {2, 3, 4, 9});
    const double zeichnen = Median(9, {}, [&] { f.lstSongs->viewport()->repaint(); });

    std::printf("# %d entries, %d hits for the word, %d rows selected\n", kEinträge, treffer, int(gewählt));
    Zahl("search_ms", suche);
    Zahl("search_first_ms", sucheKalt);
    Zahl("load_with_window_ms", laden);
    Zahl("rebuild_ms", rebuild);
    Zahl("sort_ms", sortieren);
    Zahl("sort_index_only_ms", sortierenAllein);
    Zahl("selection_ms", auswahl);
    Zahl("selection_all_and_description_ms", beschreibung);
    Zahl("repaint_ms", zeichnen);
    Zahl("repaint_20k_selected_ms", zeichnenViele);
    return 0;
}

#include "mainwindow/frmOptionen.h"

#include "core/Dateihelfer.h"
#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "core/frmIndexOeffnen.h"
#include "core/IndexOeffnen.h"
#include "core/Linkfarbe_gui.h"
#include "library/Hinzufuegen.h"
#include "mainwindow/Farben_gui.h"
#include "mainwindow/frmIndexOptionen.h"
#include "mainwindow/frmKleineFenster.h"
#include "mainwindow/frmMain.h"
#include "platform/Farbe_gui.h"
#include "platform/Steuerelemente_gui.h"
#include "platform/Umbruchknopf_gui.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

void hinweis(const QString& text, QObject* besitzer)
{
    MeldungZeigen(text, Knöpfe::OK, Symbol::Information, besitzer);
}

void farbeSetzen(QWidget* w, QPalette::ColorRole rolle, qint32 farbe)
{
    QPalette p = w->palette();
    p.setColor(rolle, WindowsFarbe(farbe));
    if (rolle == QPalette::WindowText)
        p.setColor(QPalette::Text, WindowsFarbe(farbe));
    if (rolle == QPalette::Window)
        p.setColor(QPalette::Base, WindowsFarbe(farbe));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

int haken(const QCheckBox* c) { return c->isChecked() ? 1 : 0; }

// Long captions wrap: the pages share one width.
QCheckBox* box(QWidget* eltern, const char* name, const QString& text)
{
    return benannt(new Umbrechend<QCheckBox>(text, eltern), name);
}

// A page's bold heading and its note below it, over three grid columns.
void seitenKopf(QGridLayout* l, QWidget* s, const QString& titel, const char* hinweisName, const QString& hinweis)
{
    auto* kopf = new QLabel(titel, s);
    fettSetzen(kopf);
    l->addWidget(kopf, 0, 0, 1, 3);
    l->addWidget(TextLabel(s, hinweisName, hinweis), 1, 0, 1, 3);
}

QLabel* beispiel(QWidget* eltern, const char* name, const QString& text)
{
    auto* l = benannt(new QLabel(text, eltern), name);
    l->setFont(QFont(QStringLiteral("Verdana"), l->font().pointSize()));
    return l;
}

} // namespace

frmOptionen::frmOptionen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptionen"));
    setWindowTitle(QStringLiteral("Programm-Optionen"));
    setModal(true);

    auto* haupt = new QVBoxLayout(this);
    auto* mitte = new QHBoxLayout;
    auto* knöpfe = new QVBoxLayout;
    const char* titel[] = {"Allgemeines", "Audio", "Anzeigen", "Farben", "Datei-TAGs"};
    for (int i = 0; i < 5; ++i) {
        optOptionen[size_t(i)] = benannt(new QRadioButton(QString::fromUtf8(titel[i]), this),
                                         QStringLiteral("optOptionen%1").arg(i));
        fraOptionen[size_t(i)] = benannt(new QFrame(this), QStringLiteral("fraOptionen%1").arg(i));
        fraOptionen[size_t(i)]->setMouseTracking(true);
        fraOptionen[size_t(i)]->installEventFilter(this);
        connect(optOptionen[size_t(i)], &QRadioButton::clicked, this, [this, i] { optOptionen_Click(i); });
    }
    // The page buttons in their column: "Datei-TAGs" comes second.
    for (int i : {0, 4, 1, 2, 3})
        knöpfe->addWidget(optOptionen[size_t(i)]);
    knöpfe->addStretch(1);
    mitte->addLayout(knöpfe);
    mitte->addLayout(Seitenstapel(fraOptionen, optOptionen), 1);
    haupt->addLayout(mitte, 1);

    // Page 0 "Allgemeines"
    {
        QFrame* s = fraOptionen[0];
        auto* l = new QVBoxLayout(s);
        l->addWidget(TextLabel(s, "lblEinleitung",
                               QStringLiteral("Dieses Programm verwendet zur Medienverwaltung eine Datei, genannt "
                                              "Index. Stellen Sie hier ein, wie diese verwendet wird.")));
        lblIndexdatei = benannt(new QLabel(QStringLiteral("Indexverwaltung"), s), "lblIndexdatei");
        fettSetzen(lblIndexdatei);
        l->addWidget(lblIndexdatei);
        auto* zeile = new QHBoxLayout;
        cmdIndexdateiÄndern = benannt(new QPushButton(QStringLiteral("Indexdatei(en) verwalten"), s), "cmdIndexdateiÄndern");
        cmdIndexOptionen = benannt(new QPushButton(QStringLiteral("Ändern der Index-Optionen"), s), "cmdIndexOptionen");
        zeile->addWidget(cmdIndexdateiÄndern);
        zeile->addWidget(cmdIndexOptionen);
        l->addLayout(zeile);
        chkAutomatischSpeichern = box(s, "chkAutomatischSpeichern", QStringLiteral("Index ohne Rückfrage speichern, wenn nötig"));
        chkRegelmäßigSpeichern = box(s, "chkRegelmäßigSpeichern", QStringLiteral("Index regelmäßig speichern"));
        l->addWidget(chkAutomatischSpeichern);
        l->addWidget(chkRegelmäßigSpeichern);
        // The minutes field sits in the gap of its label.
        auto* minuten = new QHBoxLayout;
        lblRegelmäßigSpeichern = benannt(new QLabel(QStringLiteral("und zwar alle"), s), "lblRegelmäßigSpeichern");
        txtRegelmäßigSpeichern = benannt(new QLineEdit(s), "txtRegelmäßigSpeichern");
        txtRegelmäßigSpeichern->setMaximumWidth(60);
        auto* einheit = benannt(new QLabel(QStringLiteral("Minuten"), lblRegelmäßigSpeichern), "lblRegelmäßigSpeichernEinheit");
        // Hidden, the row keeps its room: ticking the box moves nothing.
        for (QWidget* w : {static_cast<QWidget*>(lblRegelmäßigSpeichern), static_cast<QWidget*>(txtRegelmäßigSpeichern),
                           static_cast<QWidget*>(einheit)})
            PlatzHalten(w);
        minuten->addWidget(lblRegelmäßigSpeichern);
        minuten->addWidget(txtRegelmäßigSpeichern);
        minuten->addWidget(einheit);
        minuten->addStretch(1);
        l->addLayout(minuten);
        chkWennNichtListe = box(s, "chkWennNichtListe", QStringLiteral("Dateien nur hinzufügen, wenn noch nicht im Index (langsamer)"));
        chkAuchUnterOrdner = box(s, "chkAuchUnterOrdner", QStringLiteral("Unterordner auslesen, wenn Ordner hinzugefügt werden"));
        chkNichtVerfügbarZeigen = box(s, "chkNichtVerfügbarZeigen", QStringLiteral("Bei nicht verfügbaren Dateien nach Datenträger fragen"));
        chkAuswahlliste = box(s, "chkAuswahlliste", QStringLiteral("Au&swahlliste für Such-Eingaben erstellen (langsamer)"));
        chkAutoComplete = box(s, "chkAutoComplete", QStringLiteral("Such-Eingaben automatisch vervollständigen (langsamer)"));
        for (QCheckBox* c : {chkWennNichtListe, chkAuchUnterOrdner, chkNichtVerfügbarZeigen, chkAuswahlliste, chkAutoComplete})
            l->addWidget(c);
        l->addWidget(new QLabel(QStringLiteral("Suche nicht aktualisieren bei"), s));
        chkKeineSucheBeiKlick = box(s, "chkKeineSucheBeiKlick", QStringLiteral("Auswahl einer anderen Such-Art ohne Eingabe (schneller)"));
        chkKeineSucheBeiTAgEditor = box(s, "chkKeineSucheBeiTAgEditor", QStringLiteral("Schließen des TAG-Editors (schneller)"));
        l->addWidget(chkKeineSucheBeiKlick);
        l->addWidget(chkKeineSucheBeiTAgEditor);
        l->addWidget(new QLabel(QStringLiteral("Standardaktion beim Schließen des Programmes"), s));
        cboBeendenAktion = benannt(new QComboBox(s), "cboBeendenAktion");
        cboBeendenAktion->addItems({QStringLiteral("Auswahlfenster"), QStringLiteral("Minimieren"), QStringLiteral("Beenden"),
                                    QStringLiteral("Tray")});
        l->addWidget(cboBeendenAktion);
        l->addStretch(1);
    }
    // Page 1 "Audio"
    {
        QFrame* s = fraOptionen[1];
        auto* l = new QGridLayout(s);
        lblPfadWinamp = benannt(new QLabel(QStringLiteral("Audioplayer"), s), "lblPfadWinamp");
        fettSetzen(lblPfadWinamp);
        l->addWidget(lblPfadWinamp, 0, 0, 1, 4);
        l->addWidget(TextLabel(s, "lblHinweisAudio",
                               QStringLiteral("Wählen Sie ein Musik-Abspielprogramm. Abspielen können Sie Dateien mit "
                                              "nahezu allen Audioplayern. Die integrierte \"Fernsteuerung\" "
                                              "funktioniert nur mit Winamp.")),
                     1, 0, 1, 4);
        l->addWidget(new QLabel(QStringLiteral("Pfad zum Audioplayer"), s), 2, 0);
        txtWinampPfad = benannt(new QLineEdit(s), "txtWinampPfad");
        cmdWinampSuchen = benannt(new QPushButton(QStringLiteral("..."), s), "cmdWinampSuchen");
        cmdWinampSuchen->setToolTip(QStringLiteral("Programm suchen"));
        cmdWinampAutoSuche = benannt(new QPushButton(QStringLiteral("?"), s), "cmdWinampAutoSuche");
        cmdWinampAutoSuche->setToolTip(QStringLiteral("Den Audioplayer 'Winamp' suchen (anhand Registry)"));
        l->addWidget(txtWinampPfad, 2, 1);
        l->addWidget(cmdWinampSuchen, 2, 2);
        l->addWidget(cmdWinampAutoSuche, 2, 3);
        lblParameterAbspielen = benannt(new QLabel(QStringLiteral("Parameter zum Abspielen"), s), "lblParameterAbspielen");
        txtParameterAbspielen = benannt(new QLineEdit(s), "txtParameterAbspielen");
        lblParameterHinzufügen = benannt(new QLabel(QStringLiteral("Parameter zum Hinzufügen"), s), "lblParameterHinzufügen");
        txtParameterHinzufügen = benannt(new QLineEdit(s), "txtParameterHinzufügen");
        l->addWidget(lblParameterAbspielen, 3, 0);
        l->addWidget(txtParameterAbspielen, 3, 1);
        l->addWidget(lblParameterHinzufügen, 4, 0);
        l->addWidget(txtParameterHinzufügen, 4, 1);
        chkPlaylistFürWinamp = box(s, "chkPlaylistFürWinamp",
                                   QStringLiteral("Beim Abspielen auch Titel-Informationen übergeben (in Winamp schneller zu laden)"));
        chkStatitikSpeichern = box(s, "chkStatitikSpeichern",
                                   QStringLiteral("Im Index speichern, welche Titel ich abspiele (für die Funktion 'AutoDJ')"));
        cmdStatistikLöschen = benannt(new QPushButton(QStringLiteral("&Gesammelte Statistikdaten löschen"), s),
                                      "cmdStatistikLöschen");
        l->addWidget(chkPlaylistFürWinamp, 5, 0, 1, 4);
        l->addWidget(chkStatitikSpeichern, 6, 0, 1, 4);
        l->addWidget(cmdStatistikLöschen, 7, 0, 1, 2);
        l->setRowStretch(8, 1);
        l->setColumnStretch(1, 1);
    }
    // Page 2 "Anzeigen"
    {
        QFrame* s = fraOptionen[2];
        auto* l = new QVBoxLayout(s);
        auto* kopf = new QLabel(QStringLiteral("Fortschritts-Anzeige"), s);
        fettSetzen(kopf);
        l->addWidget(kopf);
        l->addWidget(TextLabel(s, "lblHinweisFortschritt",
                               QStringLiteral("Das Fortschrittsfenster zeigt den Verlauf einer längeren Aktion und gibt "
                                              "die Möglichkeit zum Abbruch.")));
        chkStartbildschirm = box(s, "chkStartbildschirm", QStringLiteral("Fortschrittsfenster bei längeren Aktionen zeigen"));
        chkStartbildschirmNichtBeiLaden = box(s, "chkStartbildschirmNichtBeiLaden", QStringLiteral("Beim Laden nicht zeigen"));
        chkStartbildschirmNichtBeiSpeichern = box(s, "chkStartbildschirmNichtBeiSpeichern",
                                                  QStringLiteral("Beim automatischen Speichern nicht zeigen"));
        for (QCheckBox* c : {chkStartbildschirm, chkStartbildschirmNichtBeiLaden, chkStartbildschirmNichtBeiSpeichern})
            l->addWidget(c);
        auto* weiteres = new QLabel(QStringLiteral("Weiteres"), s);
        fettSetzen(weiteres);
        l->addWidget(weiteres);
        chkTippsZeigen = box(s, "chkTippsZeigen", QStringLiteral("Tipps beim Start zeigen"));
        cmdWillkommen = benannt(new QPushButton(QStringLiteral("&Willkommensfenster erneut zeigen"), s), "cmdWillkommen");
        l->addWidget(chkTippsZeigen);
        l->addWidget(cmdWillkommen);
        l->addStretch(1);
    }
    // Page 3 "Farben"
    {
        QFrame* s = fraOptionen[3];
        auto* l = new QGridLayout(s);
        seitenKopf(l, s, QStringLiteral("Anzeigen und Darstellung"), "lblHinweisFarben",
                   QStringLiteral("Sie können das Aussehen der Programm-Oberfläche ändern. Tipp: Ideal bei Partys "
                                  "kann z.B. eine dunkle Oberfläche sein."));
        l->addWidget(new QLabel(QStringLiteral("Profil wählen"), s), 2, 0);
        cboFarbProfile = benannt(new QComboBox(s), "cboFarbProfile");
        l->addWidget(cboFarbProfile, 2, 1, 1, 2);
        l->addWidget(new QLabel(QStringLiteral("Ansicht anpassen"), s), 3, 0, 1, 3);

        shpBeispielFunktionenHintergrund = benannt(new QFrame(s), "shpBeispielFunktionenHintergrund");
        shpBeispielFunktionenHintergrund->setMouseTracking(true);
        auto* modell = new QGridLayout(shpBeispielFunktionenHintergrund);
        lblBeispielFunktionen = beispiel(shpBeispielFunktionenHintergrund, "lblBeispielFunktionen",
                                         QStringLiteral("Noch nicht verwendete Funktion"));
        lblBeispielFunktionenBesucht = beispiel(shpBeispielFunktionenHintergrund, "lblBeispielFunktionenBesucht",
                                                QStringLiteral("Bereits verwendete Funktion"));
        lblBeispielÜberschrift = beispiel(shpBeispielFunktionenHintergrund, "lblBeispielÜberschrift", QStringLiteral(" Überschrift"));
        lblBeispielBeschreibungen = beispiel(shpBeispielFunktionenHintergrund, "lblBeispielBeschreibungen",
                                             QStringLiteral(" Information"));
        lstBeispielListe = benannt(new QListWidget(shpBeispielFunktionenHintergrund), "lstBeispielListe");
        lstBeispielListe->addItem(QStringLiteral("Liste"));
        lstBeispielListe->setMaximumHeight(60);
        for (QLabel* b : {lblBeispielFunktionen, lblBeispielFunktionenBesucht}) {
            b->setCursor(Qt::PointingHandCursor);
            LinkMausVerfolgen(b);
            b->installEventFilter(this);
        }
        QFrame* m = shpBeispielFunktionenHintergrund;
        cmdLinkFarbe = benannt(new QPushButton(QStringLiteral("&Funktions-Farbe"), m), "cmdLinkFarbe");
        cmdLinkFarbeBesucht = benannt(new QPushButton(QStringLiteral("F&unktions-Farbe \"verwendet\""), m), "cmdLinkFarbeBesucht");
        cmdHintergrundFarbe = benannt(new QPushButton(QStringLiteral("&Hintergrundfarbe des Hauptfensters"), s),
                                      "cmdHintergrundFarbe");
        cmdÜberschriftFarbe = benannt(new QPushButton(QStringLiteral("Fa&rbe"), m), "cmdÜberschriftFarbe");
        cmdBeschreibungFarbe = benannt(new QPushButton(QStringLiteral("Far&be"), m), "cmdBeschreibungFarbe");
        cmdListeFarbe = benannt(new QPushButton(QStringLiteral("H&intergrundfarbe"), m), "cmdListeFarbe");
        cmdListeTextFarbe = benannt(new QPushButton(QStringLiteral("F&arbe der Listenelemente"), m), "cmdListeTextFarbe");
        // Each colour button stands in the row of the sample it colours.
        modell->addWidget(lblBeispielFunktionen, 0, 0);
        modell->addWidget(cmdLinkFarbe, 0, 1);
        modell->addWidget(lblBeispielFunktionenBesucht, 1, 0);
        modell->addWidget(cmdLinkFarbeBesucht, 1, 1);
        modell->addWidget(lblBeispielÜberschrift, 2, 0);
        modell->addWidget(cmdÜberschriftFarbe, 2, 1);
        modell->addWidget(lblBeispielBeschreibungen, 3, 0);
        modell->addWidget(cmdBeschreibungFarbe, 3, 1);
        auto* liste = new QVBoxLayout;
        liste->addWidget(cmdListeFarbe);
        liste->addWidget(cmdListeTextFarbe);
        liste->addStretch(1);
        modell->addWidget(lstBeispielListe, 4, 0);
        modell->addLayout(liste, 4, 1);
        modell->setColumnStretch(0, 1);
        l->addWidget(shpBeispielFunktionenHintergrund, 4, 0, 1, 3);
        l->addWidget(cmdHintergrundFarbe, 5, 0, 1, 2);
        chkFunktionenUnterstreichen = box(s, "chkFunktionenUnterstreichen", QStringLiteral("Funktionslinks unterstreichen"));
        l->addWidget(chkFunktionenUnterstreichen, 6, 0, 1, 3);
        l->setRowStretch(7, 1);
    }
    // Page 4 "Datei-TAGs"
    {
        QFrame* s = fraOptionen[4];
        auto* l = new QGridLayout(s);
        seitenKopf(l, s, QStringLiteral("Datei-TAGs"), "lblHinweisTags",
                   QStringLiteral("TAGs beischreiben den Inhalt einer Datei näher. Stellen Sie ein, wie dieses "
                                  "Programm sie behandelt."));
        l->addWidget(new QLabel(QStringLiteral("Diese Infos beim Hinzufügen von Dateien lesen (langsamer)"), s), 2, 0, 1, 3);
        chkID3auslesenV1 = box(s, "chkID3auslesenV1", QStringLiteral("ID3v1-TAG"));
        chkID3auslesenV2 = box(s, "chkID3auslesenV2", QStringLiteral("ID3v2-TAG"));
        chkID3auslesenHeader = box(s, "chkID3auslesenHeader", QStringLiteral("Datei-Infos"));
        l->addWidget(chkID3auslesenV1, 3, 0);
        l->addWidget(chkID3auslesenV2, 3, 1);
        l->addWidget(chkID3auslesenHeader, 3, 2);
        l->addWidget(TextLabel(s, "lblID3v2Reserve",
                               QStringLiteral("Beim Neu-Schreiben eines ID3v2-TAGs Reserve-Speicher einfügen (Dateien "
                                              "werden bei Änderungen schneller geschrieben)")),
                     4, 0, 1, 3);
        txtID3v2Reserve = benannt(new QLineEdit(s), "txtID3v2Reserve");
        l->addWidget(txtID3v2Reserve, 5, 0);
        l->addWidget(new QLabel(QStringLiteral("Prozent (%)"), s), 5, 1);
        l->addWidget(TextLabel(s, "lblID3v2Suchen",
                               QStringLiteral("Beim Suchen eines ID3v2-TAGs soweit in der Datei suchen (schneller bei "
                                              "kleineren Zahlen)")),
                     6, 0, 1, 3);
        txtID3v2Suchen = benannt(new QLineEdit(s), "txtID3v2Suchen");
        l->addWidget(txtID3v2Suchen, 7, 0);
        l->addWidget(new QLabel(QStringLiteral("Bytes"), s), 7, 1);
        chkID3v2SoftwareFeldSchreiben = box(s, "chkID3v2SoftwareFeldSchreiben",
                                            QStringLiteral("Leere Kommantar-Felder mit Hinweis auf diese Software füllen "
                                                           "(so helfen Sie bei der Verbreitung dieser kostenlosen Software)"));
        l->addWidget(chkID3v2SoftwareFeldSchreiben, 8, 0, 1, 3);
        l->setRowStretch(9, 1);
    }

    auto* unten = new QHBoxLayout;
    cmdRücksetzen = benannt(new QPushButton(QStringLiteral("&Rücksetzen"), this), "cmdRücksetzen");
    unten->addWidget(cmdRücksetzen);
    unten->addStretch(1);
    cmdOk = benannt(new QPushButton(QStringLiteral("&Ok"), this), "cmdOk");
    cmdAbbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), this), "cmdAbbrechen");
    unten->addWidget(cmdOk);
    unten->addWidget(cmdAbbrechen);
    haupt->addLayout(unten);

    farbDialog = [this](const QColor& anfang) { return QColorDialog::getColor(anfang, this); };
    programmDialog = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("Programme (*)"));
    };
    spielerSuchen = [] { return WinampPfadErmitteln(); };
    willkommenZeigen = [](QWidget* besitzer) {
        frmWillkommen w(besitzer);
        w.exec();
    };
    indexDateiFensterZeigen = [](QWidget* besitzer) { IndexÖffnenZeigen(besitzer, nullptr); };
    indexOptionenZeigen = [](QWidget* besitzer) { IndexOptionenZeigen(besitzer); };

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdAbbrechen, &QPushButton::clicked, this, [this] { cmdAbbrechen_Click(); });
    connect(cmdRücksetzen, &QPushButton::clicked, this, [this] { cmdRücksetzen_Click(); });
    connect(cboFarbProfile, &QComboBox::activated, this, [this] { cboFarbProfile_Click(); });
    connect(cmdLinkFarbe, &QPushButton::clicked, this, [this] { cmdLinkFarbe_Click(); });
    connect(cmdLinkFarbeBesucht, &QPushButton::clicked, this, [this] { cmdLinkFarbeBesucht_Click(); });
    connect(cmdHintergrundFarbe, &QPushButton::clicked, this, [this] { cmdHintergrundFarbe_Click(); });
    connect(cmdÜberschriftFarbe, &QPushButton::clicked, this, [this] { cmdÜberschriftFarbe_Click(); });
    connect(cmdBeschreibungFarbe, &QPushButton::clicked, this, [this] { cmdBeschreibungFarbe_Click(); });
    connect(cmdListeFarbe, &QPushButton::clicked, this, [this] { cmdListeFarbe_Click(); });
    connect(cmdListeTextFarbe, &QPushButton::clicked, this, [this] { cmdListeTextFarbe_Click(); });
    connect(chkAuswahlliste, &QCheckBox::toggled, this, [this] { chkAuswahlliste_Click(); });
    connect(chkRegelmäßigSpeichern, &QCheckBox::toggled, this, [this] { chkRegelmäßigSpeichern_Click(); });
    connect(chkStartbildschirm, &QCheckBox::toggled, this, [this] { chkStartbildschirm_Click(); });
    connect(chkFunktionenUnterstreichen, &QCheckBox::toggled, this, [this] { chkFunktionenUnterstreichen_Click(); });
    connect(cmdIndexdateiÄndern, &QPushButton::clicked, this, [this] { cmdIndexdateiÄndern_Click(); });
    connect(cmdIndexOptionen, &QPushButton::clicked, this, [this] { cmdIndexOptionen_Click(); });
    connect(cmdWillkommen, &QPushButton::clicked, this, [this] { cmdWillkommen_Click(); });
    connect(cmdWinampAutoSuche, &QPushButton::clicked, this, [this] { cmdWinampAutoSuche_Click(); });
    connect(cmdWinampSuchen, &QPushButton::clicked, this, [this] { cmdWinampSuchen_Click(); });
    connect(cmdStatistikLöschen, &QPushButton::clicked, this, [this] { cmdStatistikLöschen_Click(); });
}

// --- filling ----------------------------------------------------------------------------

void frmOptionen::OptionenAnzeigen()
{
    const Einstellungen& e = einstellungen();
    const LeseFlags flags = LeseFlagsAnzeigen(e.Mp3TagLesen);
    chkID3auslesenV1->setChecked(flags[0]);
    chkID3auslesenV2->setChecked(flags[1]);
    chkID3auslesenHeader->setChecked(flags[2]);

    txtWinampPfad->setText(e.WinampPfad);
    txtParameterAbspielen->setText(e.WinampParameterAbspielen);
    txtParameterHinzufügen->setText(e.WinampParameterHinzufügen);

    chkAutomatischSpeichern->setChecked(e.DateiAutomatischSpeichern == 1);
    chkStartbildschirm->setChecked(e.StartBildschirm == 1);
    chkAuchUnterOrdner->setChecked(e.HinzufügenUnterordner == 1);
    chkWennNichtListe->setChecked(e.HinzufügenKeineDoppelten == 1);
    chkPlaylistFürWinamp->setChecked(e.PlaylistFürWinamp == 1);
    chkNichtVerfügbarZeigen->setChecked(e.NichtVerfügbarFragen == 1);
    chkAutoComplete->setChecked(e.AutoCompleteVerwenden == 1);
    chkAuswahlliste->setChecked(e.Auswahlliste == 1);
    chkAuswahlliste_Click();
    chkStartbildschirm_Click();

    const bool regelmäßig = e.RegelmäßigSpeichernAlle >= 1;
    chkRegelmäßigSpeichern->setChecked(regelmäßig);
    txtRegelmäßigSpeichern->setText(regelmäßig ? QString::number(e.RegelmäßigSpeichernAlle) : QString());
    chkRegelmäßigSpeichern_Click();

    chkStatitikSpeichern->setChecked(e.AbspielStatistikSpeichern == 1);
    chkKeineSucheBeiKlick->setChecked(e.SucheNichtBeiAuswahl == 1);
    chkKeineSucheBeiTAgEditor->setChecked(e.SucheNichtBeiTAGEditor == 1);
    chkStartbildschirmNichtBeiLaden->setChecked(e.StartBildschirmNichtBeiLaden == 1);
    chkStartbildschirmNichtBeiSpeichern->setChecked(e.StartBildschirmNichtBeiSpeichern == 1);

    txtID3v2Reserve->setText(QString::number(e.TAGsProzentHinzufügen));
    txtID3v2Suchen->setText(QString::number(e.TAGsBytesSuchen));
    chkID3v2SoftwareFeldSchreiben->setChecked(e.TAGsSoftwareFeldSchreiben == 1);
    chkTippsZeigen->setChecked(e.TippsAktueller != 0);

    m_vorschau = FarbWerteLesen(e);
    {
        const QSignalBlocker sperre(chkFunktionenUnterstreichen);
        chkFunktionenUnterstreichen->setChecked(e.FunktionenUnterstreichen == 1);
    }
    vorschauZeigen();

    cboFarbProfile->clear();
    const auto& profile = standardwerte().FarbProfile;
    for (size_t i = 1; i < profile.size(); ++i)
        cboFarbProfile->addItem(profile[i].Name);
    cboFarbProfile->setCurrentIndex(-1);

    cboBeendenAktion->setCurrentIndex(e.BeendenReaktion >= 1 && e.BeendenReaktion <= 3 ? e.BeendenReaktion : 0);
}

void frmOptionen::vorschauZeigen()
{
    const FarbWerte& f = m_vorschau;
    farbeSetzen(lblBeispielFunktionen, QPalette::WindowText, f.Funktionen);
    farbeSetzen(lblBeispielFunktionenBesucht, QPalette::WindowText, f.FunktionenBesucht);
    farbeSetzen(shpBeispielFunktionenHintergrund, QPalette::Window, f.FunktionenHintergrund);
    for (QLabel* l : {lblBeispielFunktionen, lblBeispielFunktionenBesucht, lblBeispielÜberschrift, lblBeispielBeschreibungen})
        farbeSetzen(l, QPalette::Window, f.FunktionenHintergrund);
    farbeSetzen(lblBeispielÜberschrift, QPalette::WindowText, f.Überschrift);
    farbeSetzen(lblBeispielBeschreibungen, QPalette::WindowText, f.Beschreibungen);
    farbeSetzen(lstBeispielListe, QPalette::WindowText, f.Listen);
    farbeSetzen(lstBeispielListe, QPalette::Window, f.ListenHintergrund);
    const bool unterstrichen = chkFunktionenUnterstreichen->isChecked();
    UnterstreichungSetzen(lblBeispielFunktionen, unterstrichen);
    UnterstreichungSetzen(lblBeispielFunktionenBesucht, unterstrichen);
}

// --- pages and dependent controls --------------------------------------------------------

void frmOptionen::optOptionen_Click(int index)
{
    for (int i = 0; i < int(fraOptionen.size()); ++i)
        fraOptionen[size_t(i)]->setVisible(i == index);
}

void frmOptionen::chkAuswahlliste_Click() { chkAutoComplete->setEnabled(chkAuswahlliste->isChecked()); }

void frmOptionen::chkRegelmäßigSpeichern_Click()
{
    const bool an = chkRegelmäßigSpeichern->isChecked();
    lblRegelmäßigSpeichern->setVisible(an);
    txtRegelmäßigSpeichern->setVisible(an);
    if (auto* einheit = findChild<QLabel*>(QStringLiteral("lblRegelmäßigSpeichernEinheit")))
        einheit->setVisible(an);
}

void frmOptionen::chkStartbildschirm_Click()
{
    const bool an = chkStartbildschirm->isChecked();
    chkStartbildschirmNichtBeiLaden->setEnabled(an);
    chkStartbildschirmNichtBeiSpeichern->setEnabled(an);
}

// --- colours ---------------------------------------------------------------------------

void frmOptionen::cboFarbProfile_Click()
{
    const int position = cboFarbProfile->currentIndex();
    if (position < 0)
        return;
    m_vorschau = FarbWerteAusProfil(position + 1);
    {
        const QSignalBlocker sperre(chkFunktionenUnterstreichen);
        chkFunktionenUnterstreichen->setChecked(m_vorschau.Unterstreichen == 1);
    }
    vorschauZeigen();
}

void frmOptionen::farbeWählen(qint32& farbe)
{
    const QColor gewählt = farbDialog ? farbDialog(WindowsFarbe(farbe)) : QColor();
    // A cancelled chooser leaves the colour as it was.
    if (gewählt.isValid())
        farbe = RGBFarbe(gewählt.red(), gewählt.green(), gewählt.blue());
    vorschauZeigen();
}

void frmOptionen::cmdLinkFarbe_Click() { farbeWählen(m_vorschau.Funktionen); }
void frmOptionen::cmdLinkFarbeBesucht_Click() { farbeWählen(m_vorschau.FunktionenBesucht); }
void frmOptionen::cmdHintergrundFarbe_Click() { farbeWählen(m_vorschau.FunktionenHintergrund); }
void frmOptionen::cmdÜberschriftFarbe_Click() { farbeWählen(m_vorschau.Überschrift); }
void frmOptionen::cmdBeschreibungFarbe_Click() { farbeWählen(m_vorschau.Beschreibungen); }
void frmOptionen::cmdListeFarbe_Click() { farbeWählen(m_vorschau.ListenHintergrund); }
void frmOptionen::cmdListeTextFarbe_Click() { farbeWählen(m_vorschau.Listen); }

void frmOptionen::chkFunktionenUnterstreichen_Click()
{
    m_vorschau.Unterstreichen = haken(chkFunktionenUnterstreichen);
    UnterstreichungSetzen(lblBeispielFunktionen, m_vorschau.Unterstreichen == 1);
    UnterstreichungSetzen(lblBeispielFunktionenBesucht, m_vorschau.Unterstreichen == 1);
}

void frmOptionen::BeispielHervorheben(QWidget* unterMaus)
{
    const bool ruhend = chkFunktionenUnterstreichen->isChecked();
    for (QLabel* l : {lblBeispielFunktionen, lblBeispielFunktionenBesucht})
        UnterstreichungSetzen(l, l == unterMaus ? !ruhend : ruhend);
}

bool frmOptionen::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseMove || e->type() == QEvent::Enter) {
        if (o == lblBeispielFunktionen || o == lblBeispielFunktionenBesucht
            || std::find(fraOptionen.begin(), fraOptionen.end(), o) != fraOptionen.end())
            BeispielHervorheben(static_cast<QWidget*>(o));
    }
    return QDialog::eventFilter(o, e);
}

// --- side windows ---------------------------------------------------------------------------

void frmOptionen::cmdIndexdateiÄndern_Click()
{
    // Over this window: hiding a dialog would end its modal run for good.
    if (indexDateiFensterZeigen)
        indexDateiFensterZeigen(this);
}

void frmOptionen::cmdIndexOptionen_Click()
{
    if (indexOptionenZeigen)
        indexOptionenZeigen(this);
}

void frmOptionen::cmdWillkommen_Click()
{
    if (willkommenZeigen)
        willkommenZeigen(this);
}

void frmOptionen::cmdWinampAutoSuche_Click()
{
    txtWinampPfad->setText(spielerSuchen ? spielerSuchen() : QString());
    if (txtWinampPfad->text().isEmpty())
        hinweis(QStringLiteral("Der Autdioplayer 'Winamp' wurde nicht gefunden.Tragen Sie stattdessen einfach den "
                               "Pfad eines anderen Audioplayers ein."),
                this);
}

void frmOptionen::cmdWinampSuchen_Click()
{
    const QString programm = programmDialog ? programmDialog() : QString();
    if (!programm.isEmpty())
        txtWinampPfad->setText(programm);
}

void frmOptionen::cmdStatistikLöschen_Click()
{
    Index& idx = hauptIndex();
    if (idx.lngIndexAnzahl < 1) {
        hinweis(QStringLiteral("Es befinden sich keine Dateien im Index.\nDiese Funktion kann nicht ausgeführt werden."),
                this);
        return;
    }
    if (MeldungZeigen(QStringLiteral("Sollen die Statistikdaten aller Dateien im aktuellen Index tatsächlich gelöscht "
                                     "werden?\nDie Funktion 'AutoDJ' wird dann nicht mehr funktionieren.\n\n"
                                     "Die Sammlung dieser Daten ist unbedenklich, da diese vom Programm nicht "
                                     "weitergegeben werden."),
                      Knöpfe::JaNein, Symbol::Ausruf, this)
        != Antwort::Ja)
        return;
    StatistikLöschen(idx);
    hinweis(QStringLiteral("Die Daten wurden gelöscht."), this);
}

// --- OK, Cancel, Reset ------------------------------------------------------------------------

void frmOptionen::cmdOk_Click()
{
    qint32 prozent = 0, bytes = 0;
    if (const QString fehler = TagZahlenPrüfen(txtID3v2Reserve->text(), txtID3v2Suchen->text(), prozent, bytes);
        !fehler.isEmpty()) {
        hinweis(fehler, this);
        return;
    }
    hide();
    Einstellungen& e = einstellungen();
    e.WinampPfad = txtWinampPfad->text();
    e.WinampParameterAbspielen = txtParameterAbspielen->text();
    e.WinampParameterHinzufügen = txtParameterHinzufügen->text();
    e.DateiAutomatischSpeichern = haken(chkAutomatischSpeichern);
    e.StartBildschirm = haken(chkStartbildschirm);
    e.HinzufügenUnterordner = haken(chkAuchUnterOrdner);
    e.HinzufügenKeineDoppelten = haken(chkWennNichtListe);
    e.PlaylistFürWinamp = haken(chkPlaylistFürWinamp);
    e.NichtVerfügbarFragen = haken(chkNichtVerfügbarZeigen);
    e.AutoCompleteVerwenden = haken(chkAutoComplete);
    e.Auswahlliste = haken(chkAuswahlliste);
    e.BeendenReaktion = std::max(0, cboBeendenAktion->currentIndex());

    const qint32 minuten = SpeichernMinutenLesen(chkRegelmäßigSpeichern->isChecked(), txtRegelmäßigSpeichern->text());
    // The interval starts counting when periodic saving comes on.
    if (minuten >= 1 && e.RegelmäßigSpeichernAlle < 1)
        hauptIndex().datLetzteSpeicherung = QDateTime::currentDateTime();
    e.RegelmäßigSpeichernAlle = minuten;

    e.AbspielStatistikSpeichern = haken(chkStatitikSpeichern);
    e.SucheNichtBeiAuswahl = haken(chkKeineSucheBeiKlick);
    e.SucheNichtBeiTAGEditor = haken(chkKeineSucheBeiTAgEditor);
    e.StartBildschirmNichtBeiLaden = haken(chkStartbildschirmNichtBeiLaden);
    e.StartBildschirmNichtBeiSpeichern = haken(chkStartbildschirmNichtBeiSpeichern);
    e.TAGsProzentHinzufügen = prozent;
    e.TAGsBytesSuchen = bytes;
    e.TippsAktueller = haken(chkTippsZeigen);
    e.TAGsSoftwareFeldSchreiben = haken(chkID3v2SoftwareFeldSchreiben);

    m_vorschau.Unterstreichen = haken(chkFunktionenUnterstreichen);
    FarbWerteSetzen(e, m_vorschau);
    frmMain* f = hauptfensterExistiert() ? hauptfenster() : nullptr;
    FarbenAnwenden(f);

    const LeseFlags neu = {haken(chkID3auslesenV1), haken(chkID3auslesenV2), haken(chkID3auslesenHeader)};
    const QString alt = e.Mp3TagLesen;
    e.Mp3TagLesen = LeseFlagsText(neu);
    if (LeseFlagsNeuAn(alt, neu)
        && MeldungZeigen(QStringLiteral("Es wurden Einstellungen für das Lesen von Datei-Informationen aktiviert.\n"
                                        "Neu hinzugefügte Dateien werden nun mit den gewählten Einstellungen gelesen.\n\n"
                                        "Möchten Sie alle im Index befindlichen Dateien neu einlesen?\n"
                                        "(Dieser Vorgang kann länger dauern.)"),
                         Knöpfe::JaNein, Symbol::Frage, f)
               == Antwort::Ja) {
        DateienNeuEinlesen(hauptIndex(), f);
        if (f) {
            f->txtSongname_Change();
            f->update();
        }
    }

    if (f) {
        suchZustand().bolSucheGesperrt = true;
        f->cboSuche_Click();
        suchZustand().bolSucheGesperrt = false;
    }
    StatusMeldungZeigen(QStringLiteral("Die Programm-Optionen wurden übernommen"), 0);
}

void frmOptionen::cmdAbbrechen_Click() { hide(); }

void frmOptionen::cmdRücksetzen_Click()
{
    if (MeldungZeigen(QStringLiteral("Möchten Sie tatsächlich alle Programmeinstellungen zurücksetzen?"), Knöpfe::JaNein,
                      Symbol::Ausruf, this, Antwort::Nein)
        != Antwort::Ja)
        return;
    // Every setting takes its default at once; `Dateiname` keeps the index in use.
    EinstellungenRücksetzenAktiv = true;
    EinstellungenLesen();
    EinstellungenRücksetzenAktiv = false;
    OptionenAnzeigen();
    cmdWinampAutoSuche_Click();
}

// --- opening -----------------------------------------------------------------------------

frmOptionen* optionenFenster()
{
    static QPointer<frmOptionen> fenster;
    if (!fenster)
        fenster = new frmOptionen;
    return fenster;
}

void OptionenZeigen(QWidget* besitzer)
{
    frmOptionen* f = optionenFenster();
    f->OptionenAnzeigen();
    f->optOptionen[0]->setChecked(true);
    f->optOptionen_Click(0);
    if (besitzer && f->parentWidget() != besitzer)
        f->setParent(besitzer, f->windowFlags());
    f->exec();
}

void IndexDateiFensterVomHauptfenster(frmMain* f)
{
    QStringList liste;
    const QString ordner = PfadZurückgeben(einstellungen().Dateiname);
    if (!ordner.isEmpty() && IstOrdner(ordner)) {
        QString start = ordner;
        QStringList gefunden;
        if (DateienSuchenAPI(start, {QStringLiteral(".kvx")}, 1, false, gefunden))
            liste = IndexDateienAuswählen(gefunden);
    }
    IndexÖffnenZeigen(f, &liste);
    f->update();
}

void OptionenBefehleVerbinden(frmMain* f)
{
    f->BefehlVerbinden(f->cmdOptionen, [f] { OptionenZeigen(f); });
    f->BefehlVerbinden(f->lblIndexdatei, [f] { IndexDateiFensterVomHauptfenster(f); });
}

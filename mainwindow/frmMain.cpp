#include "mainwindow/frmMain.h"
#include "platform/Steuerelemente_gui.h"

#include "platform/Farbe_gui.h"

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Funktionen.h"
#include "core/IndexDatei.h"
#include "core/IndexEreignisse.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/Sortieren.h"
#include "mainwindow/SuchCache.h"
#include "mainwindow/Tray_gui.h"
#include "mainwindow/frmBeenden.h"
#include "mainwindow/frmSucheErweitert.h"
#include "media/frmMp3Tag.h"
#include "platform/Twips.h"
#include "platform/Zeilenlabel_gui.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSessionManager>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <new>

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && isEnabled() && rect().contains(e->position().toPoint()))
        Q_EMIT clicked();
}

namespace {
frmMain* g_haupt = nullptr;

// The fields offered for the simple search, in this order.
const char* const kSuchfelder[] = {
    "(Standardsuche)", "Interpret", "Album", "Titel", "Track", "Jahr", "Kommentar", "Genre",
    "Interpret-ID3v2", "Titel-ID3v2", "Album-ID3v2", "Jahr-ID3v2", "Track-ID3v2", "Genre-ID3v2",
    "Kommentar-ID3v2", "Pfad", "Wechselmedium", "Bitrate", "Hinzufüge-Datum", "Datei-Endung",
    "Abspiel-Datum", "Abspiel-Häufigkeit",
};

const char* const kVerfügbar = "kalveroVerfuegbar";

QAction* eintrag(QMenu* menü, const char* name, const QString& text)
{
    QAction* a = text.isEmpty() ? menü->addSeparator() : menü->addAction(text);
    a->setObjectName(QString::fromUtf8(name));
    return a;
}

void Aussehen(QLabel* l, qint32 farbe, bool fett, bool unterstrichen, bool link)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, WindowsFarbe(farbe));
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(fett);
    f.setUnderline(unterstrichen);
    l->setFont(f);
    if (link)
        l->setCursor(Qt::PointingHandCursor);
    else
        l->unsetCursor();
}

// Runs `f` the way event handlers do: a failure is passed over.
template <typename F>
void übergehen(F&& f)
{
    try {
        f();
    } catch (const std::exception&) {
    }
}

// A guard that sets a flag for its lifetime and restores the old value.
class Sperre {
public:
    explicit Sperre(bool& flag) : m_flag(flag), m_alt(flag) { m_flag = true; }
    ~Sperre() { m_flag = m_alt; }

private:
    bool& m_flag;
    bool m_alt;
};
} // namespace

LinkLabel* frmMain::link(const QString& name, const QString& text, QWidget* parent)
{
    return benannt(new LinkLabel(text, parent), name);
}

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    g_haupt = this;

    // Top strip
    fraLinks1 = benannt(new QFrame(this), QStringLiteral("fraLinks1"));
    lblAnwendung = benannt(new QLabel(ProgrammTitel(), fraLinks1), QStringLiteral("lblAnwendung"));
    Label1 = benannt(new QLabel(ProgrammTitel(), fraLinks1), QStringLiteral("Label1"));
    Label1->hide();
    lblIndexdatei = link(QStringLiteral("lblIndexdatei"), QStringLiteral("(Indexdatei)"), fraLinks1);
    // A long index file name never widens the strip.
    lblIndexdatei->setSizePolicy(QSizePolicy::Ignored, lblIndexdatei->sizePolicy().verticalPolicy());
    // The description bar keeps one line each, however long the name.
    lblIndexdateiUntertitel1 = benannt(new Zeilenlabel(fraLinks1), QStringLiteral("lblIndexdateiUntertitel1"));
    lblIndexDateiUntertitel2 = benannt(new Zeilenlabel(fraLinks1, Qt::ElideMiddle), QStringLiteral("lblIndexDateiUntertitel2"));
    {
        auto* l = new QHBoxLayout(fraLinks1);
        l->setContentsMargins(6, 2, 6, 2);
        fettSetzen(lblAnwendung, 6);
        l->addWidget(lblAnwendung);
        auto* v = new QVBoxLayout;
        v->setSpacing(0);
        v->addWidget(lblIndexdatei);
        v->addWidget(lblIndexdateiUntertitel1);
        v->addWidget(lblIndexDateiUntertitel2);
        l->addLayout(v, 1);
    }

    // Left column
    fraKnöpfeLinks = benannt(new QFrame(this), QStringLiteral("fraKnöpfeLinks"));
    fraLinks2 = benannt(new QFrame(fraKnöpfeLinks), QStringLiteral("fraLinks2"));
    fraNurBeiAusgewählt = benannt(new QFrame(fraLinks2), QStringLiteral("fraNurBeiAusgewählt"));
    cmdIndexErstellen = link(QStringLiteral("cmdIndexErstellen"), QStringLiteral("Zum Index hinzufügen"), fraLinks2);
    cmdListeAufräumen = link(QStringLiteral("cmdListeAufräumen"), QStringLiteral("Index synchronisieren"), fraLinks2);
    cmdIndexStatistik = link(QStringLiteral("cmdIndexStatistik"), QStringLiteral("Index-Statistiken"), fraLinks2);
    cmdAutoDJ = link(QStringLiteral("cmdAutoDJ"), QStringLiteral("AutoDJ"), fraLinks2);
    cmdAuswählen = link(QStringLiteral("cmdAuswählen"), QStringLiteral("Auswählen"), fraLinks2);
    cmdEintragAbspielen = link(QStringLiteral("cmdEintragAbspielen"), QStringLiteral("Abspielen"), fraNurBeiAusgewählt);
    cmdAnhängen = link(QStringLiteral("cmdAnhängen"), QStringLiteral("In Playlist"), fraNurBeiAusgewählt);
    cmdEintragAusführen = link(QStringLiteral("cmdEintragAusführen"), QStringLiteral("Ausführen"), fraNurBeiAusgewählt);
    cmdEintragAusführenMit = link(QStringLiteral("cmdEintragAusführenMit"), QStringLiteral("Ausführen mit"), fraNurBeiAusgewählt);
    cmdMp3TagAnzeigen = link(QStringLiteral("cmdMp3TagAnzeigen"), QStringLiteral("Datei-Infos"), fraNurBeiAusgewählt);
    cmdUmbenennen = link(QStringLiteral("cmdUmbenennen"), QStringLiteral("Umbenennen"), fraNurBeiAusgewählt);
    cmdDateienKopierenVerschieben = link(QStringLiteral("cmdDateienKopierenVerschieben"), QStringLiteral("Kopieren/verschieben"), fraNurBeiAusgewählt);
    cmdDateienLöschen = link(QStringLiteral("cmdDateienLöschen"), QStringLiteral("Löschen"), fraNurBeiAusgewählt);
    cmdDateiEntfernen = link(QStringLiteral("cmdDateiEntfernen"), QStringLiteral("Aus Index entfernen"), fraNurBeiAusgewählt);
    cmdExportieren = link(QStringLiteral("cmdExportieren"), QStringLiteral("Export"), fraNurBeiAusgewählt);
    cmdIndexVerwaltung = link(QStringLiteral("cmdIndexVerwaltung"), QStringLiteral("Index-Verwaltung"), fraNurBeiAusgewählt);
    {
        // Two columns of commands, as designed; the frame keeps its room while
        // hidden, so nothing below it moves when the selection comes and goes.
        auto* n = new QGridLayout(fraNurBeiAusgewählt);
        n->setContentsMargins(0, 0, 0, 0);
        n->setVerticalSpacing(0);
        int k = 0;
        for (QWidget* w : {static_cast<QWidget*>(cmdEintragAbspielen), static_cast<QWidget*>(cmdAnhängen),
                           static_cast<QWidget*>(cmdEintragAusführen), static_cast<QWidget*>(cmdEintragAusführenMit),
                           static_cast<QWidget*>(cmdMp3TagAnzeigen), static_cast<QWidget*>(cmdUmbenennen),
                           static_cast<QWidget*>(cmdDateienKopierenVerschieben), static_cast<QWidget*>(cmdDateienLöschen),
                           static_cast<QWidget*>(cmdDateiEntfernen), static_cast<QWidget*>(cmdExportieren),
                           static_cast<QWidget*>(cmdIndexVerwaltung)}) {
            n->addWidget(w, k / 2, k % 2);
            ++k;
        }
        auto* l2 = new QGridLayout(fraLinks2);
        l2->setContentsMargins(6, 2, 6, 2);
        l2->setVerticalSpacing(0);
        k = 0;
        for (QWidget* w : {static_cast<QWidget*>(cmdIndexErstellen), static_cast<QWidget*>(cmdAutoDJ),
                           static_cast<QWidget*>(cmdListeAufräumen), static_cast<QWidget*>(cmdAuswählen),
                           static_cast<QWidget*>(cmdIndexStatistik)}) {
            l2->addWidget(w, k / 2, k % 2);
            ++k;
        }
        l2->addWidget(fraNurBeiAusgewählt, 3, 0, 1, 2);
        for (QWidget* w : {static_cast<QWidget*>(fraNurBeiAusgewählt), static_cast<QWidget*>(fraLinks2)}) {
            QSizePolicy p = w->sizePolicy();
            p.setRetainSizeWhenHidden(true);
            w->setSizePolicy(p);
        }
    }
    Line1 = benannt(new QFrame(fraKnöpfeLinks), QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    fraLinks4 = benannt(new QFrame(fraKnöpfeLinks), QStringLiteral("fraLinks4"));
    lblSucheÜberschrift = benannt(new QLabel(QStringLiteral("Suche"), fraLinks4), QStringLiteral("lblSucheÜberschrift"));
    cboSuche = benannt(new QComboBox(fraLinks4), QStringLiteral("cboSuche"));
    for (const char* feld : kSuchfelder)
        cboSuche->addItem(QString::fromUtf8(feld));
    txtSongname = benannt(new QComboBox(fraLinks4), QStringLiteral("txtSongname"));
    txtSongname->setEditable(true);
    txtSongname->setInsertPolicy(QComboBox::NoInsert);
    txtSongname->setCompleter(nullptr); // completion is our own
    m_werte = new QStringListModel(this);
    txtSongname->setModel(m_werte);
    cmdSucheLöschen = link(QStringLiteral("cmdSucheLöschen"), QStringLiteral("Löschen"), fraLinks4);
    cmdSucheMehr = link(QStringLiteral("cmdSucheMehr"), QStringLiteral("Erweiterte Suche"), fraLinks4);
    lblDateiAnzahl = benannt(new QLabel(fraLinks4), QStringLiteral("lblDateiAnzahl"));
    {
        auto* l4 = new QVBoxLayout(fraLinks4);
        l4->setContentsMargins(6, 2, 6, 2);
        l4->setSpacing(2);
        l4->addWidget(lblSucheÜberschrift);
        l4->addWidget(cboSuche);
        l4->addWidget(txtSongname);
        auto* h = new QHBoxLayout;
        h->setSpacing(12);
        h->addWidget(cmdSucheLöschen);
        h->addWidget(cmdSucheMehr);
        h->addStretch(1);
        l4->addLayout(h);
        l4->addWidget(lblDateiAnzahl);
        auto* lk = new QVBoxLayout(fraKnöpfeLinks);
        lk->setContentsMargins(0, 0, 0, 0);
        lk->setSpacing(2);
        lk->addWidget(fraLinks2);
        lk->addWidget(Line1);
        lk->addWidget(fraLinks4);
        lk->addStretch(1);
    }

    // Bottom strip
    fraLinks5 = benannt(new QFrame(this), QStringLiteral("fraLinks5"));
    cmdBeenden = link(QStringLiteral("cmdBeenden"), QStringLiteral("Ende"), fraLinks5);
    cmdHilfe = link(QStringLiteral("cmdHilfe"), QStringLiteral("Hilfe"), fraLinks5);
    cmdOptionen = link(QStringLiteral("cmdOptionen"), QStringLiteral("Optionen"), fraLinks5);
    cmdInfo = link(QStringLiteral("cmdInfo"), QStringLiteral("Infos"), fraLinks5);
    {
        auto* l5 = new QHBoxLayout(fraLinks5);
        l5->setContentsMargins(6, 2, 6, 4);
        for (QWidget* w : {static_cast<QWidget*>(cmdBeenden), static_cast<QWidget*>(cmdHilfe),
                           static_cast<QWidget*>(cmdOptionen), static_cast<QWidget*>(cmdInfo)})
            l5->addWidget(w);
    }

    // Player panel
    fraLinks3 = benannt(new QFrame(this), QStringLiteral("fraLinks3"));
    // The title has the panel's whole width; a longer one ends in "…" and
    // shows whole as its tooltip.
    auto* titel = new Zeilenlabel(fraLinks3);
    titel->GanzAlsTooltip(true);
    titel->setText(QStringLiteral("Audio-Player"));
    lblWinampSteuerungTitel = benannt(titel, QStringLiteral("lblWinampSteuerungTitel"));
    cmdAbspielen = link(QStringLiteral("cmdAbspielen"), QStringLiteral("Spielen"), fraLinks3);
    cmdAbspielenStopp = link(QStringLiteral("cmdAbspielenStopp"), QStringLiteral("Stopp"), fraLinks3);
    cmdWinampVorheriger = link(QStringLiteral("cmdWinampVorheriger"), QStringLiteral("Vorheriger"), fraLinks3);
    cmdWinampNächster = link(QStringLiteral("cmdWinampNächster"), QStringLiteral("Nächster"), fraLinks3);
    lblWinampSteuerungPosition = benannt(new QLabel(QStringLiteral("Titelposition"), fraLinks3), QStringLiteral("lblWinampSteuerungPosition"));
    hscrlTrackPos = benannt(new QScrollBar(Qt::Horizontal, fraLinks3), QStringLiteral("hscrlTrackPos"));
    lblWinampSteuerungVolumen = benannt(new QLabel(QStringLiteral("Lautstärke"), fraLinks3), QStringLiteral("lblWinampSteuerungVolumen"));
    hscrlVolume = benannt(new QScrollBar(Qt::Horizontal, fraLinks3), QStringLiteral("hscrlVolume"));
    hscrlVolume->setRange(0, 255);
    lblWinampSteuerungBalance = benannt(new QLabel(QStringLiteral("Balance"), fraLinks3), QStringLiteral("lblWinampSteuerungBalance"));
    hscrlBalance = benannt(new QScrollBar(Qt::Horizontal, fraLinks3), QStringLiteral("hscrlBalance"));
    hscrlBalance->setRange(-128, 128);
    {
        auto* g = new QGridLayout(fraLinks3);
        g->setContentsMargins(6, 2, 6, 2);
        g->setVerticalSpacing(0);
        g->setHorizontalSpacing(4);
        // The labels give way to the bars, which keep room to be dragged;
        // a long title or position text moves nothing.
        for (QWidget* w : {static_cast<QWidget*>(lblWinampSteuerungPosition), static_cast<QWidget*>(lblWinampSteuerungVolumen),
                           static_cast<QWidget*>(lblWinampSteuerungBalance)})
            w->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        // Each bar is at least as wide as its label's caption, which is shown whole.
        const std::pair<QScrollBar*, QLabel*> balken[] = {{hscrlTrackPos, lblWinampSteuerungPosition},
                                                          {hscrlVolume, lblWinampSteuerungVolumen},
                                                          {hscrlBalance, lblWinampSteuerungBalance}};
        for (const auto& [b, l] : balken)
            b->setMinimumWidth(std::max(48, l->fontMetrics().horizontalAdvance(l->text()) + 2));
        g->addWidget(lblWinampSteuerungTitel, 0, 0, 1, 7);
        g->addWidget(cmdAbspielen, 1, 0, 2, 1);
        g->addWidget(cmdAbspielenStopp, 1, 1, 2, 1);
        g->addWidget(cmdWinampVorheriger, 1, 2, 2, 1);
        g->addWidget(cmdWinampNächster, 1, 3, 2, 1);
        g->addWidget(lblWinampSteuerungPosition, 1, 4);
        g->addWidget(hscrlTrackPos, 2, 4);
        g->addWidget(lblWinampSteuerungVolumen, 1, 5);
        g->addWidget(hscrlVolume, 2, 5);
        g->addWidget(lblWinampSteuerungBalance, 1, 6);
        g->addWidget(hscrlBalance, 2, 6);
        g->setColumnStretch(4, 2);
        g->setColumnStretch(5, 1);
        g->setColumnStretch(6, 1);
    }

    lstSongs = benannt(new QTableView(this), QStringLiteral("lstSongs"));
    lstSongs->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSongs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSongs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstSongs->setSortingEnabled(false);
    lstSongs->setWordWrap(false);
    lstSongs->setShowGrid(false);
    lstSongs->setTabKeyNavigation(false);
    lstSongs->verticalHeader()->hide();
    lstSongs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstSongs->verticalHeader()->setDefaultSectionSize(lstSongs->fontMetrics().height() + 4);
    {
        QHeaderView* h = lstSongs->horizontalHeader();
        h->setSectionsMovable(true);
        h->setSectionsClickable(true);
        h->setHighlightSections(false);
        h->setStretchLastSection(false);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->setSortIndicatorShown(false);
    }
    m_modell = new ListenModell(hauptIndex(), this);
    {
        // The designed list has one column, which the first layout removes.
        ListenSpalte anzeige;
        anzeige.titel = QStringLiteral("Anzeige");
        m_modell->SpaltenÜbernehmen({anzeige});
    }
    lstSongs->setModel(m_modell);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(fraLinks1, 0, 0, 1, 2);
    grid->addWidget(fraKnöpfeLinks, 1, 0, 2, 1);
    grid->addWidget(fraLinks3, 1, 1);
    // The list reaches the bottom edge; the strip of general commands sits
    // below the left column.
    grid->addWidget(lstSongs, 2, 1, 2, 1);
    grid->addWidget(fraLinks5, 3, 0);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    // The count label has room for two lines of large counts.
    {
        const QFontMetrics fm = lblDateiAnzahl->fontMetrics();
        lblDateiAnzahl->setMinimumSize(fm.horizontalAdvance(QStringLiteral("9999999 Datei(en) im Index")) + 4,
                                       2 * fm.lineSpacing() + 2);
    }
    // The designed width, or wider where the desktop font needs it for the commands.
    fraKnöpfeLinks->setFixedWidth(std::max(TwipsZuPixel(2130), fraKnöpfeLinks->sizeHint().width()));

    tmrScrollUpdate = benannt(new QTimer(this), QStringLiteral("tmrScrollUpdate"));
    tmrScrollUpdate->setInterval(500);
    tmrListe = benannt(new QTimer(this), QStringLiteral("tmrListe"));
    tmrListe->setInterval(600);

    m_status = new StatusSchreiber(this);
    m_status->titelSetzen = [this](const QString& t) { setWindowTitle(t); };
    m_status->normalerTitel = [this] { return NormalerTitel(); };
    DienstSetzen<StatusDienst>(m_status);

    MenüsErstellen();

    // Commands carried out elsewhere stay disabled until connected.
    for (LinkLabel* l : findChildren<LinkLabel*>())
        l->setEnabled(false);
    BefehlVerbinden(cmdBeenden, [this] {
        Tag = QStringLiteral("1");
        close();
    });
    BefehlVerbinden(cmdHilfe, [this] { HilfeAnzeigen(this); });
    BefehlVerbinden(cmdSucheLöschen, [this] { cmdSucheLöschen_Click(); });
    BefehlVerbinden(cmdAuswählen, [this] { cmdAuswählen_Click(); });
    for (LinkLabel* l : {cmdAbspielen, cmdAbspielenStopp, cmdWinampVorheriger, cmdWinampNächster})
        l->setEnabled(true); // the player panel wires these itself

    connect(tmrListe, &QTimer::timeout, this, &frmMain::tmrListe_Timer);
    connect(cboSuche, &QComboBox::currentIndexChanged, this, [this] { cboSuche_Click(); });
    connect(txtSongname, &QComboBox::editTextChanged, this, [this] {
        // A text shown in the disabled box (several queries) shows its beginning.
        if (!txtSongname->isEnabled())
            txtSongname->lineEdit()->setCursorPosition(0);
        txtSongname_Change();
    });
    connect(txtSongname, &QComboBox::activated, this, [this] { txtSongname_Click(); });
    txtSongname->lineEdit()->installEventFilter(this);
    connect(lstSongs->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmMain::lstSongs_ColumnClick);
    lstSongs->installEventFilter(this);
    lstSongs->viewport()->installEventFilter(this);
    lblIndexdateiUntertitel1->installEventFilter(this);
    lblIndexDateiUntertitel2->installEventFilter(this);
    // The desktop session ends: the close path as at a shutdown; a Cancel to
    // the save question stops the logout where the session lets us ask.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& m) {
        const bool fragen = m.allowsInteraction();
        if (!SitzungBeenden(fragen))
            m.cancel();
        if (fragen)
            m.release();
    });

    IndexSpeichern = [this] { return DateiSpeichern(hauptIndex(), einstellungen().Dateiname, false, this); };
    // Not quit(): that asks every window to close, and this one would run
    // the close path again as an ordinary close.
    ProgrammBeenden = [] { QCoreApplication::exit(0); };

    DienstSetzen<ListenAnzeigeDienst>(this);
    // Every save first takes the columns on screen into the layout text.
    m_indexHörer = IndexHörerAnmelden([this](IndexEreignis ereignis, Index& i) {
        if (g_haupt != this || &i != &hauptIndex())
            return;
        if (ereignis == IndexEreignis::Geladen)
            IndexZustandAnzeigen();
        else if (ereignis == IndexEreignis::VorDemSpeichern)
            SpaltenSpeichern();
    });

    resize(TwipsZuPixel(7755), TwipsZuPixel(5700));
    setWindowTitle(NormalerTitel());
}

Hauptfensterhelfer::Hauptfensterhelfer(frmMain* f) : QObject(f) {}

frmMain::~frmMain()
{
    // The widgets are deleted after this body, when this is no frmMain any
    // more: their last events must not reach its members. The helpers that
    // watch them go first, then the window's own filters and handlers.
    qDeleteAll(findChildren<Hauptfensterhelfer*>(Qt::FindDirectChildrenOnly));
    for (QObject* o : findChildren<QObject*>()) {
        o->removeEventFilter(this);
        disconnect(o, nullptr, this, nullptr);
    }
    disconnect(qApp, nullptr, this, nullptr);
    IndexHörerAbmelden(m_indexHörer);
    DienstSetzen<StatusDienst>(nullptr);
    if (g_haupt == this) {
        g_haupt = nullptr;
        DienstSetzen<ListenAnzeigeDienst>(nullptr);
    }
}

void frmMain::MenüsErstellen()
{
    mnu_kontext = benannt(new QMenu(QStringLiteral("&Datei"), this), QStringLiteral("mnu_kontext"));
    mnu_kontext_indexhinzufügen = eintrag(mnu_kontext, "mnu_kontext_indexhinzufügen", QStringLiteral("Zum Index &hinzufügen"));
    mnu_kontext_indexentfernen = eintrag(mnu_kontext, "mnu_kontext_indexentfernen", QStringLiteral("Aus Index entfernen"));
    eintrag(mnu_kontext, "mnu_kontext_trenn1", QString());
    mnu_kontext_kopieren = eintrag(mnu_kontext, "mnu_kontext_kopieren", QStringLiteral("Kopieren/Verschieben..."));
    mnu_kontext_umbenennen = eintrag(mnu_kontext, "mnu_kontext_umbenennen", QStringLiteral("Umbenennen..."));
    mnu_kontext_löschen = eintrag(mnu_kontext, "mnu_kontext_löschen", QStringLiteral("Löschen..."));
    eintrag(mnu_kontext, "mnu_kontext_trenn2", QString());
    mnu_kontext_abspielen = eintrag(mnu_kontext, "mnu_kontext_abspielen", QStringLiteral("Abspielen"));
    mnu_kontext_playlist = eintrag(mnu_kontext, "mnu_kontext_playlist", QStringLiteral("In Playlist"));
    mnu_kontext_ausführen = eintrag(mnu_kontext, "mnu_kontext_ausführen", QStringLiteral("Ausführen"));
    mnu_kontext_ausführenmit = eintrag(mnu_kontext, "mnu_kontext_ausführenmit", QStringLiteral("Ausführen mit..."));
    eintrag(mnu_kontext, "mnu_kontext_trenn3", QString());
    mnu_kontext_infos = eintrag(mnu_kontext, "mnu_kontext_infos", QStringLiteral("Datei-Infos..."));
    mnu_kontext_export = eintrag(mnu_kontext, "mnu_kontext_export", QStringLiteral("Export..."));
    // The context menu's items are their command labels' twins: each follows
    // its label's availability and runs its label's command.
    const std::pair<QAction*, LinkLabel*> zwillinge[] = {
        {mnu_kontext_indexhinzufügen, cmdIndexErstellen}, {mnu_kontext_indexentfernen, cmdDateiEntfernen},
        {mnu_kontext_kopieren, cmdDateienKopierenVerschieben}, {mnu_kontext_umbenennen, cmdUmbenennen},
        {mnu_kontext_löschen, cmdDateienLöschen}, {mnu_kontext_abspielen, cmdEintragAbspielen},
        {mnu_kontext_playlist, cmdAnhängen}, {mnu_kontext_ausführen, cmdEintragAusführen},
        {mnu_kontext_ausführenmit, cmdEintragAusführenMit}, {mnu_kontext_infos, cmdMp3TagAnzeigen},
        {mnu_kontext_export, cmdExportieren},
    };
    for (const auto& [aktion, label] : zwillinge) {
        LinkLabel* l = label;
        connect(aktion, &QAction::triggered, this, [this, l] { BefehlAuslösen(l); });
    }
    connect(mnu_kontext, &QMenu::aboutToShow, this, [this, zwillinge] {
        for (const auto& [aktion, label] : zwillinge)
            aktion->setEnabled(BefehlVerfügbar(label));
    });

    mnu_songkontext = benannt(new QMenu(QStringLiteral("Datei-Funktionen"), this), QStringLiteral("mnu_songkontext"));
    mnu_song_titel = eintrag(mnu_songkontext, "mnu_song_titel", QStringLiteral("- Datei-Funktionen -"));
    mnu_song_titel->setEnabled(false);
    eintrag(mnu_songkontext, "mnu_song_wähletrennzeichen1", QString());
    mnu_song_allesongsmittitel = eintrag(mnu_songkontext, "mnu_song_allesongsmittitel", QStringLiteral("Alle Songs mit diesem Titel anzeigen"));
    mnu_song_allesongsvoninterpret = eintrag(mnu_songkontext, "mnu_song_allesongsvoninterpret", QStringLiteral("Alle Songs dieses Interpreten anzeigen"));
    mnu_song_allesongsvonalbum = eintrag(mnu_songkontext, "mnu_song_allesongsvonalbum", QStringLiteral("Alle Songs von diesem Album anzeigen"));
    mnu_song_allesongsimordner = eintrag(mnu_songkontext, "mnu_song_allesongsimordner", QStringLiteral("Alle Songs im enthaltenen Ordner anzeigen"));
    mnu_song_mitdiesemnamen = eintrag(mnu_songkontext, "mnu_song_mitdiesemnamen", QStringLiteral("Alle Songs mit diesem Namen anzeigen"));
    mnu_song_zwischenablage = eintrag(mnu_songkontext, "mnu_song_zwischenablage", QStringLiteral("Dateinamen in Zwischenablage kopieren"));
    mnu_song_wähletrennzeichen2 = eintrag(mnu_songkontext, "mnu_song_wähletrennzeichen2", QString());
    mnu_song_InfosInternet = eintrag(mnu_songkontext, "mnu_song_InfosInternet", QStringLiteral("Weitere Infos im Internet suchen..."));
    for (QAction* a : mnu_songkontext->actions())
        a->setEnabled(false);
    mnu_song_wähletrennzeichen2->setProperty(kVerfügbar, true);

    // The song menu's searches over the one selected entry.
    const auto einEintrag = [this]() -> qint32 {
        const ListenZustand& z = listenZustand();
        if (z.lngAuswahlAnzahl != 1 || !hauptIndex().GültigerEintrag(z.lngAuswahlEintrag[1])) {
            MeldungZeigen(QStringLiteral("Bitte wählen Sie eine Datei."), Knöpfe::OK, Symbol::Information, this);
            return 0;
        }
        return z.lngAuswahlEintrag[1];
    };
    BefehlVerbinden(mnu_song_allesongsmittitel, [this, einEintrag] {
        if (const qint32 e = einEintrag())
            SongMenüSuche(3, hauptIndex().IndexDaten[size_t(e)].Mp3_ID3v1_Titel);
    });
    BefehlVerbinden(mnu_song_allesongsvoninterpret, [this, einEintrag] {
        if (const qint32 e = einEintrag())
            SongMenüSuche(1, hauptIndex().IndexDaten[size_t(e)].Mp3_ID3v1_Interpret);
    });
    BefehlVerbinden(mnu_song_allesongsvonalbum, [this, einEintrag] {
        if (const qint32 e = einEintrag())
            SongMenüSuche(2, hauptIndex().IndexDaten[size_t(e)].Mp3_ID3v1_Album);
    });
    BefehlVerbinden(mnu_song_allesongsimordner, [this, einEintrag] {
        if (const qint32 e = einEintrag())
            SongMenüSuche(15, PfadZurückgeben(hauptIndex().strIndexPfad[size_t(e)]));
    });
    BefehlVerbinden(mnu_song_zwischenablage, [einEintrag] {
        if (const qint32 e = einEintrag()) {
            QApplication::clipboard()->clear();
            QApplication::clipboard()->setText(hauptIndex().strIndexPfad[size_t(e)]);
        }
    });

    mnu_PopUp1 = benannt(new QMenu(QStringLiteral("Auswahl"), this), QStringLiteral("mnu_PopUp1"));
    mnu_wähletop = eintrag(mnu_PopUp1, "mnu_wähletop", QStringLiteral("- Auswahl von Dateigruppen -"));
    mnu_wähletop->setEnabled(false);
    eintrag(mnu_PopUp1, "mnu_wähletrennzeichen", QString());
    mnu_wählealle = eintrag(mnu_PopUp1, "mnu_wählealle", QStringLiteral("&Alle auswählen"));
    mnu_wählekeine = eintrag(mnu_PopUp1, "mnu_wählekeine", QStringLiteral("&Keine auswählen"));
    mnu_wähleumkehren = eintrag(mnu_PopUp1, "mnu_wähleumkehren", QStringLiteral("Auswahl &umkehren"));
    mnu_wähleabhier = eintrag(mnu_PopUp1, "mnu_wähleabhier", QStringLiteral("Wähle alle a&b hier"));
    mnu_wählebishier = eintrag(mnu_PopUp1, "mnu_wählebishier", QStringLiteral("Wähle alle b&is hier"));
    BefehlVerbinden(mnu_wählealle, [this] { mnu_wählealle_Click(); });
    BefehlVerbinden(mnu_wählekeine, [this] { mnu_wählekeine_Click(); });
    BefehlVerbinden(mnu_wähleumkehren, [this] { mnu_wähleumkehren_Click(); });
    BefehlVerbinden(mnu_wähleabhier, [this] { mnu_wähleabhier_Click(); });
    BefehlVerbinden(mnu_wählebishier, [this] { mnu_wählebishier_Click(); });
}

// --- commands ------------------------------------------------------------------

void frmMain::BefehlVerbinden(QObject* befehl, std::function<void()> aktion)
{
    befehl->setProperty(kVerfügbar, true);
    const auto ausführen = [aktion = std::move(aktion)] { übergehen(aktion); };
    if (auto* l = qobject_cast<LinkLabel*>(befehl)) {
        l->setEnabled(true);
        connect(l, &LinkLabel::clicked, this, ausführen);
    } else if (auto* a = qobject_cast<QAction*>(befehl)) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, ausführen);
    }
}

bool frmMain::BefehlVerfügbar(const QObject* befehl) const
{
    return befehl && befehl->property(kVerfügbar).toBool();
}

void frmMain::BefehlAuslösen(QObject* befehl)
{
    if (!BefehlVerfügbar(befehl))
        return;
    if (auto* l = qobject_cast<LinkLabel*>(befehl)) {
        if (l->isEnabled())
            Q_EMIT l->clicked();
    } else if (auto* a = qobject_cast<QAction*>(befehl)) {
        a->trigger();
    }
}

QString frmMain::NormalerTitel() const
{
    return ProgrammTitel() + QLatin1Char(' ') + QString::number(VersionMajor()) + QLatin1Char('.')
        + QString::number(VersionMinor()) + QStringLiteral(" - ") + einstellungen().Dateiname;
}

// --- the list ------------------------------------------------------------------

void frmMain::ListeErstellen(bool bolAnzahlZeigen)
{
    ListenZustand& z = listenZustand();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    übergehen([&] { ListeFüllen(*m_modell, *lstSongs->selectionModel(), z); });
    übergehen([&] {
        AuswahlErmitteln();
        if (z.lngAuswahlAnzahl > 0)
            lstSongs->scrollTo(m_modell->index(z.lngAuswahlPosition[1] - 1, 0));
        BeschreibungAktualisieren();
    });
    QApplication::restoreOverrideCursor();
    if (bolAnzahlZeigen)
        lblDateiAnzahl->setText(QString::number(hauptIndex().lngIndexAnzahl) + QStringLiteral(" Datei(en) im Index\n")
                                + QString::number(m_modell->rowCount()) + QStringLiteral(" Datei(en) gefunden"));
}

void frmMain::ListeErstellenAktualisieren(qint32 lngVon, qint32 lngBis)
{
    m_modell->ZeilenAktualisieren(lngVon, lngBis);
}

void frmMain::NeueInListeMarkieren(qint32 lngAnzahl)
{
    const int zeile = NeueZeilenMarkieren(*m_modell, *lstSongs->selectionModel(), lngAnzahl);
    AuswahlErmitteln();
    BeschreibungAktualisieren();
    if (zeile >= 0)
        lstSongs->scrollTo(m_modell->index(zeile, 0));
}

void frmMain::AuswahlErmitteln()
{
    AuswahlLesen(*lstSongs->selectionModel(), *m_modell, listenZustand());
}

void frmMain::BeschreibungAktualisieren()
{
    const ListenZustand& z = listenZustand();
    const Index& idx = hauptIndex();
    const Einstellungen& e = einstellungen();
    // The folder line is a link whatever it shows: it keeps a link's resting look.
    const bool ordnerUnterstrichen = e.FunktionenUnterstreichen != 0;
    // Entries that are gone since the selection was read count as unselected.
    std::vector<qint32> einträge;
    for (qint32 k = 1; k <= z.lngAuswahlAnzahl && size_t(k) < z.lngAuswahlEintrag.size(); ++k)
        if (idx.GültigerEintrag(z.lngAuswahlEintrag[size_t(k)]))
            einträge.push_back(z.lngAuswahlEintrag[size_t(k)]);
    if (einträge.empty()) {
        lblIndexdateiUntertitel1->setText(
            idx.lngIndexAnzahl != 0
                ? QStringLiteral("Markieren Sie eine Datei, um ihre Beschreibung anzuzeigen oder weitere Funktionen zu aktivieren.")
                : QStringLiteral("Fügen Sie Dateien zum Index hinzu, um dieses Programm zu nutzen."));
        Aussehen(lblIndexdateiUntertitel1, e.FarbeBeschreibungen, false, false, false);
        lblIndexDateiUntertitel2->clear();
        Aussehen(lblIndexDateiUntertitel2, e.FarbeFunktionen, false, ordnerUnterstrichen, false);
        fraNurBeiAusgewählt->hide();
        return;
    }
    if (einträge.size() >= 2) {
        lblIndexdateiUntertitel1->setText(QStringLiteral("Es wurden ") + QString::number(einträge.size())
                                          + QStringLiteral(" Dateien gewählt."));
        Aussehen(lblIndexdateiUntertitel1, e.FarbeBeschreibungen, true, false, false);
        // A common folder shows when each folder begins the one above it.
        bool gemeinsam = true;
        QString vorher = PfadZurückgeben(idx.strIndexPfad[size_t(einträge[0])]);
        for (size_t k = 1; k < einträge.size() && gemeinsam; ++k) {
            QString ordner = PfadZurückgeben(idx.strIndexPfad[size_t(einträge[k])]);
            gemeinsam = vorher.startsWith(ordner, Qt::CaseInsensitive);
            vorher = std::move(ordner);
        }
        lblIndexDateiUntertitel2->setText(gemeinsam ? vorher : QString());
        Aussehen(lblIndexDateiUntertitel2, e.FarbeFunktionen, false, ordnerUnterstrichen, gemeinsam);
    } else {
        const QString& pfad = idx.strIndexPfad[size_t(einträge[0])];
        lblIndexdateiUntertitel1->setText(DateinameZurückgeben(pfad));
        Aussehen(lblIndexdateiUntertitel1, e.FarbeFunktionen, true, e.FunktionenUnterstreichen != 0, true);
        lblIndexDateiUntertitel2->setText(PfadZurückgeben(pfad));
        Aussehen(lblIndexDateiUntertitel2, e.FarbeFunktionen, false, ordnerUnterstrichen, true);
    }
    fraNurBeiAusgewählt->show();
}

void frmMain::MenüsAktualisieren(bool bolWinampTitel)
{
    const ListenZustand& z = listenZustand();
    QAction* const song[] = {mnu_song_mitdiesemnamen,  mnu_song_allesongsimordner,  mnu_song_allesongsmittitel,
                             mnu_song_allesongsvonalbum, mnu_song_allesongsvoninterpret, mnu_song_zwischenablage,
                             mnu_song_InfosInternet,   mnu_song_wähletrennzeichen2};
    for (QAction* a : song)
        a->setEnabled(false);
    std::vector<QAction*> an;
    if (bolWinampTitel) {
        an = {mnu_song_mitdiesemnamen};
    } else if (z.lngAuswahlAnzahl == 1 && hauptIndex().GültigerEintrag(z.lngAuswahlEintrag[1])) {
        if (hauptIndex().IndexDaten[size_t(z.lngAuswahlEintrag[1])].Mp3_ID3v1_Vorhanden == 1)
            an = {mnu_song_allesongsmittitel, mnu_song_allesongsimordner, mnu_song_allesongsvonalbum,
                  mnu_song_allesongsvoninterpret, mnu_song_zwischenablage, mnu_song_InfosInternet,
                  mnu_song_wähletrennzeichen2};
        else
            an = {mnu_song_allesongsimordner, mnu_song_zwischenablage};
    }
    for (QAction* a : an)
        a->setEnabled(BefehlVerfügbar(a));
    mnu_wähleabhier->setEnabled(z.lngAuswahlAnzahl > 0);
    mnu_wählebishier->setEnabled(z.lngAuswahlAnzahl > 0);
}

std::vector<ListenSpalte> frmMain::ListenSpalten() const
{
    std::vector<ListenSpalte> v = m_modell->Spalten();
    const QHeaderView* h = lstSongs->horizontalHeader();
    for (size_t j = 0; j < v.size(); ++j) {
        v[j].breitePixel = h->sectionSize(int(j));
        v[j].position = h->visualIndex(int(j)) + 1;
    }
    return v;
}

bool frmMain::SpaltenAnpassen()
{
    std::vector<ListenSpalte> v = ListenSpalten();
    bool leiste = true, gitter = false;
    const bool erfolg = ::SpaltenAnpassen(hauptIndex(), v, leiste, gitter);
    m_modell->SpaltenÜbernehmen(v);
    // Columns that stayed keep their width; new ones take the layout's.
    int bleibende = 0;
    for (const ListenSpalte& s : v)
        if (s.position > 0)
            ++bleibende;
    QHeaderView* h = lstSongs->horizontalHeader();
    for (size_t j = size_t(bleibende); j < v.size(); ++j)
        h->resizeSection(int(j), v[j].breitePixel);
    h->setVisible(leiste);
    lstSongs->setShowGrid(gitter);
    return erfolg;
}

void frmMain::SpaltenSpeichern()
{
    ::SpaltenSpeichern(hauptIndex(), ListenSpalten(), !lstSongs->horizontalHeader()->isHidden(), lstSongs->showGrid());
}

void frmMain::IndexZustandAnzeigen()
{
    const Index& idx = hauptIndex();
    const bool geladen = idx.bolIndexGeladen;
    // The search boxes stay disabled while several queries of the extended search apply.
    const bool mehrereAbfragen = suchZustand().suchbegriffe.lngSuchbegriffeAnzahl > 1;
    for (QWidget* w : {static_cast<QWidget*>(txtSongname), static_cast<QWidget*>(cboSuche)})
        w->setEnabled(geladen && !mehrereAbfragen);
    lblWinampSteuerungTitel->setEnabled(geladen);
    for (LinkLabel* l : {cmdSucheLöschen, cmdSucheMehr})
        l->setEnabled(geladen && BefehlVerfügbar(l));
    fraLinks2->setVisible(geladen);
    lstSongs->setEnabled(geladen);
    lblIndexdatei->setText(geladen ? DateinameZurückgeben(einstellungen().Dateiname) : QStringLiteral("(keine Datei geladen)"));
    setWindowTitle(NormalerTitel());
    if (frmSucheErweitert* w = sucheErweitertFenster())
        w->hide();
    if (geladen) {
        m_modell->ZeilenSetzen({});
        AuswahlErmitteln();
        übergehen([this] { SpaltenAnpassen(); });
        // Folded with the load, so that the first search is as quick as the next.
        suchCache(hauptIndex()).AllesFalten(hauptIndex());
    }
    SucheAktualisieren(true);
}

// --- the search ----------------------------------------------------------------

QString frmMain::SuchText() const { return txtSongname->currentText(); }

const QStringList& frmMain::Werteliste() const { return m_werteListe; }

void frmMain::AutoCompleteFüllen(const QString& feld, int flag, const QString& feld2)
{
    m_werteListe = flag == 0 ? QStringList() : FeldWerteSammeln(hauptIndex(), feld, feld2);
    Sperre sperre(suchZustand().bolSucheGesperrt);
    const QString text = SuchText();
    m_werte->setStringList(m_werteListe);
    txtSongname->setCurrentIndex(-1);
    txtSongname->setEditText(text);
}

bool frmMain::AutoCompleteAusführen(const QString& text)
{
    Sperre sperre(suchZustand().bolSucheGesperrt);
    const qsizetype treffer = !text.isEmpty() && !suchZustand().bolAutoCompleteAus && suchZustand().bolAutoCompleteErlaubt
            && einstellungen().AutoCompleteVerwenden != 0
        ? AutoCompleteTreffer(m_werteListe, text)
        : -1;
    if (treffer < 0) {
        suchZustand().bolAutoCompleteAus = false;
        return true;
    }
    QLineEdit* le = txtSongname->lineEdit();
    const int p = le->cursorPosition();
    txtSongname->setCurrentIndex(int(treffer));
    const int länge = int(le->text().size());
    le->setSelection(länge, p - länge); // the completed rest, caret at p
    return true;
}

void frmMain::txtSongname_Change()
{
    if (suchZustand().bolSucheGesperrt)
        return;
    Sperre sperre(suchZustand().bolSucheGesperrt);
    AutoCompleteAusführen(SuchText());
    if (SuchText().isEmpty() || suchZustand().bolSucheSofort)
        tmrListe_Timer();
    else if (!tmrListe->isActive())
        tmrListe->start(); // a running timer is not restarted
}

void frmMain::txtSongname_Click() { txtSongname_Change(); }

void frmMain::txtSongname_KeyDown(int taste)
{
    if (taste == Qt::Key_Backspace || (taste == Qt::Key_Delete && !SuchText().isEmpty()))
        suchZustand().bolAutoCompleteAus = true;
}

void frmMain::cboSuche_Click()
{
    AutoCompleteFüllen(cboSuche->currentText(), einstellungen().Auswahlliste);
    if (!SuchText().isEmpty() || einstellungen().SucheNichtBeiAuswahl != 1)
        txtSongname_Change();
}

void frmMain::SuchfehlerZeigen(const QString& text)
{
    MeldungZeigen(text, Knöpfe::OK, Symbol::Ausruf, this);
}

void frmMain::tmrListe_Timer()
{
    tmrListe->stop();
    Suchbegriffe& s = suchZustand().suchbegriffe;
    const QString feld = cboSuche->currentText();
    if (s.lngSuchbegriffeAnzahl != 0) {
        if (cboSuche->isEnabled()
            && !SuchbegriffeÄndern(s, 1, SuchText(), feld, s.strSuchbegriffeOptionen.size() > 1 ? s.strSuchbegriffeOptionen[1] : QStringLiteral("00")))
            SuchfehlerZeigen(QStringLiteral("Die Such-Abfrage konnte nicht verarbeitet werden."));
    } else if (SuchbegriffeZurücksetzen(s)) {
        if (!SuchbegriffeHinzufügen(s, SuchText(), feld, QStringLiteral("00")))
            SuchfehlerZeigen(QStringLiteral("Die Such-Abfrage konnte nicht eingerichtet werden."));
    } else {
        SuchfehlerZeigen(QStringLiteral("Die Such-Abfrage konnte nicht zurückgesetzt werden."));
    }
    Index& idx = hauptIndex();
    SuchErgebnisseZurücksetzen(idx, suchZustand().lngListeVon, suchZustand().lngListeBis);
    if (!IndexSucheDurchführen(idx, s, suchZustand().lngListeVon, suchZustand().lngListeBis))
        SuchfehlerZeigen(QStringLiteral("Die Suche konnte aufgrund eines Fehlers nicht durchgeführt werden."));
    ListeErstellen(true);
}

void frmMain::SucheAktualisieren(bool bolAutoComplete)
{
    suchZustand().bolSucheGesperrt = true;
    suchZustand().bolSucheSofort = true;
    suchZustand().bolAutoCompleteErlaubt = bolAutoComplete;
    if (cboSuche->isEnabled() && cboSuche->currentIndex() < 0)
        cboSuche->setCurrentIndex(0);
    else
        cboSuche_Click();
    suchZustand().bolSucheGesperrt = false;
    suchZustand().bolSucheSofort = true;
    suchZustand().bolAutoCompleteErlaubt = bolAutoComplete;
    txtSongname_Change();
    suchZustand().bolSucheSofort = false;
    suchZustand().bolAutoCompleteErlaubt = true;
}

void frmMain::cmdSucheLöschen_Click()
{
    suchZustand().bolSucheGesperrt = true;
    if (cboSuche->currentIndex() == 0)
        cboSuche_Click();
    else
        cboSuche->setCurrentIndex(0);
    txtSongname->setEditText(QString());
    cboSuche->setEnabled(true);
    txtSongname->setEnabled(true);
    suchZustand().bolSucheGesperrt = false;
    suchZustand().suchbegriffe.lngSuchbegriffeAnzahl = 0;
    QCoreApplication::processEvents();
    txtSongname_Change();
}

void frmMain::SongMenüSuche(int feldIndex, const QString& text, bool bolOhneAutoComplete)
{
    // A search from the song menu is one query: queries of the extended
    // search would otherwise go on filtering the list out of sight.
    if (suchZustand().suchbegriffe.lngSuchbegriffeAnzahl > 1) {
        SuchbegriffeZurücksetzen(suchZustand().suchbegriffe);
        cboSuche->setEnabled(true);
        txtSongname->setEnabled(true);
    }
    suchZustand().bolSucheGesperrt = true;
    cboSuche->setCurrentIndex(feldIndex);
    suchZustand().bolSucheGesperrt = false;
    if (bolOhneAutoComplete)
        suchZustand().bolAutoCompleteErlaubt = false;
    if (SuchText() == text)
        txtSongname_Change();
    else
        txtSongname->setEditText(text);
    if (bolOhneAutoComplete)
        suchZustand().bolAutoCompleteErlaubt = true;
}

// --- list events -----------------------------------------------------------------

void frmMain::lstSongs_ColumnClick(int spalte)
{
    const QString titel = m_modell->headerData(spalte, Qt::Horizontal).toString();
    if (titel.isEmpty()) {
        MeldungZeigen(QStringLiteral("Diese Spalte kann nicht sortiert werden."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    if (m_modell->rowCount() == 0)
        return;
    Index& idx = hauptIndex();
    ListenZustand& z = listenZustand();
    const QString feld = m_modell->SpaltenFeldName(spalte);
    FortschrittZeigenStarten(idx.lngIndexAnzahl, true, this, true, false, QStringLiteral("Sortiere Liste"));
    // A cancelled sort moves nothing, and the direction stays as it was.
    const bool sortiert = SpalteSortieren(idx, feld, suchZustand().strLetzteSortierSpalte,
                                          suchZustand().intSortierungUmkehren,
                                          [this](qint32 k) { return FortschrittZeigen(k, QString(), this); });
    FortschrittZeigenBeenden(this);
    z.AuswahlLeeren();
    SucheAktualisieren(false);
    // Nothing is said of a sort that did not happen.
    if (sortiert)
        StatusMeldungZeigen(QStringLiteral("Die Liste wurde sortiert nach der Spalte '") + feld + QLatin1Char('\''), 1);
}

void frmMain::lstSongs_KeyDown(int taste, Qt::KeyboardModifiers zusatz)
{
    ListenZustand& z = listenZustand();
    if (zusatz & Qt::ControlModifier) {
        z.bolPlaylistLeeren = true;
        if (taste == Qt::Key_A)
            mnu_wählealle_Click();
    } else {
        z.bolPlaylistLeeren = (zusatz & Qt::ShiftModifier) != 0;
    }
    if (taste == Qt::Key_Delete) {
        AuswahlErmitteln();
        BeschreibungAktualisieren();
        BefehlAuslösen(cmdDateiEntfernen);
    } else if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
        AuswahlErmitteln();
        BeschreibungAktualisieren();
        lstSongs_DblClick();
    }
}

void frmMain::lstSongs_KeyUp()
{
    AuswahlErmitteln();
    BeschreibungAktualisieren();
}

void frmMain::lstSongs_MouseUp(Qt::MouseButton knopf)
{
    AuswahlErmitteln();
    BeschreibungAktualisieren();
    if (knopf == Qt::RightButton && listenZustand().lngAuswahlAnzahl > 0) {
        MenüsAktualisieren(false);
        mnu_kontext->popup(QCursor::pos());
    }
}

void frmMain::lstSongs_DblClick()
{
    AuswahlErmitteln();
    BeschreibungAktualisieren();
    if (listenZustand().lngAuswahlAnzahl <= 0)
        return;
    switch (einstellungen().BeiDoppelklick) {
    case 0:
    case 1:
        BefehlAuslösen(cmdEintragAbspielen);
        break;
    case 2:
        BefehlAuslösen(cmdAnhängen);
        break;
    case 3:
        BefehlAuslösen(cmdMp3TagAnzeigen);
        break;
    default:
        BefehlAuslösen(cmdEintragAusführen);
        break;
    }
}

void frmMain::lblIndexdateiUntertitel1_Click()
{
    if (listenZustand().lngAuswahlAnzahl != 1)
        return;
    TextfarbeSetzen(lblIndexdateiUntertitel1, einstellungen().FarbeFunktionenBesucht);
    AuswahlErmitteln();
    MenüsAktualisieren(false);
    mnu_songkontext->popup(QCursor::pos());
}

void frmMain::lblIndexDateiUntertitel2_Click()
{
    if (!lblIndexDateiUntertitel2->text().isEmpty())
        MitStandardprogrammÖffnen(lblIndexDateiUntertitel2->text(), this);
}

void frmMain::cmdAuswählen_Click()
{
    MenüsAktualisieren(false);
    mnu_PopUp1->popup(cmdAuswählen->mapToGlobal(cmdAuswählen->rect().bottomLeft()));
}

void frmMain::mnu_wählealle_Click()
{
    lstSongs->selectAll();
    lstSongs->setFocus();
    AuswahlErmitteln();
    BeschreibungAktualisieren();
}

void frmMain::mnu_wählekeine_Click()
{
    lstSongs->clearSelection();
    if (!FortschrittLäuft())
        lstSongs->setFocus();
    AuswahlErmitteln();
    BeschreibungAktualisieren();
}

void frmMain::mnu_wähleumkehren_Click()
{
    const std::vector<int> gewählt = AusgewählteZeilen(*lstSongs->selectionModel());
    std::vector<int> neu;
    size_t k = 0;
    for (int r = 0; r < m_modell->rowCount(); ++r) {
        if (k < gewählt.size() && gewählt[k] == r)
            ++k;
        else
            neu.push_back(r);
    }
    ZeilenAuswählen(*lstSongs->selectionModel(), *m_modell, neu);
    lstSongs->setFocus();
    AuswahlErmitteln();
    BeschreibungAktualisieren();
}

void frmMain::mnu_wähleabhier_Click() { ZeilenBisEndeWählen(true); }

void frmMain::mnu_wählebishier_Click() { ZeilenBisEndeWählen(false); }

// Selects the rows from the last selected one to the end of the list, or
// from the start up to it; the other rows keep their state.
void frmMain::ZeilenBisEndeWählen(bool bisZumEnde)
{
    const ListenZustand& z = listenZustand();
    const int zeilen = m_modell->rowCount();
    if (z.lngAuswahlAnzahl > 0 && zeilen > 0 && m_modell->columnCount() > 0) {
        const int hier = std::clamp(z.lngAuswahlPosition[size_t(z.lngAuswahlAnzahl)] - 1, 0, zeilen - 1);
        const int von = bisZumEnde ? hier : 0;
        const int bis = bisZumEnde ? zeilen - 1 : hier;
        lstSongs->selectionModel()->select(
            QItemSelection(m_modell->index(von, 0), m_modell->index(bis, m_modell->columnCount() - 1)),
            QItemSelectionModel::Select);
    }
    lstSongs->setFocus();
    AuswahlErmitteln();
    BeschreibungAktualisieren();
}

bool frmMain::eventFilter(QObject* o, QEvent* e)
{
    if (o == txtSongname->lineEdit() && e->type() == QEvent::KeyPress) {
        txtSongname_KeyDown(static_cast<QKeyEvent*>(e)->key());
    } else if (o == lstSongs) {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            lstSongs_KeyDown(k->key(), k->modifiers());
            // Ctrl+A, Enter and Delete are ours, not the view's.
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Delete
                || (k->key() == Qt::Key_A && (k->modifiers() & Qt::ControlModifier)))
                return true;
        } else if (e->type() == QEvent::KeyRelease) {
            lstSongs_KeyUp();
        }
    } else if (o == lstSongs->viewport()) {
        if (e->type() == QEvent::MouseButtonRelease && !m_listeLässtLos) {
            // A click into a selection changes it only on release: let the view
            // have the release first, then read what it selected.
            m_listeLässtLos = true;
            QCoreApplication::sendEvent(o, e);
            m_listeLässtLos = false;
            lstSongs_MouseUp(static_cast<QMouseEvent*>(e)->button());
            return true;
        }
        if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
            QTimer::singleShot(0, this, [this] { lstSongs_DblClick(); });
    } else if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (o == lblIndexdateiUntertitel1)
            lblIndexdateiUntertitel1_Click();
        else if (o == lblIndexDateiUntertitel2)
            lblIndexDateiUntertitel2_Click();
    }
    return QWidget::eventFilter(o, e);
}

// --- layout and closing ------------------------------------------------------------

void frmMain::Form_Resize()
{
    if (layout())
        layout()->activate();
}

void frmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* e)
{
    // During a progress run (the title bar's close still reaches the window)
    // the request waits for the run's end; the window stays.
    if (m_schließtGerade || FortschrittLäuft()) {
        e->ignore();
        SchließenAnfordern(0);
        return;
    }
    int abbrechen = 0;
    Form_QueryUnload(abbrechen, 0);
    if (abbrechen)
        e->ignore();
    else
        e->accept();
}

void frmMain::SchließenAnfordern(int UnloadMode)
{
    if (m_schließtGerade)
        return;
    // An end from outside outranks the window's own request.
    m_schließenNachLauf = std::max(m_schließenNachLauf, UnloadMode);
    if (!m_schließenWarten) {
        m_schließenWarten = new QTimer(this);
        m_schließenWarten->setInterval(200);
        connect(m_schließenWarten, &QTimer::timeout, this, &frmMain::SchließenNachLaufAusführen);
    }
    SchließenNachLaufAusführen();
}

void frmMain::SchließenNachLaufAusführen()
{
    if (m_schließenNachLauf < 0)
        return m_schließenWarten->stop();
    // The run's loop lets events run: its result is not there before its end.
    if (FortschrittLäuft() || m_schließtGerade)
        return m_schließenWarten->start();
    m_schließenWarten->stop();
    const int modus = std::exchange(m_schließenNachLauf, -1);
    // Whoever ends the program from outside (a logout, a service manager)
    // waits for its end, not for an answer: nobody is asked.
    const QScopedValueRollback<bool> ohneFragen(m_ohneFragen, m_ohneFragen || modus == 3);
    int abbrechen = 0;
    Form_QueryUnload(abbrechen, modus);
}

bool frmMain::SitzungBeenden(bool fragenErlaubt)
{
    m_ohneFragen = !fragenErlaubt;
    int abbrechen = 0;
    Form_QueryUnload(abbrechen, 2);
    m_ohneFragen = false;
    return abbrechen == 0;
}

void frmMain::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    const QScopedValueRollback<bool> läuft(m_schließtGerade, true);
    // A failure here must never end the program before the index is saved:
    // it cancels the close and says so.
    try {
        Einstellungen& e = einstellungen();
        Index& idx = hauptIndex();
        SpaltenSpeichern();

        if (UnloadMode != 2 && UnloadMode != 3) {
            const bool ausdrücklich = Tag == QLatin1String("1");
            switch (e.BeendenReaktion) {
            case 0:
                if (ausdrücklich || isHidden() || isMinimized())
                    break;
                switch (BeendenFragen(this)) {
                case 0:
                    Cancel = 1;
                    return;
                case 1:
                    showMinimized();
                    Cancel = 1;
                    return;
                case 3:
                    InTrayVerbergen(this);
                    Cancel = 1;
                    return;
                default:
                    break;
                }
                break;
            case 1:
                if (ausdrücklich || isMinimized())
                    break;
                show();
                showMinimized();
                Cancel = 1;
                return;
            case 3:
                if (ausdrücklich || isHidden())
                    break;
                setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
                InTrayVerbergen(this); // minimises where there is no tray
                Cancel = 1;
                return;
            default:
                break;
            }
        }
        Tag = QStringLiteral("0");

        // A close comes whatever window is open: the question is asked over
        // it, and nothing closes before the answer is carried out. An open
        // tag editor closes as its own "Schließen" does: its boxes alone
        // decide what goes into a media file, the question only about the
        // index. What it would store counts as a change of the index.
        frmMp3Tag* editor = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = dynamic_cast<frmMp3Tag*>(w); t && t->isVisible())
                editor = t;
        QWidget* oben = QApplication::activeModalWidget();

        // Nothing is ever saved over a file that was not loaded. -1: not
        // decided yet.
        int speichern = -1;
        const auto entscheiden = [&] {
            if (speichern >= 0 || !idx.bolIndexGeladen)
                return true;
            // Where nobody may be asked, a change is saved rather than dropped.
            if (e.DateiAutomatischSpeichern == 1 || m_ohneFragen) {
                speichern = 1;
                return true;
            }
            const Antwort a = MeldungZeigen(QStringLiteral("Die Indexdatei wurde geändert.\nMöchten Sie diese speichern?"),
                                            Knöpfe::JaNeinAbbrechen, Symbol::Frage, oben ? oben : this);
            speichern = a == Antwort::Ja ? 1 : 0;
            return a != Antwort::Abbrechen;
        };
        if ((idx.bolIndexGeändert || (editor && editor->SchließenSpeichertGeändertes())) && !entscheiden()) {
            Cancel = 1;
            return;
        }
        if (editor) {
            editor->BeimBeendenSchließen();
            if (idx.bolIndexGeändert && !entscheiden()) {
                Cancel = 1;
                return;
            }
        }

        if (isMaximized()) {
            e.FensterMax = 1;
            showNormal();
        } else {
            e.FensterMax = 0;
            if (isMinimized())
                showNormal();
        }
        const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
        e.FensterTop = TwipsBehalten(e.FensterTop, r.top());
        e.FensterLeft = TwipsBehalten(e.FensterLeft, r.left());
        e.FensterWidth = TwipsBehalten(e.FensterWidth, r.width());
        e.FensterHeight = TwipsBehalten(e.FensterHeight, r.height());
        e.WinampBalance = hscrlBalance->value();
        e.WinampLautstärke = hscrlVolume->value();
        QCoreApplication::processEvents();

        if (speichern == 1 && !IndexSpeichern()) {
            Cancel = 1;
            show();
            return;
        }
        EinstellungenSpeichern();
        TraySymbolEntfernen();
        // Every other window closes as if cancelled: a modal one ends its
        // wait with no answer, bypassing its own closing steps.
        QList<QPointer<QWidget>> fenster;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible())
                fenster << w;
        for (const QPointer<QWidget>& w : fenster)
            if (w)
                w->hide();
        ProgrammBeenden();
    } catch (const std::exception& ex) {
        Cancel = 1;
        MeldungZeigen(QStringLiteral("Das Programm konnte nicht beendet werden.\n")
                          + FehlerText(QString::fromLocal8Bit(ex.what()), dynamic_cast<const std::bad_alloc*>(&ex) ? 7 : 5),
                      Knöpfe::OK, Symbol::Ausruf, this);
    }
}

frmMain* hauptfenster()
{
    if (!g_haupt)
        new frmMain;
    return g_haupt;
}

bool hauptfensterExistiert() { return g_haupt != nullptr; }

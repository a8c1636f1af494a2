#include "mainwindow/frmMain.h"

#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/StatusMeldung.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QHBoxLayout>

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

template <typename T>
T* benannt(T* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}
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
    lblIndexdatei = benannt(new QLabel(QStringLiteral("(Indexdatei)"), fraLinks1), QStringLiteral("lblIndexdatei"));
    lblIndexdateiUntertitel1 = benannt(new QLabel(fraLinks1), QStringLiteral("lblIndexdateiUntertitel1"));
    lblIndexDateiUntertitel2 = benannt(new QLabel(fraLinks1), QStringLiteral("lblIndexDateiUntertitel2"));
    {
        auto* l = new QHBoxLayout(fraLinks1);
        QFont f = lblAnwendung->font();
        f.setPointSize(f.pointSize() + 6);
        f.setBold(true);
        lblAnwendung->setFont(f);
        l->addWidget(lblAnwendung);
        auto* v = new QVBoxLayout;
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
        auto* n = new QVBoxLayout(fraNurBeiAusgewählt);
        n->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w : {static_cast<QWidget*>(cmdEintragAbspielen), static_cast<QWidget*>(cmdAnhängen),
                           static_cast<QWidget*>(cmdEintragAusführen), static_cast<QWidget*>(cmdEintragAusführenMit),
                           static_cast<QWidget*>(cmdMp3TagAnzeigen), static_cast<QWidget*>(cmdUmbenennen),
                           static_cast<QWidget*>(cmdDateienKopierenVerschieben), static_cast<QWidget*>(cmdDateienLöschen),
                           static_cast<QWidget*>(cmdDateiEntfernen), static_cast<QWidget*>(cmdExportieren),
                           static_cast<QWidget*>(cmdIndexVerwaltung)})
            n->addWidget(w);
        auto* l2 = new QVBoxLayout(fraLinks2);
        for (QWidget* w : {static_cast<QWidget*>(cmdIndexErstellen), static_cast<QWidget*>(cmdListeAufräumen),
                           static_cast<QWidget*>(cmdIndexStatistik), static_cast<QWidget*>(cmdAutoDJ),
                           static_cast<QWidget*>(cmdAuswählen)})
            l2->addWidget(w);
        l2->addWidget(fraNurBeiAusgewählt);
    }
    Line1 = benannt(new QFrame(fraKnöpfeLinks), QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    fraLinks4 = benannt(new QFrame(fraKnöpfeLinks), QStringLiteral("fraLinks4"));
    lblSucheÜberschrift = benannt(new QLabel(QStringLiteral("Suche"), fraLinks4), QStringLiteral("lblSucheÜberschrift"));
    cboSuche = benannt(new QComboBox(fraLinks4), QStringLiteral("cboSuche"));
    cboSuche->addItem(QStringLiteral("(Standardsuche)"));
    txtSongname = benannt(new QComboBox(fraLinks4), QStringLiteral("txtSongname"));
    txtSongname->setEditable(true);
    txtSongname->setInsertPolicy(QComboBox::NoInsert);
    cmdSucheLöschen = link(QStringLiteral("cmdSucheLöschen"), QStringLiteral("Löschen"), fraLinks4);
    cmdSucheMehr = link(QStringLiteral("cmdSucheMehr"), QStringLiteral("Erweiterte Suche"), fraLinks4);
    lblDateiAnzahl = benannt(new QLabel(fraLinks4), QStringLiteral("lblDateiAnzahl"));
    {
        auto* l4 = new QVBoxLayout(fraLinks4);
        l4->addWidget(lblSucheÜberschrift);
        l4->addWidget(cboSuche);
        l4->addWidget(txtSongname);
        auto* h = new QHBoxLayout;
        h->addWidget(cmdSucheLöschen);
        h->addWidget(cmdSucheMehr);
        l4->addLayout(h);
        l4->addWidget(lblDateiAnzahl);
        auto* lk = new QVBoxLayout(fraKnöpfeLinks);
        lk->setContentsMargins(0, 0, 0, 0);
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
        for (QWidget* w : {static_cast<QWidget*>(cmdBeenden), static_cast<QWidget*>(cmdHilfe),
                           static_cast<QWidget*>(cmdOptionen), static_cast<QWidget*>(cmdInfo)})
            l5->addWidget(w);
    }

    // Player panel
    fraLinks3 = benannt(new QFrame(this), QStringLiteral("fraLinks3"));
    lblWinampSteuerungTitel = benannt(new QLabel(QStringLiteral("Audio-Player"), fraLinks3), QStringLiteral("lblWinampSteuerungTitel"));
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
        g->addWidget(lblWinampSteuerungTitel, 0, 0, 1, 4);
        g->addWidget(cmdAbspielen, 1, 0);
        g->addWidget(cmdAbspielenStopp, 1, 1);
        g->addWidget(cmdWinampVorheriger, 1, 2);
        g->addWidget(cmdWinampNächster, 1, 3);
        g->addWidget(lblWinampSteuerungPosition, 0, 4);
        g->addWidget(hscrlTrackPos, 1, 4);
        g->addWidget(lblWinampSteuerungVolumen, 0, 5);
        g->addWidget(hscrlVolume, 1, 5);
        g->addWidget(lblWinampSteuerungBalance, 0, 6);
        g->addWidget(hscrlBalance, 1, 6);
        g->setColumnStretch(4, 2);
        g->setColumnStretch(5, 1);
        g->setColumnStretch(6, 1);
    }

    lstSongs = benannt(new QTableView(this), QStringLiteral("lstSongs"));
    lstSongs->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSongs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSongs->verticalHeader()->hide();
    lstSongs->setShowGrid(false);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(fraLinks1, 0, 0, 1, 2);
    grid->addWidget(fraKnöpfeLinks, 1, 0, 2, 1);
    grid->addWidget(fraLinks3, 1, 1);
    grid->addWidget(lstSongs, 2, 1);
    grid->addWidget(fraLinks5, 3, 0);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    fraKnöpfeLinks->setFixedWidth(2130 / 15);

    tmrScrollUpdate = benannt(new QTimer(this), QStringLiteral("tmrScrollUpdate"));
    tmrScrollUpdate->setInterval(500);
    tmrListe = benannt(new QTimer(this), QStringLiteral("tmrListe"));
    tmrListe->setInterval(600);

    m_status = new StatusSchreiber(this);
    m_status->titelSetzen = [this](const QString& t) { setWindowTitle(t); };
    m_status->normalerTitel = [this] { return NormalerTitel(); };
    StatusSchreiberSetzen(m_status);

    connect(cmdBeenden, &LinkLabel::clicked, this, [this] {
        Tag = QStringLiteral("1");
        close();
    });
    connect(cmdHilfe, &LinkLabel::clicked, this, [] { HilfeAnzeigen(); });

    resize(7755 / 15, 5700 / 15);
    setWindowTitle(NormalerTitel());
}

frmMain::~frmMain()
{
    StatusSchreiberSetzen(nullptr);
    if (g_haupt == this)
        g_haupt = nullptr;
}

QString frmMain::NormalerTitel() const
{
    return ProgrammTitel() + QLatin1Char(' ') + QString::number(VersionMajor()) + QLatin1Char('.')
        + QString::number(VersionMinor()) + QStringLiteral(" - ") + einstellungen().Dateiname;
}

void frmMain::Form_Resize()
{
}

void frmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void frmMain::closeEvent(QCloseEvent* e)
{
    // Store the placement and the player levels, then the settings.
    Einstellungen& s = einstellungen();
    s.FensterMax = isMaximized() ? 1 : 0;
    const QRect r = normalGeometry();
    s.FensterLeft = r.left() * 15;
    s.FensterTop = r.top() * 15;
    s.FensterWidth = r.width() * 15;
    s.FensterHeight = r.height() * 15;
    s.WinampBalance = hscrlBalance->value();
    s.WinampLautstärke = hscrlVolume->value();
    EinstellungenSpeichern();
    e->accept();
    QCoreApplication::quit();
}

frmMain* hauptfenster()
{
    if (!g_haupt)
        new frmMain;
    return g_haupt;
}

bool hauptfensterExistiert() { return g_haupt != nullptr; }

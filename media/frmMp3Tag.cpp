#include "media/frmMp3Tag.h"

#include "core/Dateihelfer.h"
#include "core/Einstellungen.h"
#include "core/Funktionen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/Verfuegbarkeit.h"
#include "media/MedienInfosLesen.h"
#include "media/MpegKopf.h"
#include "media/TagSchreiben.h"
#include "platform/Steuerelemente_gui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kLF = QStringLiteral("\n");
const QString kKeinV1 = QStringLiteral("Es wurde kein gültiger ID3v1-TAG gefunden.");
const QString kKeinV2 = QStringLiteral("Es wurde kein gültiger ID3v2-TAG gefunden.");

// How much of the start of `text`, at most `n` UTF-16 units, ends between
// two characters as the reader sees them: a surrogate pair or a combining
// sequence that does not fit whole stays out.
qsizetype GanzeZeichen(const QString& text, qsizetype n)
{
    if (n >= text.size())
        return text.size();
    if (n <= 0)
        return 0;
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Grapheme, text);
    grenzen.setPosition(n);
    return grenzen.isAtBoundary() ? n : std::max<qsizetype>(0, grenzen.toPreviousBoundary());
}

// What the user may type into a box: at most `länge` characters, only of
// `zeichen` when given. What is typed or pasted is cut to fit, its first
// characters kept. A text the program fills in (AutoTAG, the batch
// functions, the copies) is taken whole, the writers fit it to the tag; the
// user may edit it as long as it grows no longer.
class Tippregel : public QValidator {
public:
    Tippregel(QLineEdit* box, int länge, const QString& zeichen = QString())
        : QValidator(box), m_box(box), m_länge(länge), m_zeichen(zeichen), m_vorher(box->text())
    {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& t) { m_vorher = t; });
    }
    State validate(QString& text, int& pos) const override
    {
        // Without an undo step the text was set by the program.
        if (text == m_vorher || !m_box->isUndoAvailable())
            return Acceptable;
        // The edit: the text before, one stretch of it replaced by `neu`;
        // the cursor stands behind what was put in.
        const qsizetype n = text.size(), alt = m_vorher.size();
        qsizetype hinten = n - pos;
        if (pos < 0 || hinten < 0 || hinten > alt || QStringView(text).right(hinten) != QStringView(m_vorher).right(hinten)) {
            hinten = 0;
            while (hinten < std::min(n, alt) && text[n - 1 - hinten] == m_vorher[alt - 1 - hinten])
                ++hinten;
        }
        qsizetype vorne = 0;
        while (vorne < std::min(n, alt) - hinten && text[vorne] == m_vorher[vorne])
            ++vorne;
        QString neu = text.mid(vorne, n - vorne - hinten);
        if (!m_zeichen.isEmpty())
            neu.removeIf([this](QChar c) { return !m_zeichen.contains(c); });
        const qsizetype platz = std::max<qsizetype>(m_länge, alt) - (vorne + hinten);
        neu.truncate(GanzeZeichen(neu, platz));
        const QString ergebnis = text.left(vorne) + neu + text.right(hinten);
        if (ergebnis == m_vorher)
            return Invalid;
        text = ergebnis;
        pos = int(vorne + neu.size());
        return Acceptable;
    }

private:
    QLineEdit* m_box;
    int m_länge;
    QString m_zeichen;
    QString m_vorher;
};

QLineEdit* Feld(QWidget* parent, const char* name, int maxLänge = 0)
{
    auto* t = benannt(new QLineEdit(parent), name);
    if (maxLänge > 0)
        t->setValidator(new Tippregel(t, maxLänge));
    return t;
}

QPushButton* Knopf(QWidget* parent, const char* name, const QString& text)
{
    return benannt(new QPushButton(text, parent), name);
}

QLabel* Hinweis(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

bool IstDatum(const QString& text) { return QDate::fromString(text.trimmed(), QStringLiteral("dd.MM.yyyy")).isValid(); }

QDateTime AlsZeitpunkt(const QString& text)
{
    const QString t = text.trimmed();
    QDateTime z = QDateTime::fromString(t, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (!z.isValid())
        z = QDateTime(QDate::fromString(t, QStringLiteral("dd.MM.yyyy")), QTime(0, 0));
    return z;
}

// The editor shows on top of whatever called it; it is not closed by its owner.
QPointer<frmMp3Tag> g_fenster;

} // namespace

frmMp3Tag* mp3TagFenster()
{
    if (!g_fenster)
        g_fenster = new frmMp3Tag();
    return g_fenster;
}

frmMp3Tag::frmMp3Tag(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMp3Tag"));
    setWindowTitle(QStringLiteral("Medien-Informationen"));

    txtDateiname = benannt(new QComboBox(this), "txtDateiname");
    cmdVorheriger = Knopf(this, "cmdVorheriger", QStringLiteral("< &Vorherige"));
    cmdNächster = Knopf(this, "cmdNächster", QStringLiteral("&Nächste >"));
    cmdOk = Knopf(this, "cmdOk", QStringLiteral("&Schließen"));
    cmdTAGSpeichernAlles = Knopf(this, "cmdTAGSpeichernAlles", QStringLiteral("Alles speichern"));
    static const char* const seiten[] = {"ID3v1-TAG", "ID3v2-TAG", "Index-Felder", "Datei-Infos"};
    for (int i = 0; i < 4; ++i) {
        optOptionen[size_t(i)] = benannt(new QRadioButton(QString::fromUtf8(seiten[i]), this), QStringLiteral("optOptionen_%1").arg(i));
        fraOptionen[size_t(i)] = benannt(new QFrame(this), QStringLiteral("fraOptionen_%1").arg(i));
    }

    // Page 0
    QFrame* s0 = fraOptionen[0];
    txtTitel = Feld(s0, "txtTitel", 30);
    txtInterpret = Feld(s0, "txtInterpret", 30);
    txtAlbum = Feld(s0, "txtAlbum", 30);
    txtJahr = Feld(s0, "txtJahr", 4);
    txtTitelnummer = Feld(s0, "txtTitelnummer");
    // Digits and the full stop only (Backspace always works).
    txtTitelnummer->setValidator(new Tippregel(txtTitelnummer, 3, QStringLiteral("0123456789.")));
    txtKommentar = Feld(s0, "txtKommentar", 30);
    cboMusikrichtung = benannt(new QComboBox(s0), "cboMusikrichtung");
    lblID3v1Info = benannt(new QLabel(s0), "lblID3v1Info");
    cmdTAGSpeichern = Knopf(s0, "cmdTAGSpeichern", QStringLiteral("TAGv1 s&peichern"));
    cmdDatenKopierenNachV2 = Knopf(s0, "cmdDatenKopierenNachV2", QStringLiteral("In ID3v2 kopieren"));
    cmdTAGEntfernen = Knopf(s0, "cmdTAGEntfernen", QStringLiteral("TAG &entfernen"));
    chkAutomatischSpeichern = benannt(new QCheckBox(QStringLiteral("Au&tomatisch speichern"), s0), "chkAutomatischSpeichern");
    {
        auto* l = new QVBoxLayout(s0);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Titel"), txtTitel);
        form->addRow(QStringLiteral("Interpret"), txtInterpret);
        form->addRow(QStringLiteral("Album"), txtAlbum);
        form->addRow(QStringLiteral("Jahr"), txtJahr);
        form->addRow(QStringLiteral("Track"), txtTitelnummer);
        form->addRow(QStringLiteral("Genre"), cboMusikrichtung);
        form->addRow(QStringLiteral("Kommentar"), txtKommentar);
        l->addLayout(form);
        l->addWidget(lblID3v1Info);
        auto* knöpfe = new QHBoxLayout;
        knöpfe->addWidget(cmdTAGSpeichern);
        knöpfe->addWidget(cmdDatenKopierenNachV2);
        knöpfe->addWidget(cmdTAGEntfernen);
        knöpfe->addWidget(chkAutomatischSpeichern);
        l->addLayout(knöpfe);
        l->addWidget(Hinweis(s0, QStringLiteral("Hinweis: Diese in der Datei gespeicherten Informationen werden von vielen Programmen unterstützt.")));
        l->addStretch(1);
    }

    // Page 1
    QFrame* s1 = fraOptionen[1];
    fraOptionenId3v2[0] = benannt(new QFrame(s1), "fraOptionenId3v2_0");
    fraOptionenId3v2[1] = benannt(new QFrame(s1), "fraOptionenId3v2_1");
    QFrame* f0 = fraOptionenId3v2[0];
    QFrame* f1 = fraOptionenId3v2[1];
    txtv2Titel = Feld(f0, "txtv2Titel");
    txtv2Interpret = Feld(f0, "txtv2Interpret");
    txtv2Album = Feld(f0, "txtv2Album");
    txtv2Jahr = Feld(f0, "txtv2Jahr");
    txtv2Titelnummer = Feld(f0, "txtv2Titelnummer");
    txtv2Kommentar = Feld(f0, "txtv2Kommentar");
    cbov2Musikrichtung = benannt(new QComboBox(f0), "cbov2Musikrichtung");
    cbov2Musikrichtung->setEditable(true);
    cbov2Musikrichtung->setInsertPolicy(QComboBox::NoInsert);
    cmdTAGv2Weitere = Knopf(f0, "cmdTAGv2Weitere", QStringLiteral("&Mehr Felder >"));
    txtv2Herausgeber = Feld(f1, "txtv2Herausgeber");
    txtv2Songschreiber = Feld(f1, "txtv2Songschreiber");
    txtv2UrsprünglicherInterpret = Feld(f1, "txtv2UrsprünglicherInterpret");
    txtv2Medientyp = Feld(f1, "txtv2Medientyp");
    txtv2Länge = Feld(f1, "txtv2Länge");
    txtv2Copyright = Feld(f1, "txtv2Copyright");
    txtv2AbspielZähler = Feld(f1, "txtv2AbspielZähler");
    txtv2Link = Feld(f1, "txtv2Link");
    txtv2Sprache = Feld(f1, "txtv2Sprache");
    txtv2EncodiertVon = Feld(f1, "txtv2EncodiertVon");
    txtv2Software = Feld(f1, "txtv2Software");
    cmdTAGv2ErsteFelderAnzeigen = Knopf(f1, "cmdTAGv2ErsteFelderAnzeigen", QStringLiteral("< &Zurück"));
    lblID3v2Info = benannt(new QLabel(s1), "lblID3v2Info");
    lblID3v2Info->setWordWrap(true);
    cmdTagSpeichernV2 = Knopf(s1, "cmdTagSpeichernV2", QStringLiteral("TAGv2 s&peichern"));
    cmdDatenKopierenNachV1 = Knopf(s1, "cmdDatenKopierenNachV1", QStringLiteral("In ID3v1 kopieren"));
    cmdTAGEntfernenv2 = Knopf(s1, "cmdTAGEntfernenv2", QStringLiteral("TAG &entfernen"));
    chkAutomatischSpeichernV2 = benannt(new QCheckBox(QStringLiteral("Au&tomatisch speichern"), s1), "chkAutomatischSpeichernV2");
    {
        auto* form0 = new QFormLayout(f0);
        form0->addRow(QStringLiteral("Titel"), txtv2Titel);
        form0->addRow(QStringLiteral("Interpret"), txtv2Interpret);
        form0->addRow(QStringLiteral("Album"), txtv2Album);
        form0->addRow(QStringLiteral("Jahr"), txtv2Jahr);
        form0->addRow(QStringLiteral("Track"), txtv2Titelnummer);
        form0->addRow(QStringLiteral("Genre"), cbov2Musikrichtung);
        form0->addRow(QStringLiteral("Kommentar"), txtv2Kommentar);
        form0->addRow(QString(), cmdTAGv2Weitere);
        auto* form1 = new QFormLayout(f1);
        form1->addRow(QStringLiteral("Heraus- geber"), txtv2Herausgeber);
        form1->addRow(QStringLiteral("Song- schreiber"), txtv2Songschreiber);
        form1->addRow(QStringLiteral("Ursprüngl. Interpret"), txtv2UrsprünglicherInterpret);
        form1->addRow(QStringLiteral("Medientyp"), txtv2Medientyp);
        form1->addRow(QStringLiteral("Länge"), txtv2Länge);
        form1->addRow(QStringLiteral("Copyright"), txtv2Copyright);
        form1->addRow(QStringLiteral("Abspiel- Zähler"), txtv2AbspielZähler);
        form1->addRow(QStringLiteral("Link"), txtv2Link);
        form1->addRow(QStringLiteral("Sprache"), txtv2Sprache);
        form1->addRow(QStringLiteral("Encodiert von"), txtv2EncodiertVon);
        form1->addRow(QStringLiteral("Software"), txtv2Software);
        form1->addRow(QString(), cmdTAGv2ErsteFelderAnzeigen);
        auto* l = new QVBoxLayout(s1);
        l->addLayout(Seitenstapel(fraOptionenId3v2));
        l->addWidget(lblID3v2Info);
        auto* knöpfe = new QHBoxLayout;
        knöpfe->addWidget(cmdTagSpeichernV2);
        knöpfe->addWidget(cmdDatenKopierenNachV1);
        knöpfe->addWidget(cmdTAGEntfernenv2);
        knöpfe->addWidget(chkAutomatischSpeichernV2);
        l->addLayout(knöpfe);
        l->addWidget(Hinweis(s1, QStringLiteral("Hinweis: Diese in der Datei gespeicherten Informationen werden von einigen Programmen unterstützt.")));
        l->addStretch(1);
        f1->setVisible(false);
    }

    // Page 2
    QFrame* s2 = fraOptionen[2];
    txtIndexHinzugefügtAm = Feld(s2, "txtIndexHinzugefügtAm", 30);
    txtIndexDatenträger = Feld(s2, "txtIndexDatenträger", 30);
    txtIndexAbspielAnzahl = Feld(s2, "txtIndexAbspielAnzahl", 30);
    txtIndexAbspielDatum = Feld(s2, "txtIndexAbspielDatum", 30);
    cmdTAGSpeichernFelder = Knopf(s2, "cmdTAGSpeichernFelder", QStringLiteral("Felder s&peichern"));
    chkAutomatischSpeichernFelder = benannt(new QCheckBox(QStringLiteral("Au&tomatisch speichern"), s2), "chkAutomatischSpeichernFelder");
    {
        auto* l = new QVBoxLayout(s2);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Hinzufüge-Datum"), txtIndexHinzugefügtAm);
        form->addRow(QStringLiteral("Datenträger-Bezeichnung"), txtIndexDatenträger);
        form->addRow(QStringLiteral("Abspiel-Anzahl"), txtIndexAbspielAnzahl);
        form->addRow(QStringLiteral("Zeit des letzten Abspielens"), txtIndexAbspielDatum);
        l->addLayout(form);
        auto* knöpfe = new QHBoxLayout;
        knöpfe->addWidget(cmdTAGSpeichernFelder);
        knöpfe->addWidget(chkAutomatischSpeichernFelder);
        l->addLayout(knöpfe);
        l->addWidget(Hinweis(s2, QStringLiteral("Hinweis: Diese Informationen dienen der Verwaltung und werden im Index gespeichert.")));
        l->addStretch(1);
    }

    // Page 3
    lblTrackInfos = benannt(new QLabel(fraOptionen[3]), "lblTrackInfos");
    lblTrackInfos->setWordWrap(true);
    lblTrackInfos->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTrackInfos->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(fraOptionen[3]))->addWidget(lblTrackInfos);

    auto* haupt = new QVBoxLayout(this);
    auto* oben = new QHBoxLayout;
    oben->addWidget(cmdVorheriger);
    oben->addWidget(txtDateiname, 1);
    oben->addWidget(cmdNächster);
    haupt->addLayout(oben);
    auto* optionen = new QHBoxLayout;
    for (QRadioButton* o : optOptionen)
        optionen->addWidget(o);
    optionen->addStretch();
    haupt->addLayout(optionen);
    haupt->addLayout(Seitenstapel(fraOptionen, optOptionen), 1);
    haupt->addLayout(StapelfeldBauen());
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(cmdTAGSpeichernAlles);
    unten->addWidget(cmdOk);
    haupt->addLayout(unten);

    for (int i = 0; i < 4; ++i)
        connect(optOptionen[size_t(i)], &QRadioButton::clicked, this, [this, i] { optOptionen_Click(i); });
    optOptionen[0]->setChecked(true);
    optOptionen_Click(0);
    connect(txtDateiname, &QComboBox::activated, this, [this](int) { txtDateiname_Click(); });
    connect(cmdVorheriger, &QPushButton::clicked, this, [this] { cmdVorheriger_Click(); });
    connect(cmdNächster, &QPushButton::clicked, this, [this] { cmdNächster_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdTAGSpeichernAlles, &QPushButton::clicked, this, [this] { cmdTAGSpeichernAlles_Click(); });
    connect(cmdTAGSpeichern, &QPushButton::clicked, this, [this] { cmdTagSpeichern_Click(); });
    connect(cmdTagSpeichernV2, &QPushButton::clicked, this, [this] { cmdTagSpeichernV2_Click(); });
    connect(cmdTAGSpeichernFelder, &QPushButton::clicked, this, [this] { cmdTAGSpeichernFelder_Click(); });
    connect(cmdDatenKopierenNachV1, &QPushButton::clicked, this, [this] { cmdDatenKopierenNachV1_Click(); });
    connect(cmdDatenKopierenNachV2, &QPushButton::clicked, this, [this] { cmdDatenKopierenNachV2_Click(); });
    connect(cmdTAGEntfernen, &QPushButton::clicked, this, [this] { cmdTAGEntfernen_Click(); });
    connect(cmdTAGEntfernenv2, &QPushButton::clicked, this, [this] { cmdTAGEntfernenv2_Click(); });
    connect(cmdTAGv2Weitere, &QPushButton::clicked, this, [this] { cmdTAGv2Weitere_Click(); });
    connect(cmdTAGv2ErsteFelderAnzeigen, &QPushButton::clicked, this, [this] { cmdTAGv2ErsteFelderAnzeigen_Click(); });

    // An edit by the user makes a removed tag's page worth saving again.
    for (QLineEdit* t : SeitenFelder(0))
        connect(t, &QLineEdit::textEdited, this, [this] { m_v1Entfernt = false; });
    connect(cboMusikrichtung, &QComboBox::activated, this, [this] { m_v1Entfernt = false; });
    for (QLineEdit* t : SeitenFelder(1))
        connect(t, &QLineEdit::textEdited, this, [this] { m_v2Entfernt = false; });
    connect(cbov2Musikrichtung, &QComboBox::activated, this, [this] { m_v2Entfernt = false; });
    if (QLineEdit* e = cbov2Musikrichtung->lineEdit())
        connect(e, &QLineEdit::textEdited, this, [this] { m_v2Entfernt = false; });
}

qint32 frmMp3Tag::EintragGezeigt() const
{
    if (lngMp3TagPosition < 1 || lngMp3TagPosition >= qint32(lngMp3TagEinträge.size()))
        return 0;
    const qint32 e = lngMp3TagEinträge[size_t(lngMp3TagPosition)];
    return hauptIndex().GültigerEintrag(e) ? e : 0;
}

QString frmMp3Tag::PfadGezeigt() const
{
    const qint32 e = EintragGezeigt();
    return e ? hauptIndex().strIndexPfad[size_t(e)] : QString();
}

// --- opening and loading ---------------------------------------------------------

bool frmMp3Tag::Öffnen(const std::vector<qint32>& einträge)
{
    lngMp3TagEinträge.assign(1, 0);
    lngMp3TagEinträge.insert(lngMp3TagEinträge.end(), einträge.begin(), einträge.end());
    const Index& index = hauptIndex();
    txtDateiname->clear();
    for (qint32 e : einträge)
        txtDateiname->addItem(index.GültigerEintrag(e) ? DateinameZurückgeben(index.strIndexPfad[size_t(e)]) : QString());
    Einstellungen& s = einstellungen();
    if (s.AutoTagAktuell.isEmpty() && s.AutoTagLeer != 1 && !s.AutoTagFormate.isEmpty())
        s.AutoTagAktuell = s.AutoTagFormate.first();
    chkAutomatischSpeichern->setChecked(s.TAGAutomatischSpeichern != 0);
    chkAutomatischSpeichernV2->setChecked(s.TAGAutomatischSpeichernV2 != 0);
    chkAutomatischSpeichernFelder->setChecked(s.TAGAutomatischSpeichernFelder != 0);
    // Position 0 first: opening saves nothing.
    lngMp3TagPosition = 0;
    bolMp3TagGeladen = false;
    ListenPositionSetzen(0);
    return bolMp3TagGeladen;
}

void frmMp3Tag::ListenPositionSetzen(int position)
{
    if (position < 0 || position >= txtDateiname->count())
        return;
    {
        const QSignalBlocker sperre(txtDateiname);
        txtDateiname->setCurrentIndex(position);
    }
    txtDateiname_Click();
}

void frmMp3Tag::txtDateiname_Click()
{
    if (bolMp3TagLädt)
        return;
    if (lngMp3TagPosition != 0)
        AutomatischSpeichern();
    bolNichtVerfügbarAlleÜberspringen = false;
    const qint32 letzte = qint32(lngMp3TagEinträge.size()) - 1;
    QObject* besitzer = isVisible() ? static_cast<QObject*>(this) : parentWidget() ? parentWidget() : nullptr;
    for (qint32 p = txtDateiname->currentIndex() + 1; p >= 1 && p <= letzte; ++p) {
        const int e = Mp3TagDateiAnzeigen(p, besitzer, QStringLiteral("111"));
        if (e == 0) {
            bolMp3TagGeladen = true;
            return;
        }
        if (e == 2 || p == letzte)
            break;
    }
    // Nothing more to show: the editor closes, with its closing steps.
    bolMp3TagGeladen = false;
    lngMp3TagPosition = 0;
    SchließenSchritte();
}

int frmMp3Tag::Mp3TagDateiAnzeigen(qint32 lngPosition, QObject* frmBesitzer, const QString& strFelder)
{
    if (lngPosition < 1 || lngPosition >= qint32(lngMp3TagEinträge.size()))
        return 1;
    Index& index = hauptIndex();
    const qint32 e = lngMp3TagEinträge[size_t(lngPosition)];
    if (!index.GültigerEintrag(e))
        return 1;
    bolNichtVerfügbarAlleÜberspringen = false;
    const int antwort = DateiNichtVerfügbarPrüfen(index, e, frmBesitzer, false);
    if (antwort != 0)
        return antwort == 2 ? 2 : 1;
    bolMp3TagLädt = true;
    lngMp3TagPosition = lngPosition;
    m_v1Entfernt = m_v2Entfernt = false;
    const QString pfad = index.strIndexPfad[size_t(e)];
    txtDateiname->setToolTip(pfad);
    MedienInfo info = index.IndexDaten[size_t(e)];
    // Both tags are read whatever the flags: a page not asked for would
    // otherwise keep the fields of the file shown before.
    const QString felder = strFelder.leftJustified(3, QLatin1Char('0'));
    MedienInfosEintragen(info, pfad, QStringLiteral("11") + felder[2]);
    GezeigtMerken(true, true, true);
    // What the file gave is cleaned; a missing file's record stays as stored.
    if (!m_dateiFehlt)
        info.Mp3_ID3v1_Kommentar = SteuerzeichenEntfernen(info.Mp3_ID3v1_Kommentar, false);
    Mp3TagInfo = info;
    // Merely looking changes nothing: only a record the file changed is stored.
    if (!(index.IndexDaten[size_t(e)] == info)) {
        index.IndexDaten[size_t(e)] = info;
        index.bolIndexGeändert = true;
    }
    {
        const QSignalBlocker sperre(txtDateiname);
        txtDateiname->setCurrentIndex(lngPosition - 1);
    }
    cmdVorheriger->setEnabled(lngPosition - 1 > 0);
    cmdNächster->setEnabled(lngPosition - 1 < txtDateiname->count() - 1);
    bolMp3TagLädt = false;
    return 0;
}

void frmMp3Tag::GenreListenFüllen()
{
    if (cboMusikrichtung->count() > 0)
        return;
    struct Name {
        QString text;
        int nummer;
    };
    std::vector<Name> namen;
    const auto& genres = standardwerte().strGenres;
    for (int i = 1; i <= 145; ++i)
        namen.push_back({genres[size_t(i)], i});
    std::stable_sort(namen.begin(), namen.end(),
                     [](const Name& a, const Name& b) { return a.text.toUpper() < b.text.toUpper(); });
    for (const Name& n : namen) {
        cboMusikrichtung->addItem(n.text, n.nummer);
        cbov2Musikrichtung->addItem(n.text, n.nummer);
    }
}

void frmMp3Tag::V2GenreSetzen(const QString& g)
{
    QString text = g;
    int nummer = -1;
    const qsizetype zu = g.indexOf(QLatin1Char(')'), 1);
    if (g.startsWith(QLatin1Char('(')) && zu > 0) {
        text = g.mid(zu + 1);
        bool ok = false;
        nummer = g.mid(1, zu - 1).toInt(&ok);
        if (!ok)
            nummer = -1;
    }
    for (int i = 0; i < cbov2Musikrichtung->count(); ++i) {
        const QString name = cbov2Musikrichtung->itemText(i);
        const bool passt = text.isEmpty() ? cbov2Musikrichtung->itemData(i).toInt() == nummer + 1
                                          : name.compare(text, Qt::CaseInsensitive) == 0;
        if (passt && (nummer >= 0 || !text.isEmpty())) {
            cbov2Musikrichtung->setCurrentIndex(i);
            return;
        }
    }
    // A number the list has no name for ("(147)", "(RX)") shows as read.
    cbov2Musikrichtung->setCurrentIndex(-1);
    cbov2Musikrichtung->setEditText(text.isEmpty() ? g : text);
}

bool frmMp3Tag::MedienInfosEintragen(MedienInfo& udtInfo, const QString& strDatei, const QString& strFelder)
{
    GenreListenFüllen();
    const QString flags = strFelder.leftJustified(3, QLatin1Char('0'));
    int unerreichbar = 0;
    const bool vorhanden = DateiExistenz(strDatei, nullptr, &unerreichbar) == Existenz::Vorhanden;
    if (!vorhanden)
        m_lesung = MedienLesung();
    if (flags != QLatin1String("000") && vorhanden) {
        udtInfo = MedienInfosLesen(hauptIndex(), strDatei, udtInfo, flags.left(2), false, flags.mid(2, 1), QStringLiteral("0"),
                                   &m_lesung);
        // The size follows the file after every write and removal.
        udtInfo.Datei_Größe = QFileInfo(strDatei).size();
    }
    if (flags[0] == QLatin1Char('1')) {
        for (QLineEdit* t : SeitenFelder(0))
            t->clear();
        cboMusikrichtung->setCurrentIndex(-1);
    }
    if (flags[1] == QLatin1Char('1')) {
        for (QLineEdit* t : SeitenFelder(1))
            t->clear();
        cbov2Musikrichtung->setCurrentIndex(-1);
        cbov2Musikrichtung->setEditText(QString());
        m_v2GenreGelesen = {};
    }
    if (flags[2] == QLatin1Char('1')) {
        for (QLineEdit* t : SeitenFelder(2))
            t->clear();
    }
    const bool softwareFeld = einstellungen().TAGsSoftwareFeldSchreiben == 1;

    m_dateiFehlt = !vorhanden;
    // What a tag page shows is fixed by the reads: whatever the file is by the
    // time of a save, only a page filled from it is written.
    m_v1AusDatei = vorhanden && (m_v1AusDatei || flags[0] == QLatin1Char('1'));
    m_v2AusDatei = vorhanden && (m_v2AusDatei || flags[1] == QLatin1Char('1'));
    if (!vorhanden) {
        // The record stays as stored; nothing can be written into a missing
        // file. Its index fields show as stored: every save takes that page.
        cmdTAGSpeichern->setEnabled(false);
        cmdTagSpeichernV2->setEnabled(false);
        cmdTAGEntfernen->setEnabled(false);
        cmdTAGEntfernenv2->setEnabled(false);
        const QString t = unerreichbar ? NichtErreichbarText(strDatei, unerreichbar)
                                       : QStringLiteral("Diese Datei existiert nicht (mehr).");
        lblTrackInfos->setText(t);
        lblID3v2Info->setText(t);
        lblID3v1Info->setText(t);
        IndexSeiteFüllen(udtInfo);
        return true;
    }
    cmdTAGSpeichern->setEnabled(m_v1AusDatei);
    cmdTagSpeichernV2->setEnabled(m_v2AusDatei);

    QString infos = QStringLiteral("Hinweis: Hier finden Sie einige Informationen über die gewählte Datei.") + kLF + kLF
                  + QStringLiteral("Dateiname: ") + strDatei + kLF + QStringLiteral("Dateigröße: ")
                  + QLocale().toString(qlonglong(udtInfo.Datei_Größe)) + QStringLiteral(" Bytes");
    if (udtInfo.Header_Version != 0 && udtInfo.Header_Layer != 0) {
        infos += kLF + QStringLiteral("MPEG Version: %1 Layer %2").arg(udtInfo.Header_Version).arg(udtInfo.Header_Layer);
        infos += kLF + QStringLiteral("Modus: ") + udtInfo.Header_Modus + QStringLiteral(", %1 Hz").arg(udtInfo.Header_Frequenz);
        infos += kLF + QStringLiteral("Bitrate: %1 kbps").arg(udtInfo.Header_Bitrate)
               + (udtInfo.Header_VBR ? QStringLiteral(" VBR") : QStringLiteral(" CBR"));
        infos += kLF + QStringLiteral("Dauer: ") + ZeitFormatieren(udtInfo.Header_Dauer, false);
        infos += kLF + QStringLiteral("Anzahl Frames: %1").arg(udtInfo.Header_Frames);
        infos += kLF + QStringLiteral("Copyright: ") + JaNeinText(udtInfo.Header_Copyright);
        infos += kLF + QStringLiteral("CRC: ") + JaNeinText(udtInfo.Header_CRC);
        infos += kLF + QStringLiteral("Emphasis: ") + JaNeinText(udtInfo.Header_Emphasis);
        infos += kLF + QStringLiteral("Original: ") + JaNeinText(udtInfo.Header_Original);
        infos += kLF + QStringLiteral("Padding: ") + JaNeinText(udtInfo.Header_Padding);
        infos += kLF + QStringLiteral("Privat: ") + JaNeinText(udtInfo.Header_Privat);
    } else {
        infos += kLF + QStringLiteral("Kein Dateiheader gefunden - keine weiteren Informationen verfügbar");
    }
    lblTrackInfos->setText(infos);

    if (udtInfo.Mp3_ID3v1_Vorhanden == 1 || udtInfo.Mp3_ID3v1_Vorhanden == 3) {
        txtTitel->setText(udtInfo.Mp3_ID3v1_Titel);
        txtInterpret->setText(udtInfo.Mp3_ID3v1_Interpret);
        txtAlbum->setText(udtInfo.Mp3_ID3v1_Album);
        txtJahr->setText(udtInfo.Mp3_ID3v1_Jahr);
        txtKommentar->setText(udtInfo.Mp3_ID3v1_Kommentar);
        txtTitelnummer->setText(udtInfo.Mp3_ID3v1_Titelnummer);
        const int genre = GenreByte(udtInfo);
        if (genre >= 0 && genre < 145) {
            const int i = cboMusikrichtung->findData(genre + 1);
            if (i >= 0)
                cboMusikrichtung->setCurrentIndex(i);
        }
        const bool gelesen = udtInfo.Mp3_ID3v1_Vorhanden == 1;
        lblID3v1Info->setText(gelesen ? QStringLiteral("Der gefundene ID3v1-TAG belegt 128 Bytes.") : kKeinV1);
        cmdTAGEntfernen->setEnabled(gelesen);
    } else {
        lblID3v1Info->setText(kKeinV1);
        cmdTAGEntfernen->setEnabled(false);
    }
    if (txtKommentar->text().isEmpty() && softwareFeld)
        txtKommentar->setText(Webadresse().left(30));

    if (udtInfo.Mp3_ID3v2_Vorhanden == 1 || udtInfo.Mp3_ID3v2_Vorhanden == 3) {
        if (udtInfo.Mp3_ID3v2_Vorhanden == 1) {
            QString t = QStringLiteral("Der gefundene ID3v2-TAG belegt %1 Bytes und liegt in der Version %2 vor.")
                            .arg(udtInfo.Mp3_ID3v2_TAGGröße)
                            .arg(udtInfo.Mp3_ID3v2_Version);
            if (!udtInfo.Mp3_ID3v2_WeitereFrames.isEmpty())
                t += QStringLiteral(" Dieser enthält noch weitere, hier nicht angezeigte Felder.");
            // The bytes behind the frames; none when the reader met no padding.
            const qint64 frei = udtInfo.Mp3_ID3v2_Ungenutzt < 1 ? 0 : qint64(udtInfo.Mp3_ID3v2_TAGGröße) - udtInfo.Mp3_ID3v2_Ungenutzt;
            t += QStringLiteral(" %1 Bytes sind ungenutzt.").arg(std::max<qint64>(0, frei));
            lblID3v2Info->setText(t);
        } else {
            lblID3v2Info->setText(kKeinV2);
        }
        cmdTAGEntfernenv2->setEnabled(udtInfo.Mp3_ID3v2_Vorhanden == 1);
        txtv2Titel->setText(udtInfo.Mp3_ID3v2_Titel);
        txtv2Interpret->setText(udtInfo.Mp3_ID3v2_Interpret);
        txtv2Album->setText(udtInfo.Mp3_ID3v2_Album);
        txtv2Jahr->setText(udtInfo.Mp3_ID3v2_Jahr);
        txtv2Titelnummer->setText(udtInfo.Mp3_ID3v2_Titelnummer);
        txtv2Kommentar->setText(udtInfo.Mp3_ID3v2_Kommentar);
        txtv2Herausgeber->setText(udtInfo.Mp3_ID3v2_Herausgeber);
        txtv2Songschreiber->setText(udtInfo.Mp3_ID3v2_Songschreiber);
        txtv2UrsprünglicherInterpret->setText(udtInfo.Mp3_ID3v2_UrsprünglicherInterpret);
        txtv2Medientyp->setText(udtInfo.Mp3_ID3v2_Medientyp);
        txtv2Länge->setText(udtInfo.Mp3_ID3v2_Länge);
        txtv2Copyright->setText(udtInfo.Mp3_ID3v2_Copyright);
        txtv2AbspielZähler->setText(udtInfo.Mp3_ID3v2_AbspielZähler);
        txtv2Link->setText(udtInfo.Mp3_ID3v2_Link);
        txtv2Sprache->setText(udtInfo.Mp3_ID3v2_Sprache);
        txtv2EncodiertVon->setText(udtInfo.Mp3_ID3v2_EncodiertVon);
        txtv2Software->setText(udtInfo.Mp3_ID3v2_Software);
        V2GenreSetzen(udtInfo.Mp3_ID3v2_Musikrichtung);
        if (udtInfo.Mp3_ID3v2_Vorhanden == 1)
            m_v2GenreGelesen = {udtInfo.Mp3_ID3v2_Musikrichtung, cbov2Musikrichtung->currentText()};
    } else {
        lblID3v2Info->setText(kKeinV2);
        cmdTAGEntfernenv2->setEnabled(false);
    }
    if (softwareFeld) {
        if (txtv2Software->text().isEmpty())
            txtv2Software->setText(QStringLiteral("kalvero"));
        if (txtv2Kommentar->text().isEmpty())
            txtv2Kommentar->setText(QStringLiteral("kalvero - ") + Webadresse());
    }

    IndexSeiteFüllen(udtInfo);
    return true;
}

void frmMp3Tag::IndexSeiteFüllen(const MedienInfo& m)
{
    txtIndexDatenträger->setText(m.Datei_Datenträger);
    txtIndexHinzugefügtAm->setText(IstDatum(m.Datei_HinzugefügtAm) ? m.Datei_HinzugefügtAm.trimmed()
                                                                    : QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    txtIndexAbspielAnzahl->setText(QString::number(m.Datei_AngefordertAnzahl));
    const QDateTime gespielt = AlsZeitpunkt(m.Datei_AngefordertGespieltAm);
    txtIndexAbspielDatum->setText(gespielt.isValid() ? gespielt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) : QString());
}

std::vector<QLineEdit*> frmMp3Tag::SeitenFelder(int seite) const
{
    switch (seite) {
    case 0:
        return {txtTitel, txtInterpret, txtAlbum, txtJahr, txtTitelnummer, txtKommentar};
    case 1:
        return {txtv2Titel, txtv2Interpret, txtv2Album, txtv2Jahr, txtv2Titelnummer, txtv2Kommentar,
                txtv2Herausgeber, txtv2Songschreiber, txtv2UrsprünglicherInterpret, txtv2Medientyp,
                txtv2Länge, txtv2Copyright, txtv2AbspielZähler, txtv2Link, txtv2Sprache,
                txtv2EncodiertVon, txtv2Software};
    default:
        return {txtIndexHinzugefügtAm, txtIndexDatenträger, txtIndexAbspielAnzahl, txtIndexAbspielDatum};
    }
}

// Everything the user can change on a page, the genre choice included.
QStringList frmMp3Tag::SeitenTexte(int seite) const
{
    QStringList t;
    for (const QLineEdit* e : SeitenFelder(seite))
        t << e->text();
    if (seite == 0)
        t << QString::number(cboMusikrichtung->currentIndex());
    else if (seite == 1)
        t << cbov2Musikrichtung->currentText();
    return t;
}

// What a page shows as the file holds it; a change by the user, a copy
// button or a batch function differs from it.
void frmMp3Tag::GezeigtMerken(bool v1, bool v2, bool felder)
{
    const bool seiten[3] = {v1, v2, felder};
    for (int i = 0; i < 3; ++i)
        if (seiten[i])
            m_gezeigt[size_t(i)] = SeitenTexte(i);
}

bool frmMp3Tag::SeiteGeändert(int seite) const
{
    return seite >= 0 && seite < 3 && EintragGezeigt() != 0 && SeitenTexte(seite) != m_gezeigt[size_t(seite)];
}

bool frmMp3Tag::SchließenSpeichertGeändertes() const
{
    const std::array<bool, 3> seiten = AutomatischeSeiten();
    for (int i = 0; i < 3; ++i)
        if (seiten[size_t(i)] && SeiteGeändert(i))
            return true;
    return false;
}

// --- pages into records ------------------------------------------------------------

bool frmMp3Tag::TagV2AusFormularLesen(MedienInfo& m)
{
    m.Mp3_ID3v2_Titel = txtv2Titel->text();
    m.Mp3_ID3v2_Interpret = txtv2Interpret->text();
    m.Mp3_ID3v2_Album = txtv2Album->text();
    m.Mp3_ID3v2_Jahr = txtv2Jahr->text();
    m.Mp3_ID3v2_Titelnummer = txtv2Titelnummer->text();
    m.Mp3_ID3v2_Kommentar = txtv2Kommentar->text();
    m.Mp3_ID3v2_Herausgeber = txtv2Herausgeber->text();
    m.Mp3_ID3v2_Songschreiber = txtv2Songschreiber->text();
    m.Mp3_ID3v2_UrsprünglicherInterpret = txtv2UrsprünglicherInterpret->text();
    m.Mp3_ID3v2_Medientyp = txtv2Medientyp->text();
    m.Mp3_ID3v2_Länge = txtv2Länge->text();
    m.Mp3_ID3v2_Copyright = txtv2Copyright->text();
    m.Mp3_ID3v2_AbspielZähler = txtv2AbspielZähler->text();
    m.Mp3_ID3v2_Link = txtv2Link->text();
    m.Mp3_ID3v2_Sprache = txtv2Sprache->text();
    m.Mp3_ID3v2_EncodiertVon = txtv2EncodiertVon->text();
    m.Mp3_ID3v2_Software = txtv2Software->text();
    const QString genre = cbov2Musikrichtung->currentText();
    m.Mp3_ID3v2_Musikrichtung = genre;
    if (!genre.isEmpty() && genre == m_v2GenreGelesen.second) {
        // As read: the writer keeps its frame.
        m.Mp3_ID3v2_Musikrichtung = m_v2GenreGelesen.first;
    } else if (!genre.isEmpty()) {
        const auto& namen = standardwerte().strGenres;
        for (int i = 1; i <= 145; ++i)
            if (namen[size_t(i)].compare(genre, Qt::CaseInsensitive) == 0) {
                m.Mp3_ID3v2_Musikrichtung = QStringLiteral("(%1)").arg(i - 1) + genre;
                break;
            }
    }
    return true;
}

bool frmMp3Tag::TagV1AusFormularLesen(MedienInfo& m)
{
    m.Mp3_ID3v1_TAG = QStringLiteral("TAG");
    m.Mp3_ID3v1_Titel = txtTitel->text();
    m.Mp3_ID3v1_Interpret = txtInterpret->text();
    m.Mp3_ID3v1_Album = txtAlbum->text();
    m.Mp3_ID3v1_Jahr = txtJahr->text();
    m.Mp3_ID3v1_Kommentar = txtKommentar->text();
    const int i = cboMusikrichtung->currentIndex();
    GenreByteSetzen(m, i < 0 ? 255 : cboMusikrichtung->itemData(i).toInt() - 1);
    // The track stays decimal text in the record; the block holds its byte.
    const QString spur = txtTitelnummer->text().trimmed();
    m.Mp3_ID3v1_Titelnummer.clear();
    if (spur.isEmpty())
        return true;
    bool ok = false;
    const double wert = spur.toDouble(&ok);
    if (!ok || wert < 0 || wert > 255)
        return false;
    m.Mp3_ID3v1_Titelnummer = QString::number(qRound(wert));
    return true;
}

bool frmMp3Tag::Mp3TAGAnzeigeInfosLesen(MedienInfo& m)
{
    const QString gespielt = txtIndexAbspielDatum->text();
    m.Datei_AngefordertGespieltAm = gespielt.trimmed().isEmpty() || AlsZeitpunkt(gespielt).isValid() ? gespielt : QString();
    const QString hinzugefügt = txtIndexHinzugefügtAm->text();
    m.Datei_HinzugefügtAm = IstDatum(hinzugefügt) ? hinzugefügt : QString();
    bool ok = false;
    const double anzahl = txtIndexAbspielAnzahl->text().trimmed().toDouble(&ok);
    m.Datei_AngefordertAnzahl = ok && anzahl >= -2147483648.0 && anzahl <= 2147483647.0 ? qint32(qRound64(anzahl)) : 0;
    m.Datei_Datenträger = txtIndexDatenträger->text();
    return true;
}

// --- saving --------------------------------------------------------------------------

void frmMp3Tag::Mp3TAGAnzeigeInfosSpeichern(int intModus)
{
    // Its own button writes a tag, the program's fills included; "Alles
    // speichern" only a tag page changed since it was filled.
    const bool alles = intModus == 0;
    Speichern((alles && SeiteGeändert(0)) || intModus == 1, (alles && SeiteGeändert(1)) || intModus == 2,
              alles || intModus == 3);
}

std::array<bool, 3> frmMp3Tag::AutomatischeSeiten() const
{
    if (EintragGezeigt() == 0)
        return {false, false, false};
    // Only what changed since the page was filled: merely looking never writes.
    return {chkAutomatischSpeichern->isChecked() && cmdTAGSpeichern->isEnabled() && !m_v1Entfernt && SeiteGeändert(0),
            chkAutomatischSpeichernV2->isChecked() && cmdTagSpeichernV2->isEnabled() && !m_v2Entfernt && SeiteGeändert(1),
            chkAutomatischSpeichernFelder->isChecked() && cmdTAGSpeichernFelder->isEnabled() && SeiteGeändert(2)};
}

bool frmMp3Tag::SchreibenErlaubt(const QString& pfad, MedienLesung& gelesen)
{
    DateiStand jetzt;
    if (!SeitDemLesenVerändert(pfad, gelesen, &jetzt))
        return true;
    if (MeldungZeigen(QStringLiteral("Die Datei '") + pfad
                          + QStringLiteral("' wurde seit dem Anzeigen von einem anderen Programm geändert.") + kLF
                          + QStringLiteral("Beim Speichern gehen diese Änderungen verloren.") + kLF + kLF
                          + QStringLiteral("Möchten Sie die Datei trotzdem mit den angezeigten Angaben überschreiben?"),
                      Knöpfe::JaNein, Symbol::Ausruf, this, Antwort::Nein)
        != Antwort::Ja)
        return false;
    // The file as it is now is the one overwritten; another change refuses.
    gelesen.stand = jetzt;
    return true;
}

void frmMp3Tag::AutomatischSpeichern(bool v1, bool v2, bool felder)
{
    const std::array<bool, 3> seiten = AutomatischeSeiten();
    v1 = v1 && seiten[0];
    v2 = v2 && seiten[1];
    felder = felder && seiten[2];
    if (v1 || v2 || felder)
        Speichern(v1, v2, felder);
}

void frmMp3Tag::Speichern(bool v1, bool v2, bool felder)
{
    bolMp3TagGespeichert = bolV1Gespeichert = bolV2Gespeichert = bolFelderGespeichert = false;
    const qint32 eintrag = EintragGezeigt();
    if (!eintrag)
        return;
    Index& index = hauptIndex();
    const QString pfad = index.strIndexPfad[size_t(eintrag)];
    // A tag page goes only into the file it was filled from.
    v1 = v1 && m_v1AusDatei;
    v2 = v2 && m_v2AusDatei;
    // A tag that is not written leaves every page as typed: the entry is not
    // shown again, only its index fields are taken.
    MedienLesung gelesen = m_lesung;
    if (v1 || v2) {
        bolNichtVerfügbarAlleÜberspringen = false;
        // A file back only after the wait for its medium is written only
        // when it is still the one shown, or the user says so.
        if (DateiNichtVerfügbarPrüfen(index, eintrag, this, false) != 0 || !SchreibenErlaubt(pfad, gelesen)) {
            IndexFelderÜbernehmen(eintrag, felder);
            return;
        }
    }
    // The kind of the file being saved decides, not of one about to be shown.
    if ((v1 || v2) && !DateiTypPrüfen(index, pfad, true, false, false, false)
        && MeldungZeigen(QStringLiteral("Sie sollten ID3-TAGs nur in Dateien des Typs 'MPEG Audio/AAC' speichern.") + kLF
                             + QStringLiteral("Der Datei-Typ konnte anhand der Dateiendung nicht als passend erkannt werden.") + kLF + kLF
                             + QStringLiteral("Möchten Sie die Datei trotzdem speichern (nicht empfohlen)?"),
                         Knöpfe::JaNein, Symbol::Ausruf, this)
               != Antwort::Ja) {
        // No tags then; what was typed on the pages stays there.
        IndexFelderÜbernehmen(eintrag, felder);
        return;
    }

    // The pages into the record only now, a tag page only when it is written;
    // the record otherwise keeps the tags as stored.
    MedienInfo info = index.IndexDaten[size_t(eintrag)];
    if (v1)
        TagV1AusFormularLesen(info);
    if (v2)
        TagV2AusFormularLesen(info);
    Mp3TAGAnzeigeInfosLesen(info);

    // The tags are written here alone, after every check; both together
    // as one save, so that a refusal of either leaves the file as it was.
    QString fehler;
    bool geschrieben = true;
    if (v1 && v2)
        geschrieben = Mp3TAGSpeichernBeide(pfad, info, TagV1TextZurückgeben(info), fehler, &gelesen);
    else if (v1)
        geschrieben = Mp3TAGSpeichernV1(pfad, TagV1TextZurückgeben(info), fehler, &gelesen);
    else if (v2)
        geschrieben = Mp3TAGSpeichernV2(pfad, info, fehler, &gelesen);
    if (!geschrieben) {
        MeldungZeigen(fehler, Knöpfe::OK, Symbol::Ausruf, this);
        IndexFelderÜbernehmen(eintrag, felder);
        return;
    }
    if (v1 || v2) {
        if (v1)
            info.Mp3_ID3v1_Vorhanden = 1;
        if (v2)
            info.Mp3_ID3v2_Vorhanden = 1;
        bolMp3TagGespeichert = true;
        bolV1Gespeichert = v1;
        bolV2Gespeichert = v2;
    }
    if (felder)
        bolMp3TagGespeichert = bolFelderGespeichert = true;

    // Shown again once: both tags and the header as the file now holds them.
    MedienInfosEintragen(info, pfad, QStringLiteral("111"));
    GezeigtMerken(true, true, true);
    if (!m_dateiFehlt)
        info.Mp3_ID3v1_Kommentar = SteuerzeichenEntfernen(info.Mp3_ID3v1_Kommentar, false);
    Mp3TagInfo = info;
    if (!(index.IndexDaten[size_t(eintrag)] == info)) {
        index.IndexDaten[size_t(eintrag)] = info;
        index.bolIndexGeändert = true;
    }
}

void frmMp3Tag::IndexFelderÜbernehmen(qint32 eintrag, bool felder)
{
    Index& index = hauptIndex();
    MedienInfo& datensatz = index.IndexDaten[size_t(eintrag)];
    MedienInfo neu = datensatz;
    Mp3TAGAnzeigeInfosLesen(neu);
    Mp3TAGAnzeigeInfosLesen(Mp3TagInfo);
    if (!(neu == datensatz)) {
        datensatz = neu;
        index.bolIndexGeändert = true;
    }
    // Every save stores the index fields as the page shows them.
    GezeigtMerken(false, false, true);
    if (felder)
        bolMp3TagGespeichert = bolFelderGespeichert = true;
}

// --- copying between the tags ----------------------------------------------------------

void frmMp3Tag::cmdDatenKopierenNachV1_Click()
{
    txtTitel->setText(txtv2Titel->text());
    txtInterpret->setText(txtv2Interpret->text());
    txtAlbum->setText(txtv2Album->text());
    txtJahr->setText(txtv2Jahr->text());
    txtTitelnummer->setText(txtv2Titelnummer->text());
    txtKommentar->setText(txtv2Kommentar->text());
    m_v1Entfernt = false;
    // By genre number: the typed text may name a genre of the list.
    const QString genre = cbov2Musikrichtung->currentText();
    int i = -1;
    for (int k = 0; k < cbov2Musikrichtung->count() && !genre.isEmpty(); ++k)
        if (cbov2Musikrichtung->itemText(k).compare(genre, Qt::CaseInsensitive) == 0)
            i = cboMusikrichtung->findData(cbov2Musikrichtung->itemData(k));
    cboMusikrichtung->setCurrentIndex(i);
    if (i < 0 && !genre.isEmpty())
        MeldungZeigen(QStringLiteral("Das Feld 'Genre' kann nicht übertragen werden, da der ID3v1-Standard keine eingenen Eingaben zulässt."),
                      Knöpfe::OK, Symbol::Information, this);
}

void frmMp3Tag::cmdDatenKopierenNachV2_Click()
{
    txtv2Titel->setText(txtTitel->text());
    txtv2Interpret->setText(txtInterpret->text());
    txtv2Album->setText(txtAlbum->text());
    txtv2Jahr->setText(txtJahr->text());
    txtv2Titelnummer->setText(txtTitelnummer->text());
    txtv2Kommentar->setText(txtKommentar->text());
    m_v2Entfernt = false;
    const int i = cboMusikrichtung->currentIndex();
    if (i < 0) {
        cbov2Musikrichtung->setCurrentIndex(-1);
        cbov2Musikrichtung->setEditText(QString());
    } else {
        cbov2Musikrichtung->setCurrentIndex(cbov2Musikrichtung->findData(cboMusikrichtung->itemData(i)));
    }
}

// --- navigation, pages, closing --------------------------------------------------------

void frmMp3Tag::cmdVorheriger_Click()
{
    if (txtDateiname->currentIndex() > 0)
        ListenPositionSetzen(txtDateiname->currentIndex() - 1);
}

void frmMp3Tag::cmdNächster_Click()
{
    if (txtDateiname->currentIndex() < txtDateiname->count() - 1)
        ListenPositionSetzen(txtDateiname->currentIndex() + 1);
}

void frmMp3Tag::optOptionen_Click(int Index)
{
    for (int i = 0; i < 4; ++i)
        fraOptionen[size_t(i)]->setVisible(i == Index);
    optOptionen[size_t(Index)]->setChecked(true);
}

void frmMp3Tag::cmdTAGv2Weitere_Click()
{
    fraOptionenId3v2[0]->setVisible(false);
    fraOptionenId3v2[1]->setVisible(true);
}

void frmMp3Tag::cmdTAGv2ErsteFelderAnzeigen_Click()
{
    fraOptionenId3v2[1]->setVisible(false);
    fraOptionenId3v2[0]->setVisible(true);
}

void frmMp3Tag::cmdOk_Click()
{
    if (lngMp3TagPosition != 0)
        AutomatischSpeichern();
    SchließenSchritte();
}

void frmMp3Tag::BeimBeendenSchließen()
{
    if (lngMp3TagPosition != 0)
        AutomatischSpeichern();
    AutomatischSpeichernMerken();
}

void frmMp3Tag::AutomatischSpeichernMerken()
{
    Einstellungen& s = einstellungen();
    s.TAGAutomatischSpeichern = chkAutomatischSpeichern->isChecked() ? 1 : 0;
    s.TAGAutomatischSpeichernV2 = chkAutomatischSpeichernV2->isChecked() ? 1 : 0;
    s.TAGAutomatischSpeichernFelder = chkAutomatischSpeichernFelder->isChecked() ? 1 : 0;
}

void frmMp3Tag::SchließenSchritte()
{
    AutomatischSpeichernMerken();
    Einstellungen& s = einstellungen();
    if (isVisible())
        done(QDialog::Accepted);
    hide();
    QCoreApplication::processEvents();
    if (s.SucheNichtBeiTAGEditor == 1) {
        qint32 von = 0, bis = 0;
        for (size_t i = 1; i < lngMp3TagEinträge.size(); ++i) {
            const qint32 e = lngMp3TagEinträge[i];
            if (e <= 0)
                continue;
            von = von == 0 ? e : std::min(von, e);
            bis = std::max(bis, e);
        }
        if (von > 0)
            ListeErstellenAktualisieren(von, bis);
    } else {
        SucheAktualisieren(false);
    }
}

// --- removing tags -----------------------------------------------------------------------

void frmMp3Tag::cmdTAGEntfernen_Click() { TagEntfernenAusführen(false); }
void frmMp3Tag::cmdTAGEntfernenv2_Click() { TagEntfernenAusführen(true); }

void frmMp3Tag::TagEntfernenAusführen(bool v2)
{
    if (MeldungZeigen(v2 ? QStringLiteral("Möchten Sie den ID3v2-TAG entfernen?") : QStringLiteral("Möchten Sie den ID3v1-TAG entfernen?"),
                      Knöpfe::JaNein, Symbol::Ausruf, this)
        != Antwort::Ja)
        return;
    const qint32 eintrag = EintragGezeigt();
    if (!eintrag)
        return;
    bolNichtVerfügbarAlleÜberspringen = false;
    if (DateiNichtVerfügbarPrüfen(hauptIndex(), eintrag, this, false) != 0)
        return;
    // The other tag page and the index fields first, as the user asked.
    AutomatischSpeichern(v2, !v2, true);
    const QString pfad = PfadGezeigt();
    QString meldung;
    const TagEntfernenErgebnis e = v2 ? TAGEntfernenV2(pfad, meldung) : TAGEntfernen(pfad, meldung);
    if (e != TagEntfernenErgebnis::Entfernt) {
        MeldungZeigen(meldung, Knöpfe::OK, e == TagEntfernenErgebnis::Abgelehnt ? Symbol::Information : Symbol::Ausruf, this);
        return;
    }
    MedienInfosEintragen(Mp3TagInfo, pfad, v2 ? QStringLiteral("011") : QStringLiteral("101"));
    GezeigtMerken(!v2, v2, true);
    (v2 ? m_v2Entfernt : m_v1Entfernt) = true;
    Index& index = hauptIndex();
    index.IndexDaten[size_t(eintrag)] = Mp3TagInfo;
    index.bolIndexGeändert = true;
}

bool Mp3TagAnzeigen(const std::vector<qint32>& lngEinträge, QWidget* frmBesitzer)
{
    if (lngEinträge.empty())
        return false;
    frmMp3Tag* f = mp3TagFenster();
    if (f->isVisible())
        return false;
    // Owned by the caller while shown, so it stays on top of it.
    f->setParent(frmBesitzer, f->windowFlags());
    if (!f->Öffnen(lngEinträge))
        return false;
    f->exec();
    return true;
}

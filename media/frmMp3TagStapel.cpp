// The tag editor's batch panel: the function list, the target list and the
// button that runs the function (media/Mp3TagStapel.h) on the editor.

#include "media/ListenEingabe_gui.h"
#include "media/Mp3TagStapel.h"
#include "media/frmMp3Tag.h"
#include "media/frmMp3TagAutoTagWaehlen.h"
#include "media/frmMp3TagFeldFuellen.h"
#include "platform/Steuerelemente_gui.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <functional>

namespace {

QPointer<frmMp3TagFeldFüllen> g_feldFüllen;

// Enter on a list belongs to the list: it confirms the row there and never
// reaches a default button of the window.
class EingabeBestätigt : public QObject {
public:
    EingabeBestätigt(QListWidget* liste, std::function<void()> bestätigen)
        : QObject(liste), m_bestätigen(std::move(bestätigen))
    {
        liste->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        const int taste = static_cast<QKeyEvent*>(e)->key();
        if (taste != Qt::Key_Return && taste != Qt::Key_Enter)
            return false;
        m_bestätigen();
        return true;
    }

private:
    std::function<void()> m_bestätigen;
};

class EditorStapel : public StapelEditor {
public:
    explicit EditorStapel(frmMp3Tag* f) : m_f(f) {}

    int DateiAnzahl() override { return m_f->txtDateiname->count(); }
    int DateiGezeigt() override { return m_f->txtDateiname->currentIndex() + 1; }
    int DateiLaden(int k, const QString& felder) override { return m_f->Mp3TagDateiAnzeigen(k, m_f, felder); }
    StapelGespeichert Speichern(bool v1, bool v2) override
    {
        m_f->Speichern(v1, v2, true);
        return {m_f->bolV1Gespeichert, m_f->bolV2Gespeichert, m_f->bolFelderGespeichert};
    }
    void EreignisseLaufenLassen() override
    {
        m_f->setEnabled(false);
        QApplication::processEvents();
        m_f->setEnabled(true);
    }
    TagFelder Felder(bool v2) override
    {
        TagFelder t;
        const auto boxen = Boxen(v2);
        for (int i = 0; i < TagFelder::Anzahl; ++i)
            if (boxen[size_t(i)])
                t[i] = boxen[size_t(i)]->text();
        t[TagFelder::Genre] = v2 ? m_f->cbov2Musikrichtung->currentText()
                                 : QString::number(m_f->cboMusikrichtung->currentIndex());
        return t;
    }
    void FelderSetzen(bool v2, const TagFelder& t) override
    {
        const auto boxen = Boxen(v2);
        for (int i = 0; i < TagFelder::Anzahl; ++i)
            if (boxen[size_t(i)] && boxen[size_t(i)]->text() != t[i])
                boxen[size_t(i)]->setText(t[i]);
        if (v2) {
            if (m_f->cbov2Musikrichtung->currentText() != t[TagFelder::Genre]) {
                const int i = m_f->cbov2Musikrichtung->findText(t[TagFelder::Genre]);
                m_f->cbov2Musikrichtung->setCurrentIndex(i);
                if (i < 0)
                    m_f->cbov2Musikrichtung->setEditText(t[TagFelder::Genre]);
            }
        } else {
            bool ok = false;
            const int i = t[TagFelder::Genre].toInt(&ok);
            if (ok && i != m_f->cboMusikrichtung->currentIndex())
                m_f->cboMusikrichtung->setCurrentIndex(i < m_f->cboMusikrichtung->count() ? i : -1);
        }
    }
    QString Pfad() override { return m_f->PfadGezeigt(); }
    MedienInfo FormularLesen() override
    {
        m_f->TagV1AusFormularLesen(m_f->Mp3TagInfo);
        m_f->TagV2AusFormularLesen(m_f->Mp3TagInfo);
        m_f->Mp3TAGAnzeigeInfosLesen(m_f->Mp3TagInfo);
        return m_f->Mp3TagInfo;
    }
    bool Anzeigen(const MedienInfo& info) override
    {
        MedienInfo m = info;
        return m_f->MedienInfosEintragen(m, m_f->PfadGezeigt(), QStringLiteral("000"));
    }
    void AutoTagEinstellen() override { AutoTagEinstellenZeigen(m_f); }
    std::optional<std::array<bool, TagFelder::Anzahl>> FelderWählen() override
    {
        if (!g_feldFüllen || g_feldFüllen->parentWidget() != m_f)
            g_feldFüllen = new frmMp3TagFeldFüllen(m_f);
        frmMp3TagFeldFüllen* d = g_feldFüllen;
        // The preview shows what the boxes show, the genre names included.
        d->inhalt = [this](int i) {
            if (i == TagFelder::Genre)
                return std::pair{m_f->cboMusikrichtung->currentText(), m_f->cbov2Musikrichtung->currentText()};
            return std::pair{Felder(false)[i], Felder(true)[i]};
        };
        d->lstFelder_Click();
        d->exec();
        if (!d->bolAngenommen)
            return std::nullopt;
        return d->Gewählt();
    }
    QObject* Besitzer() override { return m_f; }

private:
    // The text boxes in the order of the field list (none for the genre).
    std::array<QLineEdit*, TagFelder::Anzahl> Boxen(bool v2) const
    {
        if (v2)
            return {m_f->txtv2Titel, m_f->txtv2Interpret, m_f->txtv2Album, m_f->txtv2Jahr, m_f->txtv2Titelnummer,
                    nullptr, m_f->txtv2Kommentar};
        return {m_f->txtTitel, m_f->txtInterpret, m_f->txtAlbum, m_f->txtJahr, m_f->txtTitelnummer, nullptr,
                m_f->txtKommentar};
    }
    frmMp3Tag* m_f;
};

} // namespace

QLayout* frmMp3Tag::StapelfeldBauen()
{
    cboFunktion = benannt(new QListWidget(this), "cboFunktion");
    cboFunktion->addItems(StapelFunktionen());
    cboFunktionTAG = benannt(new QListWidget(this), "cboFunktionTAG");
    cboFunktionTAG->addItems(StapelZiele());
    cmdFunktionAusführen = benannt(new QPushButton(QStringLiteral("&Funktion ausführen"), this), "cmdFunktionAusführen");
    for (QListWidget* l : {cboFunktion, cboFunktionTAG})
        l->setMaximumHeight(l->sizeHintForRow(0) * 4 + 2 * l->frameWidth());
    // Hidden for the setup, the target list keeps its room.
    PlatzHalten(cboFunktionTAG);
    // A function chosen by a click or the arrow keys: the target list follows,
    // the focus stays on the functions until Enter confirms one.
    connect(cboFunktion, &QListWidget::currentRowChanged, this,
            [this](int zeile) { cboFunktionTAG->setVisible(zeile != FunktionAutoTagEinstellen); });
    new EingabeBestätigt(cboFunktion, [this] { cboFunktion_Click(); });
    connect(cboFunktionTAG, &QListWidget::itemClicked, this, [this] { cboFunktionTAG_Click(); });
    new EingabeBestätigt(cboFunktionTAG, [this] { cboFunktionTAG_Click(); });
    connect(cmdFunktionAusführen, &QPushButton::clicked, this, [this] { cmdFunktionAusführen_Click(); });
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(cboFunktion, 2);
    zeile->addWidget(cboFunktionTAG, 2);
    zeile->addWidget(cmdFunktionAusführen, 0, Qt::AlignTop);
    return zeile;
}

void frmMp3Tag::cboFunktion_Click()
{
    // The setup ignores the target.
    const bool einstellen = cboFunktion->currentRow() == FunktionAutoTagEinstellen;
    cboFunktionTAG->setVisible(!einstellen);
    if (einstellen)
        cmdFunktionAusführen->setFocus();
    else
        cboFunktionTAG->setFocus();
}

void frmMp3Tag::cboFunktionTAG_Click() { cmdFunktionAusführen->setFocus(); }

void frmMp3Tag::cmdFunktionAusführen_Click()
{
    EditorStapel editor(this);
    StapelAusführen(editor, GewählteZeile(cboFunktion), GewählteZeile(cboFunktionTAG));
}

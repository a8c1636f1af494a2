#include "media/ListenEingabe_gui.h"

#include "core/Meldungen.h"
#include "platform/Steuerelemente_gui.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ListenEingabe::ListenEingabe(QWidget* besitzer, QListWidget* liste, const char* name, const char* textName,
                             bool neuenWählen)
    : QDialog(besitzer), m_liste(liste), m_neuenWählen(neuenWählen)
{
    setObjectName(QString::fromUtf8(name));
    setModal(true);
    eingabe = benannt(new QLineEdit(this), textName);
    chkHinzu = benannt(new QCheckBox(QStringLiteral("Hinzufügen?"), this), "chkHinzu");
    chkHinzu->setVisible(false); // the mode, not a choice of the user
    auto* v = new QVBoxLayout(this);
    v->addWidget(eingabe);
    OkAbbrechenAnfügen(this, v, cmdOk, cmdAbbrechen, [this] { cmdOk_Click(); }, [this] { cmdAbbrechen_Click(); });
}

void ListenEingabe::Öffnen(bool hinzufügen, const QString& text, const QString& titel)
{
    chkHinzu->setChecked(hinzufügen);
    eingabe->setText(text);
    setWindowTitle(titel);
    eingabe->setFocus();
    exec();
}

void ListenEingabe::cmdOk_Click()
{
    const QString text = eingabe->text();
    if (text.isEmpty()) {
        MeldungZeigen(QStringLiteral("Bitte geben Sie einen Text ein."), Knöpfe::OK, Symbol::Information, this);
        return;
    }
    if (chkHinzu->isChecked()) {
        m_liste->addItem(text);
        if (m_neuenWählen)
            m_liste->setCurrentRow(m_liste->count() - 1);
    } else if (QListWidgetItem* eintrag = m_liste->item(GewählteZeile(m_liste))) {
        eintrag->setText(text);
    }
    accept();
}

void ListenEingabe::cmdAbbrechen_Click() { reject(); }

int GewählteZeile(const QListWidget* liste)
{
    const QListWidgetItem* eintrag = liste->currentItem();
    return eintrag && eintrag->isSelected() ? liste->row(eintrag) : -1;
}

int GewählteZeileVerlangen(const QListWidget* liste, QWidget* besitzer)
{
    const int zeile = GewählteZeile(liste);
    if (zeile < 0)
        MeldungZeigen(QStringLiteral("Bitte wählen Sie einen Listeneintrag."), Knöpfe::OK, Symbol::Information, besitzer);
    return zeile;
}

void GewähltenEintragEntfernen(QListWidget* liste, QWidget* besitzer)
{
    const int zeile = GewählteZeileVerlangen(liste, besitzer);
    if (zeile < 0)
        return;
    if (MeldungZeigen(QStringLiteral("Möchten Sie den gewählten Eintrag entfernen?"), Knöpfe::JaNein, Symbol::Ausruf,
                      besitzer)
        == Antwort::Nein)
        return;
    delete liste->takeItem(zeile);
}

QStringList ListenEinträge(const QListWidget* liste)
{
    QStringList e;
    for (int i = 0; i < liste->count(); ++i)
        e << liste->item(i)->text();
    return e;
}

void OkAbbrechenAnfügen(QDialog* d, QBoxLayout* layout, QPushButton*& ok, QPushButton*& abbrechen,
                        std::function<void()> beiOk, std::function<void()> beiAbbrechen)
{
    ok = benannt(new QPushButton(QStringLiteral("&Ok"), d), "cmdOk");
    abbrechen = benannt(new QPushButton(QStringLiteral("&Abbrechen"), d), "cmdAbbrechen");
    ok->setDefault(true);
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    zeile->addWidget(ok);
    zeile->addWidget(abbrechen);
    layout->addLayout(zeile);
    QObject::connect(ok, &QPushButton::clicked, d, std::move(beiOk));
    QObject::connect(abbrechen, &QPushButton::clicked, d, std::move(beiAbbrechen));
}

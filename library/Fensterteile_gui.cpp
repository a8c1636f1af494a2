#include "library/Fensterteile_gui.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

QLabel* BenanntesLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QLabel* FensterÜberschrift(QWidget* parent, const QString& text)
{
    QLabel* l = BenanntesLabel(parent, "Label3", text);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 4);
    l->setFont(f);
    return l;
}

QPushButton* BenannterKnopf(QWidget* parent, const char* name, const QString& text)
{
    auto* k = new QPushButton(text, parent);
    k->setObjectName(QString::fromUtf8(name));
    return k;
}

void KnopfZeile(QBoxLayout* layout, std::initializer_list<QWidget*> knöpfe)
{
    auto* zeile = new QHBoxLayout;
    zeile->addStretch(1);
    for (QWidget* k : knöpfe)
        zeile->addWidget(k);
    layout->addLayout(zeile);
}

void OkAbbrechenKnöpfe(QWidget* parent, QPushButton*& cmdOk, QPushButton*& cmdAbbrechen)
{
    cmdOk = BenannterKnopf(parent, "cmdOk", QStringLiteral("&Ok"));
    cmdAbbrechen = BenannterKnopf(parent, "cmdAbbrechen", QStringLiteral("&Abbrechen"));
    cmdOk->setDefault(true);
}

#include "library/frmUmbenennen.h"

#include "core/Index.h"
#include "core/Meldungen.h"
#include "library/Fensterteile_gui.h"
#include "platform/Steuerelemente_gui.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* Textfeld(QWidget* parent, const char* name, const QString& text = QString())
{
    return benannt(new QLineEdit(text, parent), name);
}

// One options frame: its explanation, then its inputs as label and control.
QGroupBox* Rahmen(QWidget* parent, int n, const QString& erklärung,
                  std::initializer_list<std::pair<QString, QWidget*>> eingaben)
{
    auto* g = benannt(new QGroupBox(parent), QStringLiteral("fraOptionen(%1)").arg(n));
    auto* l = new QVBoxLayout(g);
    auto* text = new QLabel(erklärung, g);
    text->setWordWrap(true);
    l->addWidget(text);
    for (const auto& [beschriftung, w] : eingaben) {
        if (!beschriftung.isEmpty()) {
            auto* b = new QLabel(beschriftung, g);
            b->setWordWrap(true);
            b->setBuddy(w);
            l->addWidget(b);
        }
        w->setParent(g);
        l->addWidget(w);
    }
    l->addStretch(1);
    return g;
}

} // namespace

frmUmbenennen::frmUmbenennen(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUmbenennen"));
    setWindowTitle(QStringLiteral("Dateinamen oder Indexeinträge ändern"));
    Label3 = FensterÜberschrift(this, QStringLiteral("dateinamen oder indexeinträge ändern"));
    Label4 = BenanntesLabel(
        this, "Label4",
        QStringLiteral("Ändern Sie Dateinamen oder Indexeinträge. So finden Sie schneller, was Sie suchen."));

    lstFunktionen = benannt(new QListWidget(this), "lstFunktionen");
    lstFunktionen->addItems(UmbenennenFunktionsTexte());

    txtFormat = Textfeld(this, "txtFormat", QStringLiteral("%Interpret% - %Titel%"));
    txtVariablen = benannt(new QPlainTextEdit(this), "txtVariablen");
    txtVariablen->setReadOnly(true);
    txtVariablen->setMaximumHeight(80);
    txtErsetzen = Textfeld(this, "txtErsetzen");
    txtErsetzenDurch = Textfeld(this, "txtErsetzenDurch");
    txtFortlaufendBasis1 = Textfeld(this, "txtFortlaufendBasis1");
    txtFortlaufendZählen1 = Textfeld(this, "txtFortlaufendZählen1");
    txtFortlaufendBasis2 = Textfeld(this, "txtFortlaufendBasis2");
    optKleinschreibung = benannt(new QRadioButton(QStringLiteral("&kleinschreibung"), this), "optKleinschreibung");
    optGrossschreibung = benannt(new QRadioButton(QStringLiteral("&GROßSCHREIBUNG"), this), "optGrossschreibung");
    optKleinErstenGross =
        benannt(new QRadioButton(QStringLiteral("Klein, ersten Buchstaben groß"), this), "optKleinErstenGross");
    optKleinWörterGross =
        benannt(new QRadioButton(QStringLiteral("Klein, Wortanfänge groß"), this), "optKleinWörterGross");
    txtDateiendung = Textfeld(this, "txtDateiendung", QStringLiteral("mp3"));
    chkAttributSchreibschutz = benannt(new QCheckBox(QStringLiteral("&Schreibschutz"), this), "chkAttributSchreibschutz");
    chkAttributVersteckt = benannt(new QCheckBox(QStringLiteral("&Versteckt"), this), "chkAttributVersteckt");
    chkAttributSystem = benannt(new QCheckBox(QStringLiteral("S&ystem"), this), "chkAttributSystem");
    chkAttributArchiv = benannt(new QCheckBox(QStringLiteral("A&rchiv"), this), "chkAttributArchiv");
    txtErsetzenEndung = Textfeld(this, "txtErsetzenEndung", QStringLiteral("inanderemordner"));

    auto* hinweisFelder = new QLabel(
        QStringLiteral("Hinweis: Sie können hier volle (z.B. 'c:\\%Interpret%\\%Titel%.mp3) oder relative Pfade "
                       "(z.B. %Jahr%\\%Dateiname%) eingeben."),
        this);
    hinweisFelder->setWordWrap(true);
    auto* attribute = new QLabel(QStringLiteral("Folgende Attribute übernehmen"), this);

    fraOptionen[0] = Rahmen(this, 0,
                            QStringLiteral("Es werden Dateien nach einem Schema umbenannt. Geben Sie Variablen ein, "
                                           "die beim Umbenennen durch Daten ersetzt werden."),
                            {{QStringLiteral("Format"), txtFormat},
                             {QStringLiteral("Verwenden Sie folgende Variablen:"), txtVariablen},
                             {QString(), hinweisFelder}});
    fraOptionen[1] = Rahmen(this, 1,
                            QStringLiteral("Es werden Zeichen, Wörter oder Zahlen im bestehenden Dateinamen durch "
                                           "andere ersetzt. Erstellen Sie Ordner durch Einfügen des Zeichens '\\'."),
                            {{QStringLiteral("Diese Zeichenfolge suchen"), txtErsetzen},
                             {QStringLiteral("und durch diese ersetzen"), txtErsetzenDurch}});
    fraOptionen[2] = Rahmen(
        this, 2,
        QStringLiteral("Es werden neue Dateinamen aus den Textbausteinen, die Sie unten eingeben, erstellt. Wenn ein "
                       "Dateiname bereits besteht, wird ein neuer erzeugt und dieser versucht. Erstellen Sie Ordner "
                       "durch Einfügen des Zeichens '\\'."),
        {{QStringLiteral("Dateiname soll anfangen mit"), txtFortlaufendBasis1},
         {QStringLiteral("Dazwischen soll eine Zahl stehen. Mit dem Hochzählen anfangen bei"), txtFortlaufendZählen1},
         {QStringLiteral("Dateiname soll enden mit"), txtFortlaufendBasis2}});
    fraOptionen[3] = Rahmen(this, 3,
                            QStringLiteral("Es wird Ihnen für jede Datei ein Eingabefeld angezeigt, in der Sie den "
                                           "Dateinamen ändern können. Erstellen Sie Ordner durch Einfügen des "
                                           "Zeichens '\\'."),
                            {});
    fraOptionen[4] = Rahmen(this, 4,
                            QStringLiteral("Es wird für jede Datei ein Eingabefeld angezeigt, in dem Sie den "
                                           "Index-Eintrag ändern können. Dabei werden keine Dateien umbenannt."),
                            {});
    fraOptionen[5] = Rahmen(this, 5,
                            QStringLiteral("Sie können hier die Schreibweise des Dateinamens ändern. 'Klein, ersten "
                                           "Buchstaben groß' schreibt den ersten Buchstaben im Wort groß."),
                            {{QString(), optKleinschreibung},
                             {QString(), optGrossschreibung},
                             {QString(), optKleinErstenGross},
                             {QString(), optKleinWörterGross}});
    fraOptionen[6] = Rahmen(this, 6,
                            QStringLiteral("Sie können hier die Datei-Endung (z.B. 'mp3') ändern. Das ändern der "
                                           "Datei-Endung bewirkt keine Konvertierung des Dateiformates in ein anderes"),
                            {{QStringLiteral("Die neue Dateiendung soll sein"), txtDateiendung}});
    fraOptionen[7] = Rahmen(this, 7,
                            QStringLiteral("Es werden Datei-Attribute geändert. Diese geben an, wie eine Datei "
                                           "genutzt werden sollte."),
                            {{QString(), attribute},
                             {QString(), chkAttributSchreibschutz},
                             {QString(), chkAttributVersteckt},
                             {QString(), chkAttributSystem},
                             {QString(), chkAttributArchiv}});
    fraOptionen[8] = Rahmen(this, 8,
                            QStringLiteral("Es werden Dateien durch leere Dateien mit einer anderen Datei-Endung "
                                           "ersetzt. Der Datei-Inhalt geht dabei verloren!"),
                            {{QStringLiteral("Neue Datei-Endung"), txtErsetzenEndung}});

    OkAbbrechenKnöpfe(this, cmdOk, cmdAbbrechen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    auto* mitte = new QHBoxLayout;
    auto* links = new QVBoxLayout;
    links->addWidget(new QLabel(QStringLiteral("Wählen Sie eine Funktion"), this));
    links->addWidget(lstFunktionen, 1);
    auto* rechts = new QVBoxLayout;
    rechts->addWidget(new QLabel(QStringLiteral("Wählen Sie die Optionen für diese Funktion"), this));
    for (QGroupBox* g : fraOptionen)
        rechts->addWidget(g, 1);
    mitte->addLayout(links, 1);
    mitte->addLayout(rechts, 1);
    layout->addLayout(mitte, 1);
    auto* hinweis = new QLabel(QStringLiteral("Hinweis: Existiert eine erzeugte Datei bereits und sieht eine der "
                                              "gewählten Funktionen keine Fehlerbehandlung vor, werden Sie nach dem "
                                              "weiteren Vorgehen gefragt."),
                               this);
    hinweis->setWordWrap(true);
    layout->addWidget(hinweis);
    KnopfZeile(layout, {cmdOk, cmdAbbrechen});
    resize(720, 440);

    connect(lstFunktionen, &QListWidget::currentRowChanged, this, [this] { lstFunktionen_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, &frmUmbenennen::cmdOk_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmUmbenennen::cmdAbbrechen_Click);
    lstFunktionen_Click();
}

void frmUmbenennen::Voreinstellen()
{
    const UmbenennenEingaben e = UmbenennenEinstellungenLesen();
    txtFormat->setText(e.strFormat);
    txtFortlaufendBasis1->setText(e.strAnfang);
    txtFortlaufendZählen1->setText(e.strStartZahl);
    txtFortlaufendBasis2->setText(e.strEnde);
    txtErsetzen->setText(e.strErsetzen);
    txtErsetzenDurch->setText(e.strErsetzenDurch);
    chkAttributArchiv->setChecked(e.intArchiv != 0);
    chkAttributSchreibschutz->setChecked(e.intSchreibschutz != 0);
    chkAttributSystem->setChecked(e.intSystem != 0);
    chkAttributVersteckt->setChecked(e.intVersteckt != 0);
    switch (e.intSchreibweise) {
    case 1: optKleinschreibung->setChecked(true); break;
    case 2: optGrossschreibung->setChecked(true); break;
    case 4: optKleinWörterGross->setChecked(true); break;
    default: optKleinErstenGross->setChecked(true); break;
    }
    txtDateiendung->setText(e.strEndung);
    txtVariablen->setPlainText(UmbenennenPlatzhalter());
}

UmbenennenEingaben frmUmbenennen::EingabenLesen() const
{
    UmbenennenEingaben e;
    e.intFunktion = UmbenennenFunktionAusPosition(lstFunktionen->currentRow());
    e.strFormat = txtFormat->text();
    e.strErsetzen = txtErsetzen->text();
    e.strErsetzenDurch = txtErsetzenDurch->text();
    e.strAnfang = txtFortlaufendBasis1->text();
    e.strStartZahl = txtFortlaufendZählen1->text();
    e.strEnde = txtFortlaufendBasis2->text();
    // The first ticked option in this order gives the mode.
    if (optGrossschreibung->isChecked())
        e.intSchreibweise = 2;
    else if (optKleinschreibung->isChecked())
        e.intSchreibweise = 1;
    else if (optKleinErstenGross->isChecked())
        e.intSchreibweise = 3;
    else if (optKleinWörterGross->isChecked())
        e.intSchreibweise = 4;
    e.strEndung = txtDateiendung->text();
    e.intSchreibschutz = chkAttributSchreibschutz->isChecked() ? 1 : 0;
    e.intArchiv = chkAttributArchiv->isChecked() ? 1 : 0;
    e.intSystem = chkAttributSystem->isChecked() ? 1 : 0;
    e.intVersteckt = chkAttributVersteckt->isChecked() ? 1 : 0;
    e.strLeereEndung = txtErsetzenEndung->text();
    return e;
}

void frmUmbenennen::lstFunktionen_Click()
{
    const int gewählt = lstFunktionen->currentRow();
    for (int n = 0; n < int(fraOptionen.size()); ++n)
        fraOptionen[size_t(n)]->setVisible(n == gewählt);
}

void frmUmbenennen::cmdOk_Click()
{
    const UmbenennenEingaben e = EingabenLesen();
    const QString hinweis = UmbenennenEingabenPrüfen(e);
    if (!hinweis.isEmpty()) {
        MeldungZeigen(hinweis, Knöpfe::OK, Symbol::Information, this);
        return;
    }
    accept();
    DateienUmbenennen(hauptIndex(), einträge, e);
    if (parentWidget())
        parentWidget()->update();
}

void frmUmbenennen::cmdAbbrechen_Click() { reject(); }

void UmbenennenZeigen(const EintragsListe& einträge, QWidget* besitzer)
{
    static QPointer<frmUmbenennen> fenster;
    FensterFürEinträgeZeigen(fenster, einträge, besitzer);
}

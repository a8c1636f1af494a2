#pragma once
// The clean-up window: the finder's results, their details, and the action
// chosen for each file, carried out together on "Ok".

#include "library/DoppelteDateien.h"
#include "media/frmMp3Tag.h"
#include "platform/Dienste.h"

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

class frmIndexVerwaltung : public QDialog {
    // No Q_OBJECT: the window needs no signals of its own.
public:
    // `einträge`: the window's own copy of the main list's selection, the
    // entries every search runs over; `listenZeilen`: the main list's rows,
    // the length of the search's progress bar.
    frmIndexVerwaltung(Index& index, std::vector<qint32> einträge, qint32 listenZeilen, QWidget* parent = nullptr);
    ~frmIndexVerwaltung() override;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QComboBox* cboSuchmethode;
    QPushButton* cmdSuchen;
    QListWidget* lstEinträge;
    QLabel* lblGefundenAnzahl;
    QPushButton* cmdWählenAlle;
    QPushButton* cmdWählenKeine;
    QPushButton* cmdWählenUmkehren;
    QGroupBox* fraDetails;
    QLabel* lblDatei1;
    QLabel* lblDateiname1;
    QComboBox* cboAktion1;
    QPushButton* cmdAbspielen1;
    QPushButton* cmdInfos1;
    QLabel* lblDatei2;
    QLabel* lblDateiname2;
    QComboBox* cboAktion2;
    QPushButton* cmdAbspielen2;
    QPushButton* cmdInfos2;
    QLabel* lblGleichÜberschrift;
    QLabel* lblGleich;
    QPushButton* cmdOk;
    QPushButton* cmdAbbrechen;

    // The findings of the last search and the actions chosen since.
    DoppelteErgebnis ergebnis;
    // The selected rows of the result list, counted from 1 (element 0 unused).
    std::vector<qint32> DoppelteZeile{0};

    // Searches by the method (-1: nothing) and fills the window in place.
    void DoppelteDateienSuchen(int intMethode);

    void cboSuchmethode_Click();
    void cmdSuchen_Click();
    void lstEinträge_Click();
    void lstEinträge_DblClick();
    void cboAktion_Click(int nummer, int index);
    void cmdAbspielen_Click(int nummer);
    void cmdInfos_Click(int nummer);
    void cmdWählenAlle_Click();
    void cmdWählenKeine_Click();
    void cmdWählenUmkehren_Click();
    void cmdOk_Click();
    void cmdAbbrechen_Click();

    // Closing without "Ok" (button, Escape, title bar) asks first when
    // actions were chosen.
    void reject() override;

protected:
    bool eventFilter(QObject* objekt, QEvent* e) override;

private:
    // The first (1) or second (2) entries of the selected findings.
    std::vector<qint32> GewählteEinträge(int nummer) const;
    void AktionFärben(QComboBox* box);
    void AktionZeigen(QComboBox* box, int aktion);

    Index& m_index;
    std::vector<qint32> m_einträge;
    qint32 m_listenZeilen;
};

// What the window hands over for a list of entries, owned by a window:
// playing them (the player) and showing them in the tag editor. Start-up
// installs both; while a slot is empty its buttons stay unavailable.
using EinträgeAktion = std::function<void(const std::vector<qint32>& einträge, QWidget* besitzer)>;
struct IndexVerwaltungAbspielenDienst {
    using Typ = EinträgeAktion;
};

// Opens the window for the entries over `besitzer` and, when the user
// confirmed "Ok", carries out the chosen actions on the program's index.
void IndexVerwaltungZeigen(const std::vector<qint32>& einträge, qint32 listenZeilen, QWidget* besitzer);

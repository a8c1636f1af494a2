#pragma once
// The tag editor "Medien-Informationen": one entry of a list at a time, its
// ID3v1 and ID3v2 tags, its index fields and what its file tells. Saving
// writes the tags through media/TagSchreiben.h and the record into the index.

#include "core/MedienInfo.h"
#include "media/MedienInfosLesen.h"
#include "platform/Dienste.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class frmMp3Tag : public QDialog {
    // No Q_OBJECT: moc cannot read names with umlauts; lambdas connect.
public:
    explicit frmMp3Tag(QWidget* parent = nullptr);

    // Always shown
    QComboBox* txtDateiname;
    QPushButton* cmdVorheriger;
    QPushButton* cmdNächster;
    QPushButton* cmdOk;
    QPushButton* cmdTAGSpeichernAlles;
    std::array<QRadioButton*, 4> optOptionen;
    std::array<QFrame*, 4> fraOptionen;

    // Page 0: ID3v1
    QLineEdit* txtTitel;
    QLineEdit* txtInterpret;
    QLineEdit* txtAlbum;
    QLineEdit* txtJahr;
    QLineEdit* txtTitelnummer;
    QLineEdit* txtKommentar;
    QComboBox* cboMusikrichtung;
    QLabel* lblID3v1Info;
    QPushButton* cmdTAGSpeichern;
    QPushButton* cmdDatenKopierenNachV2;
    QPushButton* cmdTAGEntfernen;
    QCheckBox* chkAutomatischSpeichern;

    // Page 1: ID3v2, two field sets
    std::array<QFrame*, 2> fraOptionenId3v2;
    QLineEdit* txtv2Titel;
    QLineEdit* txtv2Interpret;
    QLineEdit* txtv2Album;
    QLineEdit* txtv2Jahr;
    QLineEdit* txtv2Titelnummer;
    QLineEdit* txtv2Kommentar;
    QComboBox* cbov2Musikrichtung;
    QPushButton* cmdTAGv2Weitere;
    QLineEdit* txtv2Herausgeber;
    QLineEdit* txtv2Songschreiber;
    QLineEdit* txtv2UrsprünglicherInterpret;
    QLineEdit* txtv2Medientyp;
    QLineEdit* txtv2Länge;
    QLineEdit* txtv2Copyright;
    QLineEdit* txtv2AbspielZähler;
    QLineEdit* txtv2Link;
    QLineEdit* txtv2Sprache;
    QLineEdit* txtv2EncodiertVon;
    QLineEdit* txtv2Software;
    QPushButton* cmdTAGv2ErsteFelderAnzeigen;
    QLabel* lblID3v2Info;
    QPushButton* cmdTagSpeichernV2;
    QPushButton* cmdDatenKopierenNachV1;
    QPushButton* cmdTAGEntfernenv2;
    QCheckBox* chkAutomatischSpeichernV2;

    // Page 2: index fields
    QLineEdit* txtIndexHinzugefügtAm;
    QLineEdit* txtIndexDatenträger;
    QLineEdit* txtIndexAbspielAnzahl;
    QLineEdit* txtIndexAbspielDatum;
    QPushButton* cmdTAGSpeichernFelder;
    QCheckBox* chkAutomatischSpeichernFelder;

    // Page 3: file information
    QLabel* lblTrackInfos;

    // State: the entries opened (1-based, element 0 unused), the position
    // shown (0 = none) and the working copy of its record.
    std::vector<qint32> lngMp3TagEinträge{0};
    qint32 lngMp3TagPosition = 0;
    MedienInfo Mp3TagInfo;
    bool bolMp3TagLädt = false;
    bool bolMp3TagGeladen = false;
    // Set by every part of a save that succeeded.
    bool bolMp3TagGespeichert = false;
    // Which parts the last save wrote (the batch run reports each).
    bool bolV1Gespeichert = false;
    bool bolV2Gespeichert = false;
    bool bolFelderGespeichert = false;

    // The batch panel (frmMp3TagStapel.cpp).
    QListWidget* cboFunktion = nullptr;
    QListWidget* cboFunktionTAG = nullptr;
    QPushButton* cmdFunktionAusführen = nullptr;
    // A function or a target confirmed (Enter; a target also by its click):
    // the focus moves on to what comes next.
    void cboFunktion_Click();
    void cboFunktionTAG_Click();
    void cmdFunktionAusführen_Click();

    // Opening for a list of entries: loads the first available one; false
    // when none could be shown (the editor then stays hidden).
    bool Öffnen(const std::vector<qint32>& einträge);

    // The entry at `lngPosition`: 0 shown, 1 skipped, 2 stop.
    int Mp3TagDateiAnzeigen(qint32 lngPosition, QObject* frmBesitzer, const QString& strFelder);
    // Reads the file again by the flags (ID3v1, ID3v2, header) into `udtInfo`
    // and fills every page. A missing file keeps the record as it was.
    bool MedienInfosEintragen(MedienInfo& udtInfo, const QString& strDatei, const QString& strFelder);

    // The pages into a record.
    bool TagV1AusFormularLesen(MedienInfo& udtInfo);
    bool TagV2AusFormularLesen(MedienInfo& udtInfo);
    bool Mp3TAGAnzeigeInfosLesen(MedienInfo& udtInfo);

    // 0 everything, 1 ID3v1, 2 ID3v2, 3 index fields.
    void Mp3TAGAnzeigeInfosSpeichern(int intModus);
    // Saves the chosen parts in one go: the checks first, then the pages read
    // once, ID3v1 written, then ID3v2, then the index fields, and the entry
    // shown again once. A tag is written only from a page filled from the
    // file and only while the file is there from the start of the save.
    void Speichern(bool v1, bool v2, bool felder);
    // The saving the check boxes ask for, of the entry shown.
    void AutomatischSpeichern(bool v1 = true, bool v2 = true, bool felder = true);

    // Events
    void txtDateiname_Click();
    void optOptionen_Click(int Index);
    void cmdTAGv2Weitere_Click();
    void cmdTAGv2ErsteFelderAnzeigen_Click();
    void cmdTagSpeichern_Click() { Mp3TAGAnzeigeInfosSpeichern(1); }
    void cmdTagSpeichernV2_Click() { Mp3TAGAnzeigeInfosSpeichern(2); }
    void cmdTAGSpeichernFelder_Click() { Mp3TAGAnzeigeInfosSpeichern(3); }
    void cmdTAGSpeichernAlles_Click() { Mp3TAGAnzeigeInfosSpeichern(0); }
    void cmdDatenKopierenNachV1_Click();
    void cmdDatenKopierenNachV2_Click();
    void cmdVorheriger_Click();
    void cmdNächster_Click();
    void cmdOk_Click();
    void cmdTAGEntfernen_Click();
    void cmdTAGEntfernenv2_Click();

    // Whether the user changed a page since it was filled from the file:
    // 0 ID3v1, 1 ID3v2, 2 index fields.
    bool SeiteGeändert(int seite) const;
    // Whether closing would store a page the user changed (its automatic
    // saving takes that page).
    bool SchließenSpeichertGeändertes() const;
    // The program ends with the editor open: it saves what its own
    // "Schließen" saves and keeps its automatic-saving choices; the list is
    // not refreshed.
    void BeimBeendenSchließen();

    // The list position changed by the program: the choice event runs.
    void ListenPositionSetzen(int position);
    // The entry shown and its path ("" when none).
    qint32 EintragGezeigt() const;
    QString PfadGezeigt() const;

protected:
    void reject() override { cmdOk_Click(); }

private:
    QLayout* StapelfeldBauen();
    void SchließenSchritte();
    void AutomatischSpeichernMerken();
    // The pages the automatic saving takes (0 ID3v1, 1 ID3v2, 2 index fields).
    std::array<bool, 3> AutomatischeSeiten() const;
    // The pages' index fields from a record.
    void IndexSeiteFüllen(const MedienInfo& m);
    // The file of the entry shown was missing at its last reading.
    bool m_dateiFehlt = false;
    // The tag pages filled from the file shown (there, its tag read); the
    // only ones ever written into it.
    bool m_v1AusDatei = false;
    bool m_v2AusDatei = false;
    void TagEntfernenAusführen(bool v2);
    void GenreListenFüllen();
    // The text boxes of a page (0 ID3v1, 1 ID3v2, 2 index fields).
    std::vector<QLineEdit*> SeitenFelder(int seite) const;
    QStringList SeitenTexte(int seite) const;
    void GezeigtMerken(bool v1, bool v2, bool felder);
    std::array<QStringList, 3> m_gezeigt;
    void V2GenreSetzen(const QString& genre);
    // The ID3v2 genre read from the file and what the box showed for it:
    // while the box shows that, the genre is written as it was read.
    std::pair<QString, QString> m_v2GenreGelesen;
    // A tag removed on request is not written back by the automatic saving
    // until its page is edited again.
    bool m_v1Entfernt = false;
    bool m_v2Entfernt = false;
    // How the file shown was read when the pages were filled: a tag is
    // written only from a whole reading, and only into the file it read
    // (or over a change since, when the user says so).
    MedienLesung m_lesung;
    // Whether a tag may be written: false (the user told why) when the
    // reading failed, or when the file changed since and the user keeps it.
    bool SchreibenErlaubt(const QString& pfad, MedienLesung& gelesen);
    // The index-field page into the record of the entry shown, the tag
    // pages left as they are.
    void IndexFelderÜbernehmen(qint32 eintrag, bool felder);
};

// The program's one tag editor (created hidden on first use).
frmMp3Tag* mp3TagFenster();

// Opens the editor for the entries, modally over `frmBesitzer`, and returns
// when it is closed (at once when none of them could be shown).
bool Mp3TagAnzeigen(const std::vector<qint32>& lngEinträge, QWidget* frmBesitzer);

// How other windows open the editor for entries (start-up installs
// Mp3TagAnzeigen; tests record the call). Empty: their "Datei-Infos" is
// unavailable.
struct DateiInfosDienst {
    using Typ = std::function<void(const std::vector<qint32>&, QWidget*)>;
};

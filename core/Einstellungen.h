#pragma once
// Program-wide settings, one member per registry value of the same name.
// Read once at start-up (EinstellungenLesen), written once at the end
// (EinstellungenSpeichern).

#include <QString>
#include <QStringList>

// kind: I = Integer (16 bit), L = Long (32 bit), S = text. The order is the
// order in which the values are read and written. Colour defaults come from
// colour profile 1 and are filled in at run time (FARBE).
#define KALVERO_EINSTELLUNGEN(X) \
    X(S, Dateiname, "") \
    X(S, Mp3TagLesen, "101") \
    X(S, WinampPfad, "") \
    X(L, FensterHeight, "0") \
    X(L, FensterLeft, "0") \
    X(L, FensterTop, "0") \
    X(L, FensterWidth, "0") \
    X(I, FensterMax, "0") \
    X(I, Start, "0") \
    X(S, WinampParameterAbspielen, "") \
    X(S, WinampParameterHinzufügen, "-e") \
    X(I, DateiAutomatischSpeichern, "0") \
    X(I, HinzufügenKeineDoppelten, "1") \
    X(I, HinzufügenUnterordner, "1") \
    X(I, StartBildschirm, "1") \
    X(I, AutoTagFelderLöschen, "0") \
    X(I, AutoTagLeer, "-1") \
    X(S, KopierenOrdner, "") \
    X(I, KopierenModus, "0") \
    X(S, ExportDatei, "") \
    X(I, ExportModus, "0") \
    X(I, ExportUntermodus, "0") \
    X(I, ExportStriche, "1") \
    X(I, PlaylistFürWinamp, "1") \
    X(I, BeiDoppelklick, "0") \
    X(S, AutoTagAktuell, "") \
    X(I, TAGAutomatischSpeichern, "0") \
    X(I, AutoTagUnterstrichEntfernen, "1") \
    X(I, WinampLautstärke, "128") \
    X(I, WinampBalance, "0") \
    X(I, AutoTagAusschlußLeer, "-1") \
    X(I, NichtVerfügbarFragen, "1") \
    X(L, FarbeFunktionen, "FARBE0") \
    X(L, FarbeFunktionenHintergrund, "FARBE1") \
    X(L, FarbeListen, "FARBE2") \
    X(L, FarbeListenHintergrund, "FARBE3") \
    X(L, FarbeÜberschrift, "FARBE4") \
    X(L, FarbeBeschreibungen, "FARBE5") \
    X(L, FarbeFunktionenBesucht, "FARBE6") \
    X(I, FunktionenUnterstreichen, "FARBE7") \
    X(I, AutoCompleteVerwenden, "1") \
    X(S, UmbenennenEingabeID3, "%Interpret% - %Titel%") \
    X(S, UmbenennenEingabeNeuAnfang, "") \
    X(S, UmbenennenEingabeNeuZahl, "0") \
    X(S, UmbenennenEingabeNeuEnde, "") \
    X(S, UmbenennenEingabeErsetzenText, "") \
    X(S, UmbenennenEingabeErsetzenDurch, "") \
    X(I, UmbenennenEingabeSchreibweise, "0") \
    X(S, UmbenennenEingabeDateiEndung, "mp3") \
    X(I, Auswahlliste, "1") \
    X(I, BeendenReaktion, "0") \
    X(L, RegelmäßigSpeichernAlle, "0") \
    X(I, AbspielStatistikSpeichern, "1") \
    X(S, AutoDJFindeAnzahl, "10") \
    X(S, AutoDJAuslassenZeit, "1") \
    X(I, AutoDJAuslassenGröße, "2") \
    X(I, AutoDJAuslassenVorKurzem, "0") \
    X(I, AutoDJFindenVorLängerem, "0") \
    X(I, SucheNichtBeiAuswahl, "0") \
    X(I, SucheNichtBeiTAGEditor, "0") \
    X(I, StartBildschirmNichtBeiSpeichern, "0") \
    X(I, StartBildschirmNichtBeiLaden, "0") \
    X(L, TAGsProzentHinzufügen, "25") \
    X(L, TAGsBytesSuchen, "102400") \
    X(I, TippsAktueller, "1") \
    X(I, UmbenennenAttributeA, "0") \
    X(I, UmbenennenAttributeH, "0") \
    X(I, UmbenennenAttributeR, "0") \
    X(I, UmbenennenAttributeS, "0") \
    X(S, AusführenPfad, "") \
    X(I, TAGAutomatischSpeichernV2, "0") \
    X(I, TAGAutomatischSpeichernFelder, "0") \
    X(S, UmbenennenEingabeErsetzenDateiEndung, "inanderemordner") \
    X(L, TAGsSoftwareFeldSchreiben, "1") \
    X(S, AbspielStatistikTitel, "") \
    X(S, AbspielStatistikGezählt, "")

#define KALVERO_TYP_I int
#define KALVERO_TYP_L qint32
#define KALVERO_TYP_S QString

struct Einstellungen {
#define X(kind, name, def) KALVERO_TYP_##kind name{};
    KALVERO_EINSTELLUNGEN(X)
#undef X
    // The two numbered lists (values "AutoTagAusschluß1", ... and
    // "AutoTagFormate1", ...). Entries only; when the list's flag is 1 the
    // list is empty.
    QStringList AutoTagAusschluß;
    QStringList AutoTagFormate;
};

// The program's settings.
Einstellungen& einstellungen();

// True only while EinstellungenLesen runs in reset mode.
extern bool EinstellungenRücksetzenAktiv;

// Reads every value into `e` (defaults for missing or mistyped values), then
// the two lists. In reset mode every value becomes its default, except
// `Dateiname`, which keeps the index file in use.
void EinstellungenLesen(Einstellungen& e);
inline void EinstellungenLesen() { EinstellungenLesen(einstellungen()); }

// Writes every value, then the lists (stale numbered values deleted).
void EinstellungenSpeichern(const Einstellungen& e);
inline void EinstellungenSpeichern() { EinstellungenSpeichern(einstellungen()); }

// Every setting at its default (what a first start reads).
Einstellungen StandardEinstellungen();

// The player program: the first of audacious, vlc found on PATH, else "".
QString WinampPfadErmitteln();

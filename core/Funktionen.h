#pragma once
// Small text, path, number and file helpers that the whole program shares.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

struct stat;

// The one place that knows the native path separator.
inline constexpr char16_t kPfadTrenner = u'/';

// Program title and version ("Kalvero", major and minor version).
QString ProgrammTitel();
int VersionMajor();
int VersionMinor();
// The program's web page, wherever a text or window links to it.
QString Webadresse();
// Major directly followed by minor ("10" for 1.0); `Start` stores its value.
QString VersionText();

// --- paths and files -------------------------------------------------------
// What the file system says about a file. It is missing only when its path
// names nothing (ENOENT, ENOTDIR) or no regular file; any other failure
// (EACCES, ELOOP, EIO, a stale mount) leaves it unknown: a file that cannot
// be reached is no missing file, and nothing is removed or deleted for it.
enum class Existenz { Vorhanden, Fehlt, Unbekannt };
// The name is taken literally ("*" and "?" are never patterns); empty names
// and names ending in ":", "\" or "/" are missing; folders are not files.
// `angaben` is filled when the file is there, `fehler` gets the errno of an
// unknown answer (0 otherwise).
Existenz DateiExistenz(const QString& datei, struct stat* angaben = nullptr, int* fehler = nullptr);
// Whether a file is there (DateiExistenz answers Vorhanden).
bool DoesExist(const QString& datei);
// The same, also handing back what the file system told about the file
// (filled only when the answer is true), so that a caller needing both asks once.
// Only regular files count: a FIFO, socket or device is no file to read.
bool DoesExist(const QString& datei, struct stat* angaben);
// Opens a user's file for reading when it is a regular file, without ever
// blocking on a FIFO or touching a device: the descriptor (close-on-exec), or
// -1 with errno set (EINVAL for anything that is not a regular file).
// `angaben` (optional) receives what fstat told about the opened file.
// `schreiben` opens it for reading and writing.
int ReguläreDateiÖffnen(const QString& datei, struct stat* angaben = nullptr, bool schreiben = false);
// Folder of a path (no trailing separator); "" when it holds no separator.
QString PfadZurückgeben(const QString& pfad);
// Name after the last separator; the whole text when there is none.
QString DateinameZurückgeben(const QString& pfad);
// Extension with its dot ("" when none, or when a separator follows the dot).
QString DateiEndungZurückgeben(const QString& pfad);
// Joins a folder and a name with one separator.
QString PfadVerbinden(const QString& ordner, const QString& name);
// The program's folder for its data files (the executable's folder when
// writable, else the user's application data folder; always the latter for
// a program installed under a prefix).
QString ProgrammOrdner();
// Where shipped data lies (tips, Ineturl.dat, help page): share/kalvero
// beside the executable, or ../share/kalvero from it when installed.
QString DatenOrdner();

// --- texts -----------------------------------------------------------------
QString NullZeichenAbschneiden(const QString& text);
// Replaces every occurrence, ignoring letter case; scanning resumes behind the
// inserted replacement. Only a lone NUL search text compares exactly.
QString TextErsetzen(const QString& text, const QString& suche, const QString& ersatz);
QString SteuerzeichenEntfernen(const QString& text, bool zeilenumbrücheBehalten);
bool TextGleich(const QString& a, const QString& b);
QString NullAlsLeerZurückgeben(const QString& text);
QString ZeichenCodeZurückgeben(const QString& text);
QString MitNullenAuffüllen(const QString& text, int länge);
QString WortanfängeGroßSchreiben(const QString& text, bool nurSatzanfänge);
// Letter case changed character by character, so a text keeps its length
// ("ß" stays "ß").
QString ZeichenweiseGroß(const QString& text);
QString ZeichenweiseKlein(const QString& text);
// Splits `text` at `trenner` from the 1-based position `start`. `datensätze`
// gets the records (it starts as one empty record). True when the count
// equals `erwartet` (>= 1), or for any count when `erwartet` < 0.
bool TextDatensätzeLesen(const QString& text, QChar trenner, int start, int erwartet, QStringList& datensätze);

// --- numbers ---------------------------------------------------------------
qint32 ZahlZurückgeben(const QString& text);
double Runden(double wert, int stellen);
bool IstVielfaches(double zahl, double teiler);
int CheckboxWertZurückgeben(const QVariant& wert);
bool cbool2(const QVariant& wert);
QString ZeitFormatieren(double sekunden, bool ohneStunden);

// --- launchers -------------------------------------------------------------
// Opens a file or web address with its standard program: 33 on success, 0 on failure.
double ProgrammStarten(const QString& datei, const QString& parameter);
// Starts a program with its arguments (never through a shell); the process
// id, or 0 after the failure message.
double ProgrammStartenVB(const QString& programm, const QString& parameter);
// The same with the arguments as a list, each passed on unchanged.
double ProgrammStartenArgumente(const QString& programm, const QStringList& argumente);
// ProgrammStarten without parameters, and when nothing opened it, the user is
// told so (`einleitung` leads the message's text: "Das" unless a caller had
// tried something else first). True when it opened.
bool MitStandardprogrammÖffnen(const QString& dateiOderAdresse, QObject* besitzer = nullptr,
                              const QString& einleitung = QStringLiteral("Das"));
void HilfeAnzeigen(QObject* besitzer = nullptr);

// The current time to the whole second (what saves and plays are stamped with).
QDateTime JetztSekundengenau();

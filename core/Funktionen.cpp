#include "core/Funktionen.h"

#include "core/Meldungen.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <limits>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString ProgrammTitel() { return QStringLiteral("Kalvero"); }
int VersionMajor() { return KALVERO_VERSION_MAJOR; }
int VersionMinor() { return KALVERO_VERSION_MINOR; }
QString Webadresse() { return QStringLiteral("https://kalvero.example/"); }
QString VersionText() { return QString::number(VersionMajor()) + QString::number(VersionMinor()); }

// --- paths and files -------------------------------------------------------

Existenz DateiExistenz(const QString& datei, struct stat* angaben, int* fehler)
{
    if (fehler)
        *fehler = 0;
    if (datei.isEmpty())
        return Existenz::Fehlt;
    const QChar letztes = datei.back();
    if (letztes == QLatin1Char(':') || letztes == QLatin1Char('\\') || letztes == QLatin1Char('/'))
        return Existenz::Fehlt;
    struct stat st;
    if (::stat(QFile::encodeName(datei).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Existenz::Fehlt;
        if (fehler)
            *fehler = errno;
        return Existenz::Unbekannt;
    }
    if (!S_ISREG(st.st_mode))
        return Existenz::Fehlt;
    if (angaben)
        *angaben = st;
    return Existenz::Vorhanden;
}

bool DoesExist(const QString& datei)
{
    return DateiExistenz(datei) == Existenz::Vorhanden;
}

bool DoesExist(const QString& datei, struct stat* angaben)
{
    return DateiExistenz(datei, angaben) == Existenz::Vorhanden;
}

int ReguläreDateiÖffnen(const QString& datei, struct stat* angaben, bool schreiben)
{
    const QByteArray name = QFile::encodeName(datei);
    struct stat st;
    // A look first, so that a device is never opened at all; then the opened
    // file is checked again, in case the name changed hands in between.
    if (::stat(name.constData(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    }
    int fd;
    do
        fd = ::open(name.constData(), (schreiben ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int fehler = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        errno = fehler;
        return -1;
    }
    // The O_NONBLOCK stays: reads of a regular file never block anyway.
    if (angaben)
        *angaben = st;
    return fd;
}

QString PfadZurückgeben(const QString& pfad)
{
    const qsizetype p = pfad.lastIndexOf(QChar(kPfadTrenner));
    if (p < 0)
        return QString();
    // The root folder keeps its separator, so that it still names a folder.
    return p == 0 ? QString(QChar(kPfadTrenner)) : pfad.left(p);
}

QString DateinameZurückgeben(const QString& pfad)
{
    const qsizetype p = pfad.lastIndexOf(QChar(kPfadTrenner));
    return p < 0 ? pfad : pfad.mid(p + 1);
}

QString DateiEndungZurückgeben(const QString& pfad)
{
    const qsizetype punkt = pfad.lastIndexOf(QLatin1Char('.'));
    if (punkt < 0 || pfad.indexOf(QChar(kPfadTrenner), punkt) >= 0)
        return QString();
    return pfad.mid(punkt);
}

QString PfadVerbinden(const QString& ordner, const QString& name)
{
    if (ordner.isEmpty())
        return name;
    if (ordner.endsWith(QChar(kPfadTrenner)))
        return ordner + name;
    return ordner + QChar(kPfadTrenner) + name;
}

namespace {
QString DatenDaneben() { return PfadVerbinden(QCoreApplication::applicationDirPath(), QStringLiteral("share/kalvero")); }
QString DatenInstalliert()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kalvero"));
}
// Installed by `cmake --install`: the data lies under the prefix, not beside the program.
bool Installiert() { return !QFileInfo(DatenDaneben()).isDir() && QFileInfo(DatenInstalliert()).isDir(); }
} // namespace

QString ProgrammOrdner()
{
    // An installed program never writes into its prefix, even where it may.
    const QString exe = QCoreApplication::applicationDirPath();
    if (!exe.isEmpty() && !Installiert() && QFileInfo(exe).isWritable())
        return exe;
    QString ort = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(ort);
    return ort;
}

QString DatenOrdner()
{
    return Installiert() ? DatenInstalliert() : DatenDaneben();
}

// --- texts -----------------------------------------------------------------

QString NullZeichenAbschneiden(const QString& text)
{
    if (text.isEmpty() || text.back() != QChar(0))
        return text;
    return text.left(text.indexOf(QChar(0)));
}

QString TextErsetzen(const QString& text, const QString& suche, const QString& ersatz)
{
    if (suche.isEmpty())
        return text;
    const Qt::CaseSensitivity cs = (suche.size() == 1 && suche[0] == QChar(0)) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString aus;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype fund = text.indexOf(suche, pos, cs);
        if (fund < 0)
            break;
        aus += QStringView(text).mid(pos, fund - pos);
        aus += ersatz;
        pos = fund + suche.size();
    }
    if (pos == 0)
        return text;
    aus += QStringView(text).mid(pos);
    return aus;
}

QString SteuerzeichenEntfernen(const QString& text, bool behalten)
{
    QString s = TextErsetzen(text, QString(QChar(0)), QString());
    s = TextErsetzen(s, QString(QChar(1)), QString());
    if (!behalten) {
        s = TextErsetzen(s, QStringLiteral("\n"), QString());
        s = TextErsetzen(s, QStringLiteral("\r"), QString());
    }
    qsizetype ende = s.size();
    while (ende > 0 && s[ende - 1] == QLatin1Char(' '))
        --ende;
    s.truncate(ende);
    return s;
}

bool TextGleich(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString NullAlsLeerZurückgeben(const QString& text)
{
    return text == QLatin1String("0") ? QString() : text;
}

QString ZeichenCodeZurückgeben(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const char16_t c = text[0].unicode();
    if (c <= 0xFF)
        return QString::number(c);
    static const char16_t hoch[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (hoch[i] == c)
            return QString::number(0x80 + i);
    return QStringLiteral("63"); // "?": no ANSI code
}

QString MitNullenAuffüllen(const QString& text, int länge)
{
    if (text.size() >= länge)
        return text;
    return QString(länge - text.size(), QLatin1Char('0')) + text;
}

QString WortanfängeGroßSchreiben(const QString& text, bool nurSatzanfänge)
{
    static const QString auslöser = QStringLiteral(".-()[]!?}{\"<>%$&*+~#");
    QString s = ZeichenweiseKlein(text);
    if (s.isEmpty())
        return s;
    s[0] = s[0].toUpper();
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        const QChar c = s[i];
        if (auslöser.contains(c) || (c == QLatin1Char(' ') && !nurSatzanfänge))
            s[i + 1] = s[i + 1].toUpper();
    }
    return s;
}

bool TextDatensätzeLesen(const QString& text, QChar trenner, int start, int erwartet, QStringList& d)
{
    d = QStringList{QString()};
    if (text.isEmpty())
        return false;
    d.clear();
    qsizetype pos = std::max(start, 1) - 1;
    for (;;) {
        const qsizetype p = pos < text.size() ? text.indexOf(trenner, pos, Qt::CaseSensitive) : -1;
        if (p < 0)
            break;
        d << text.mid(pos, p - pos);
        pos = p + 1;
    }
    if (text.back() == trenner) {
        d << QString();
    } else if (pos < text.size()) {
        d << text.mid(pos);
    }
    const int anzahl = int(d.size());
    if (d.isEmpty())
        d << QString(); // the array keeps its one empty element
    if (erwartet >= 0)
        return anzahl == erwartet && anzahl >= 1;
    return true;
}

// --- numbers ---------------------------------------------------------------

qint32 ZahlZurückgeben(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return 0;
    const double r = std::nearbyint(d);
    if (r < std::numeric_limits<qint32>::min() || r > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(r);
}

double Runden(double wert, int stellen)
{
    const double f = std::pow(10.0, stellen);
    return std::floor(wert * f + 0.5) / f;
}

bool IstVielfaches(double zahl, double teiler)
{
    const long long t = std::llrint(teiler);
    if (t == 0)
        return false;
    return std::llrint(zahl) % t == 0;
}

namespace {
// A number from a value (a number or a text holding one).
bool alsZahl(const QVariant& wert, double& z)
{
    if (!wert.isValid() || wert.isNull())
        return false;
    bool ok = false;
    if (wert.typeId() == QMetaType::QString || wert.typeId() == QMetaType::QByteArray)
        z = wert.toString().trimmed().toDouble(&ok);
    else if (wert.typeId() == QMetaType::Bool) {
        z = wert.toBool() ? -1 : 0;
        ok = true;
    } else
        z = wert.toDouble(&ok);
    return ok;
}
} // namespace

int CheckboxWertZurückgeben(const QVariant& wert)
{
    double z = 0;
    if (!alsZahl(wert, z))
        return 0;
    return (z <= -1 || z >= 1) ? 1 : 0;
}

bool cbool2(const QVariant& wert)
{
    double z = 0;
    if (!alsZahl(wert, z))
        return false;
    return z == -1 || z >= 1;
}

QString ZeitFormatieren(double sekunden, bool ohneStunden)
{
    if (sekunden != std::floor(sekunden))
        return QString();
    const long long s = sekunden < 0 ? 0 : (long long)sekunden;
    const long long h = s / 3600;
    const long long m = (s - h * 3600) / 60;
    const long long r = s - h * 3600 - m * 60;
    QString aus;
    if (!(ohneStunden && h == 0))
        aus = QString::number(h) + QLatin1Char(':');
    aus += QStringLiteral("%1:%2").arg(m, 2, 10, QLatin1Char('0')).arg(r, 2, 10, QLatin1Char('0'));
    return aus;
}

// --- launchers -------------------------------------------------------------

double ProgrammStarten(const QString& datei, const QString& parameter)
{
    if (datei.isEmpty())
        return 0;
    const QFileInfo info(datei);
    if (!parameter.isEmpty() && info.isFile() && info.isExecutable())
        return QProcess::startDetached(datei, QProcess::splitCommand(parameter)) ? 33 : 0;
    return Shell::UrlÖffnen(Shell::AlsUrl(datei)) ? 33 : 0;
}

double ProgrammStartenVB(const QString& programm, const QString& parameter)
{
    return ProgrammStartenArgumente(programm, QProcess::splitCommand(parameter));
}

double ProgrammStartenArgumente(const QString& programm, const QStringList& argumente)
{
    qint64 pid = 0;
    QProcess p;
    p.setProgram(programm);
    p.setArguments(argumente);
    if (p.startDetached(&pid) && pid > 0)
        return double(pid);
    MeldungZeigen(QStringLiteral("Ein Fehler (Fehler 53, Beschreibung: Datei nicht gefunden: ") + programm
                      + QStringLiteral(") ist beim Starten eines Programmes aufgetreten."),
                  Knöpfe::OK, Symbol::Ausruf);
    return 0;
}

bool MitStandardprogrammÖffnen(const QString& dateiOderAdresse, QObject* besitzer, const QString& einleitung)
{
    if (ProgrammStarten(dateiOderAdresse, QString()) != 0)
        return true;
    const bool adresse = !Shell::AlsUrl(dateiOderAdresse).isLocalFile();
    MeldungZeigen(einleitung + (adresse ? QStringLiteral(" mit der Adresse '") : QStringLiteral(" mit der Datei '"))
                      + dateiOderAdresse + QStringLiteral("' verknüpfte Programm konnte nicht gestartet werden."),
                  Knöpfe::OK, Symbol::Information, besitzer);
    return false;
}

void HilfeAnzeigen(QObject* besitzer)
{
    const QString hilfe = PfadVerbinden(DatenOrdner(), QStringLiteral("hilfe/index.htm"));
    if (DoesExist(hilfe)) {
        MitStandardprogrammÖffnen(hilfe, besitzer);
        return;
    }
    MeldungZeigen(QStringLiteral("Die Hilfedatei '") + hilfe + QStringLiteral("' wurde nicht gefunden.\n")
                      + QStringLiteral("Bitte installieren Sie dieses Programm neu, um diese Informationen anzuzeigen."),
                  Knöpfe::OK, Symbol::Ausruf, besitzer);
}

QDateTime JetztSekundengenau()
{
    const QDateTime jetzt = QDateTime::currentDateTime();
    return jetzt.addMSecs(-jetzt.time().msec());
}

namespace {
QString ZeichenweiseÄndern(const QString& text, bool groß)
{
    QString s = text;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            const char32_t c = QChar::surrogateToUcs4(s[i], s[i + 1]);
            const char32_t n = groß ? QChar::toUpper(c) : QChar::toLower(c);
            if (QChar::requiresSurrogates(n)) {
                s[i] = QChar(QChar::highSurrogate(n));
                s[i + 1] = QChar(QChar::lowSurrogate(n));
            }
            ++i;
        } else {
            s[i] = groß ? s[i].toUpper() : s[i].toLower();
        }
    }
    return s;
}
} // namespace

QString ZeichenweiseGroß(const QString& text) { return ZeichenweiseÄndern(text, true); }
QString ZeichenweiseKlein(const QString& text) { return ZeichenweiseÄndern(text, false); }

#include "core/Dateihelfer.h"

#include "core/Funktionen.h"
#include "core/Index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <limits>

bool DateiTypPrüfen(const Index& index, const QString& strDatei, bool bolNurMpegAudio, bool bolKeinAudio,
                    bool bolKeineBilder, bool bolNurAktive)
{
    const QString endung = DateiEndungZurückgeben(strDatei);
    const QStringView ohnePunkt = endung.isEmpty() ? QStringView() : QStringView(endung).sliced(1);
    qsizetype treffer = -1;
    bool alleAnderen = false;
    for (qsizetype i = 0; i < index.strDateiTypen.size(); ++i) {
        const QString& eintrag = index.strDateiTypen[i];
        const qsizetype gleich = eintrag.indexOf(QLatin1Char('='));
        const QStringView typ = QStringView(eintrag).first(gleich < 0 ? eintrag.size() : gleich);
        if (!endung.isEmpty() && typ.compare(ohnePunkt, Qt::CaseInsensitive) == 0) {
            treffer = i;
            break;
        }
        if (eintrag == QLatin1String("*=1"))
            alleAnderen = true;
    }
    if (treffer < 0)
        return bolNurAktive && alleAnderen;
    if (bolNurAktive && index.strDateiTypen[treffer].endsWith(QLatin1Char('0')))
        return false;
    const QString art = treffer < index.strDateiTypArten.size() ? index.strDateiTypArten[treffer] : QString();
    const auto an = [&](int stelle) { return art.size() > stelle && art[stelle] == QLatin1Char('1'); };
    if (an(0))
        return !bolKeinAudio;
    if (an(1))
        return !bolKeinAudio && !bolNurMpegAudio;
    if (an(2))
        return !bolKeineBilder && !bolNurMpegAudio;
    return true;
}

bool DateiLöschen(const QString& strDatei)
{
    if (strDatei.isEmpty())
        return true;
    // Gone only when the name names nothing: one that cannot be looked at
    // (a folder that may not be searched) is no deleted file.
    const QByteArray name = QFile::encodeName(strDatei);
    const auto weg = [&name] {
        struct stat st;
        return ::lstat(name.constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
    };
    if (weg())
        return true;
    if (QFileInfo(strDatei).isDir())
        return false;
    // The file's own bits do not decide a delete here, its folder's do: a
    // file that stays keeps its mode.
    ::unlink(name.constData());
    return weg();
}

bool IstOrdner(const QString& pfad)
{
    return !pfad.isEmpty() && QFileInfo(pfad).isDir();
}

namespace {

enum class Inhalt { Leer, NichtLeer, Unlesbar };

// What listing the folder finds; a failed open or read is no empty folder.
Inhalt OrdnerInhalt(const QString& ordner)
{
    if (ordner.isEmpty())
        return Inhalt::Unlesbar;
    DIR* d = ::opendir(QFile::encodeName(ordner).constData());
    if (!d)
        return Inhalt::Unlesbar;
    Inhalt inhalt = Inhalt::Leer;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
            inhalt = Inhalt::NichtLeer;
            break;
        }
    }
    if (inhalt == Inhalt::Leer && errno != 0)
        inhalt = Inhalt::Unlesbar;
    ::closedir(d);
    return inhalt;
}

} // namespace

bool WeitereDateienInOrdner(const QString& ordner)
{
    return OrdnerInhalt(ordner) == Inhalt::NichtLeer;
}

bool OrdnerLeer(const QString& ordner)
{
    return OrdnerInhalt(ordner) == Inhalt::Leer;
}

bool OrdnerLöschen(const QString& pfad)
{
    if (!IstOrdner(pfad))
        return true;
    return QDir().rmdir(pfad);
}

QString ZählerErhöhen(const QString& strZahl)
{
    bool zahl = false;
    const double wert = std::nearbyint(strZahl.trimmed().toDouble(&zahl));
    if (!zahl || !(wert < std::numeric_limits<qint32>::max() && wert >= std::numeric_limits<qint32>::min()))
        return QString();
    return QString::number(ZahlZurückgeben(strZahl) + 1);
}

QString FortlaufendenDateinamen(const QString& strPfad, const QString& strAnfang, const QString& strStartZahl,
                                const QString& strEnde)
{
    const QString ordner = PfadZurückgeben(strPfad);
    const QString endung = DateiEndungZurückgeben(strPfad);
    QString zähler = strStartZahl;
    const auto kandidat = [&] { return PfadVerbinden(ordner, strAnfang + zähler + strEnde + endung); };
    // Any entry holds a name, a FIFO or folder as well as a file.
    const auto vergeben = [](const QString& n) { return QFileInfo::exists(n) || QFileInfo(n).isSymLink(); };
    QString name = kandidat();
    for (int schritte = 0; vergeben(name); ++schritte) {
        if (schritte == 10000)
            return QString();
        zähler = ZählerErhöhen(zähler);
        name = kandidat();
    }
    return name;
}

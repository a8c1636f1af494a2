// ID3v2 tag writing over made tags. The first byte steers: bits 0-1 how the
// file is made (0: the rest as the file's bytes; 1-3: a header of major
// version 2-4 around the rest, whose first byte gives the header flags),
// bit 2 other bytes in front of it, bits 3-7 the field changed (0-17, or
// 18-31 for a field emptied). Audio frames follow. The file is written with
// the changed record (for every fifth input with an ID3v1 block too, as one
// save) and read again: a failed write leaves the file as it was; a
// successful one leaves a 2.3 tag at byte 0 whose fields are the ones
// written, every frame kept from the old tag, and every byte that is not the
// old tag behind it (then the block). A write in place changes bytes of one
// 4 KiB block only and leaves every kept frame where it stood, also when it
// is stopped behind its write (as by a kill, for every third input). ASan
// and UBSan watch every read and write.
#include "core/Einstellungen.h"
#include "core/SichereDatei.h"
#include "media/Id3v2Lesen.h"
#include "media/MedienDatei.h"
#include "media/TagSchreiben.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kKommentar = 8, kLink = 3, kZähler = 0, kJahr = 9;

void Scheitern(const char* warum)
{
    std::fprintf(stderr, "tagschreiben: %s\n", warum);
    __builtin_trap();
}

// A folder of this process's own, in memory where there is such a place.
const QString& Ordner()
{
    static const QString o = [] {
        const QString basis = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString pfad = basis + QStringLiteral("/kalvero-fuzz-%1").arg(::getpid());
        QDir().mkpath(pfad);
        return pfad;
    }();
    // Registered once the name is made, so it runs before the name is gone.
    static const bool aufgeräumt = (std::atexit([] { QDir(Ordner()).removeRecursively(); }), true);
    (void)aufgeräumt;
    return o;
}

QByteArray Dateiinhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

QByteArray Syncsafe(quint32 n)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i, n >>= 7)
        b[i] = char(n & 0x7F);
    return b;
}

// Kept frames (2.3 layout) one by one.
std::vector<QByteArray> Einzeln(const QByteArray& roh)
{
    std::vector<QByteArray> frames;
    for (qsizetype pos = 0; pos + 10 <= roh.size();) {
        const auto* u = reinterpret_cast<const unsigned char*>(roh.constData() + pos + 4);
        const qsizetype größe = (qsizetype(u[0]) << 24) | (u[1] << 16) | (u[2] << 8) | u[3];
        if (größe > roh.size() - pos - 10)
            Scheitern("a kept frame runs past the kept bytes");
        frames.push_back(roh.mid(pos, 10 + größe));
        pos += 10 + größe;
    }
    return frames;
}

// Thrown where a kill stops a write.
struct Halt {};

// What a counter reads back as: a number that fits 64 bits, else nothing.
QString Zahl(const QString& text)
{
    bool ok = text.size() <= 20 && !text.isEmpty()
           && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    const quint64 wert = ok ? text.toULongLong(&ok) : 0;
    return ok ? QString::number(wert) : QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString pfad = Ordner() + QStringLiteral("/f.mp3");
    if (size < 1)
        return 0;
    einstellungen().TAGsBytesSuchen = 102400;
    einstellungen().TAGsProzentHinzufügen = 25;
    const quint8 steuer = data[0];
    QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    QByteArray datei;
    if (steuer & 4)
        datei = QByteArray(100, 'j');
    if (const int art = steuer & 3) {
        const char flags = rest.isEmpty() ? 0 : char(rest[0] & 0xF0);
        rest.remove(0, 1);
        datei += QByteArray("ID3", 3) + char(art + 1) + '\0' + flags + Syncsafe(quint32(rest.size())) + rest;
    } else {
        datei += rest;
    }
    QByteArray audio;
    for (int i = 0; i < 3; ++i)
        audio += QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(413, 0x55);
    datei += audio;

    QFile::remove(pfad);
    QFile::remove(pfad + QStringLiteral("-neu"));
    {
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(datei) != datei.size())
            Scheitern("cannot make the file");
    }

    // The old tag as the writer finds it, and its kept frames one by one.
    Id3v2Fund fund;
    Id3v2Ergebnis alt;
    std::vector<QByteArray> gehalten;
    std::array<QByteArray, kId3v2Felder> feldFrames;
    {
        MedienDatei d(pfad);
        fund = d.Id3v2Finden(102400);
        if ((datei.startsWith("RIFF") || datei.startsWith("FORM")) && fund.position > 0)
            fund = Id3v2Fund();
        if (fund.position >= 0) {
            const QByteArray roh = d.Einlesen(fund.position, fund.kopf.GesamtGröße());
            alt = Id3v2Lesen(roh);
            const Id3v2Ergebnis einzeln = Id3v2Lesen(roh, false);
            for (const QByteArray& f : einzeln.weitere)
                gehalten.push_back(QByteArray(f.constData(), f.size()));
            for (size_t i = 0; i < feldFrames.size(); ++i)
                feldFrames[i] = QByteArray(einzeln.feldFrames[i].constData(), einzeln.feldFrames[i].size());
        }
    }
    struct stat vorher;
    if (::stat(QFile::encodeName(pfad).constData(), &vorher) != 0)
        Scheitern("cannot stat the file");
    MedienInfo m;
    Id3v2Übernehmen(alt, std::max<qint64>(fund.position, 0), m);

    const auto& felder = Id3v2FrameFelder();
    const int wahl = steuer >> 3;
    const int feld = wahl % kId3v2Felder;
    const bool leeren = wahl >= kId3v2Felder;
    // Texts of one byte a character (C1 controls among them) and wider ones.
    const QString text = size % 2 ? QStringLiteral("Neu %1 \u00E4\u0085") : QStringLiteral("Neu %1 Ä€東");
    const QString wert = feld == kZähler ? QString::number(size)
                       : feld == kLink   ? QStringLiteral("https://f.example/%1").arg(size)
                                         : text.arg(size);
    m.*felder[size_t(feld)].feld = leeren ? QString() : wert;

    // Every third input is stopped behind its first write in place.
    const bool anhalten = size % 3 == 0;
    const bool beide = size % 5 == 0;
    QByteArray block = QByteArray("TAG", 3) + QByteArray::number(qulonglong(size)).leftJustified(125, '\0');
    if (anhalten)
        SichereDatei::TestHaken([](SichereDatei::Schritt s) {
            if (s == SichereDatei::Schritt::MittenImSchreiben)
                throw Halt();
        });
    QString fehler;
    bool ok = false, angehalten = false;
    try {
        ok = beide ? Mp3TAGSpeichernBeide(pfad, m, block, fehler) : Mp3TAGSpeichernV2(pfad, m, fehler);
    } catch (const Halt&) {
        angehalten = true;
    }
    SichereDatei::TestHaken({});
    const QByteArray neu = Dateiinhalt(pfad);
    if (QFile::exists(pfad + QStringLiteral("-neu")))
        Scheitern("a temporary file is left");
    struct stat nachher;
    const bool anOrt = ::stat(QFile::encodeName(pfad).constData(), &nachher) == 0 && nachher.st_ino == vorher.st_ino;
    // A year typed or emptied is the tag's only date frame: the others go.
    const auto datumGeht = [&](const QByteArray& f) {
        return feld == kJahr && (f.startsWith("TYER") || f.startsWith("TDRC") || f.startsWith("TDAT") || f.startsWith("TIME"));
    };
    // In place a kept frame stands where the same bytes stood before: none
    // of its bytes was written.
    if ((ok && anOrt) || angehalten)
        for (const QByteArray& f : gehalten) {
            if (datumGeht(f))
                continue;
            bool steht = false;
            for (qsizetype o = neu.indexOf(f); o >= 0 && !steht; o = neu.indexOf(f, o + 1))
                steht = datei.mid(o, f.size()) == f;
            if (!steht)
                Scheitern("a kept frame moved or changed in place");
        }
    if (angehalten) {
        // The ID3v1 block of both tags may be appended in place as well.
        const QByteArray ohneBlock = beide && neu.size() == datei.size() + 128 && neu.endsWith(block) ? neu.chopped(128) : neu;
        if (!anOrt || ohneBlock.size() != datei.size() || ohneBlock.mid(fund.ende()) != datei.mid(fund.ende()))
            Scheitern("a stopped write changed more than the tag");
        return 0;
    }
    if (ok && anOrt) {
        qint64 erst = -1, letzt = -1;
        for (qint64 i = 0; i < std::min(neu.size(), datei.size()); ++i)
            if (neu[i] != datei[i]) {
                erst = erst < 0 ? i : erst;
                letzt = i;
            }
        if (erst >= 0 && erst / 4096 != letzt / 4096)
            Scheitern("a write in place changed bytes of two blocks");
    }
    if (!ok) {
        if (neu != datei)
            Scheitern("a failed write changed the file");
        if (fehler.isEmpty())
            Scheitern("a failure without a message");
        return 0;
    }

    const auto kopf = Id3v2KopfLesen(neu);
    if (!kopf || kopf->haupt != 3 || kopf->GesamtGröße() > neu.size())
        Scheitern("no 2.3 tag at the start");
    QByteArray ohneTag = datei;
    if (fund.position >= 0)
        ohneTag.remove(fund.position, fund.kopf.GesamtGröße());
    if (beide)
        ohneTag += block; // the file ends in audio frames: appended
    if (neu.mid(kopf->GesamtGröße()) != ohneTag)
        Scheitern("the bytes behind the tag are not the file without its old tag");

    const Id3v2Ergebnis gelesen = Id3v2Lesen(neu);
    const std::vector<QByteArray> behalten = fund.position >= 0 && alt.kopf.haupt > 2 ? Einzeln(alt.weitereFrames) : std::vector<QByteArray>();
    std::vector<QByteArray> danach = Einzeln(gelesen.weitereFrames);
    // A comment or link emptied makes room for one kept without description;
    // one written replaces only the frame it was read from.
    QStringList möglich[2] = {{QString()}, {QString()}};
    for (const QByteArray& f : behalten) {
        const bool comm = f.startsWith("COMM"), wxxx = f.startsWith("WXXX");
        const bool geleert = leeren && feld == (wxxx ? kLink : kKommentar);
        if (geleert && (comm || wxxx) && Id3v2OhneBeschreibung(f)) {
            const QByteArray tag = QByteArray("ID3\x03\0\0", 6) + Syncsafe(quint32(f.size())) + f;
            möglich[wxxx].append(Id3v2Lesen(tag).felder[size_t(wxxx ? kLink : kKommentar)]);
            continue; // may be the one that is now the field
        }
        if (datumGeht(f))
            continue;
        const auto it = std::find(danach.begin(), danach.end(), f);
        if (it == danach.end())
            Scheitern("a kept frame is lost");
        danach.erase(it);
    }

    for (int i = 0; i < kId3v2Felder; ++i) {
        QString soll = m.*felder[size_t(i)].feld;
        const QString ist = gelesen.felder[size_t(i)];
        if (i == kZähler)
            soll = Zahl(soll);
        if ((i == kKommentar || i == kLink) && soll.isEmpty()) {
            if (alt.kopf.haupt > 2 && !möglich[i == kLink].contains(ist))
                Scheitern("an emptied comment or link shows a text from nowhere");
            continue;
        }
        // A 2.4 frame kept for an unchanged field holds its values as 2.3
        // does: it reads as that frame alone reads.
        const QByteArray& frame = feldFrames[size_t(i)];
        if (i != feld && alt.kopf.haupt == 4 && !frame.isEmpty())
            soll = Id3v2Lesen(QByteArray("ID3\x03\0\0", 6) + Syncsafe(quint32(frame.size())) + frame).felder[size_t(i)];
        if (ist != soll) {
            std::fprintf(stderr, "field %d: wrote '%s', read '%s'\n", i, soll.toUtf8().constData(), ist.toUtf8().constData());
            Scheitern("a field does not read back as written");
        }
    }
    return 0;
}

#include "support/Mp3Bauer.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <stdexcept>

namespace Mp3Bauer {

namespace {

int BitrateIndex(int version, int layer, int bitrate)
{
    static const int tabellen[5][15] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    };
    const int zeile = version == 1 ? layer - 1 : (layer == 1 ? 3 : 4);
    for (int i = 0; i < 15; ++i)
        if (tabellen[zeile][i] == bitrate)
            return i;
    throw std::invalid_argument("bitrate not in the table of this version and layer");
}

int FrequenzIndex(int version, int frequenz)
{
    static const int tabelle[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    const int zeile = version == 1 ? 0 : (version == 2 ? 1 : 2);
    for (int i = 0; i < 3; ++i)
        if (tabelle[zeile][i] == frequenz)
            return i;
    throw std::invalid_argument("sample rate not of this version");
}

} // namespace

QByteArray BigEndian32(quint32 n)
{
    QByteArray b(4, '\0');
    qToBigEndian(n, b.data());
    return b;
}

QByteArray Syncsafe(quint32 n)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i) {
        b[i] = char(n & 0x7F);
        n >>= 7;
    }
    return b;
}

// --- frames ----------------------------------------------------------------------

QByteArray Frame::Kopf() const
{
    quint32 h = 0xFFE00000u;
    h |= quint32(version == 1 ? 3 : (version == 2 ? 2 : 0)) << 19;
    h |= quint32(4 - layer) << 17;
    h |= quint32(crc ? 0 : 1) << 16;
    h |= quint32(BitrateIndex(version, layer, bitrate)) << 12;
    h |= quint32(FrequenzIndex(version, frequenz)) << 10;
    h |= quint32(padding) << 9;
    h |= quint32(privat) << 8;
    h |= quint32(modus & 3) << 6;
    h |= quint32(copyright) << 3;
    h |= quint32(original) << 2;
    h |= quint32(emphasis & 3);
    return BigEndian32(h);
}

int Frame::SamplesProFrame() const
{
    if (layer == 1)
        return 384;
    return (layer == 2 || version == 1) ? 1152 : 576;
}

int Frame::Länge() const
{
    const int pad = padding ? 1 : 0;
    if (bitrate == 0)
        return freieLänge + pad;
    if (layer == 1)
        return (12 * bitrate * 1000 / frequenz + pad) * 4;
    return SamplesProFrame() / 8 * bitrate * 1000 / frequenz + pad;
}

int Frame::XingOffset() const
{
    const bool mono = modus == 3;
    return 4 + (version == 1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
}

QByteArray Frame::Bytes(char füllung) const
{
    QByteArray b = Kopf();
    b.append(QByteArray(Länge() - 4, füllung));
    return b;
}

QByteArray Frames(const Frame& f, int anzahl)
{
    const QByteArray eins = f.Bytes();
    QByteArray alle;
    alle.reserve(qsizetype(eins.size()) * anzahl);
    for (int i = 0; i < anzahl; ++i)
        alle.append(eins);
    return alle;
}

QByteArray XingFrame(const Frame& f, std::optional<quint32> frames, std::optional<quint32> bytes, bool info)
{
    QByteArray b = f.Bytes('\0');
    QByteArray x = info ? QByteArray("Info") : QByteArray("Xing");
    x.append(BigEndian32((frames ? 1u : 0u) | (bytes ? 2u : 0u)));
    if (frames)
        x.append(BigEndian32(*frames));
    if (bytes)
        x.append(BigEndian32(*bytes));
    b.replace(f.XingOffset(), x.size(), x);
    return b;
}

QByteArray VbriFrame(const Frame& f, quint32 frames, quint32 bytes)
{
    QByteArray b = f.Bytes('\0');
    QByteArray v("VBRI");
    v.append("\x00\x01", 2);          // version
    v.append("\x00\x00", 2);          // delay
    v.append("\x00\x4B", 2);          // quality
    v.append(BigEndian32(bytes));
    v.append(BigEndian32(frames));
    v.append(QByteArray(4, '\0'));    // table size, scale, entry size
    b.replace(36, v.size(), v);
    return b;
}

// --- ID3v1 -----------------------------------------------------------------------

QByteArray Id3v1Block(const Id3v1& t)
{
    QByteArray b(128, '\0');
    const auto setzen = [&](int ab, int länge, const QByteArray& wert) { b.replace(ab, std::min<int>(länge, wert.size()), wert.left(länge)); };
    b.replace(0, 3, "TAG");
    setzen(3, 30, t.titel);
    setzen(33, 30, t.interpret);
    setzen(63, 30, t.album);
    setzen(93, 4, t.jahr);
    if (t.spur >= 0) {
        setzen(97, 28, t.kommentar);
        b[125] = 0;
        b[126] = char(t.spur);
    } else {
        setzen(97, 30, t.kommentar);
    }
    b[127] = char(t.genre);
    return b;
}

// --- ID3v2 -----------------------------------------------------------------------

char KodierungsByte(Kodierung k)
{
    switch (k) {
    case Kodierung::Latin1: return 0;
    case Kodierung::Utf16Bom:
    case Kodierung::Utf16BomBE:
    case Kodierung::Utf16OhneBom: return 1;
    case Kodierung::Utf16BE: return 2;
    case Kodierung::Utf8: return 3;
    }
    return 0;
}

QByteArray TextBytes(const QString& text, Kodierung k)
{
    const auto utf16 = [&](bool be) {
        QByteArray b;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            const char hi = char(u >> 8), lo = char(u & 0xFF);
            b.append(be ? hi : lo);
            b.append(be ? lo : hi);
        }
        return b;
    };
    switch (k) {
    case Kodierung::Latin1: return text.toLatin1();
    case Kodierung::Utf16Bom: return QByteArray("\xFF\xFE", 2) + utf16(false);
    case Kodierung::Utf16BomBE: return QByteArray("\xFE\xFF", 2) + utf16(true);
    case Kodierung::Utf16OhneBom: return utf16(false);
    case Kodierung::Utf16BE: return utf16(true);
    case Kodierung::Utf8: return text.toUtf8();
    }
    return {};
}

QByteArray Terminator(Kodierung k)
{
    const char e = KodierungsByte(k);
    return QByteArray(e == 1 || e == 2 ? 2 : 1, '\0');
}

Id3v2Frame TextFrame(const QByteArray& id, const QStringList& texte, Kodierung k)
{
    QByteArray d(1, KodierungsByte(k));
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (i > 0)
            d.append(Terminator(k));
        d.append(TextBytes(texte[i], k));
    }
    return {id, d};
}

Id3v2Frame TextFrame(const QByteArray& id, const QString& text, Kodierung k, bool mitTerminator)
{
    Id3v2Frame f = TextFrame(id, QStringList{text}, k);
    if (mitTerminator)
        f.daten.append(Terminator(k));
    return f;
}

Id3v2Frame KommentarFrame(const QString& text, const QString& beschreibung, Kodierung k, const QByteArray& sprache,
                          const QByteArray& id)
{
    QByteArray d(1, KodierungsByte(k));
    d.append(sprache.left(3));
    d.append(TextBytes(beschreibung, k));
    d.append(Terminator(k));
    d.append(TextBytes(text, k));
    return {id, d};
}

Id3v2Frame LinkFrame(const QString& adresse, const QString& beschreibung, Kodierung k)
{
    QByteArray d(1, KodierungsByte(k));
    d.append(TextBytes(beschreibung, k));
    d.append(Terminator(k));
    d.append(adresse.toLatin1());
    return {"WXXX", d};
}

Id3v2Frame RohFrame(const QByteArray& id, const QByteArray& daten)
{
    return {id, daten};
}

QByteArray Unsynchronisieren(const QByteArray& d)
{
    QByteArray aus;
    aus.reserve(d.size() + d.size() / 16);
    for (qsizetype i = 0; i < d.size(); ++i) {
        aus.append(d[i]);
        if (static_cast<unsigned char>(d[i]) != 0xFF)
            continue;
        if (i + 1 == d.size() || (static_cast<unsigned char>(d[i + 1]) & 0xE0) == 0xE0 || d[i + 1] == 0)
            aus.append('\0');
    }
    return aus;
}

QByteArray Id3v2Tag::Bytes() const
{
    QByteArray körper;
    if (erweiterterKopf && version == 3)
        körper.append(QByteArray("\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00", 10));
    else if (erweiterterKopf && version == 4)
        körper.append(QByteArray("\x00\x00\x00\x06\x01\x00", 6));
    for (const Id3v2Frame& f : frames) {
        QByteArray daten = f.daten;
        quint8 format = f.format;
        if (version == 4 && unsynchronisiert) {
            daten = Unsynchronisieren(daten);
            format |= 0x02;
        }
        körper.append(f.id);
        if (version == 2) {
            körper.append(BigEndian32(quint32(daten.size())).right(3));
        } else {
            körper.append(version == 4 && !plainGrößen ? Syncsafe(quint32(daten.size())) : BigEndian32(quint32(daten.size())));
            körper.append(char(f.status));
            körper.append(char(format));
        }
        körper.append(daten);
    }
    körper.append(QByteArray(padding, '\0'));
    if (version < 4 && unsynchronisiert)
        körper = Unsynchronisieren(körper);

    quint8 flags = zusatzFlags;
    if (unsynchronisiert)
        flags |= 0x80;
    if (erweiterterKopf)
        flags |= 0x40;
    if (fußzeile)
        flags |= 0x10;
    const QByteArray größe = größenFeld ? *größenFeld : Syncsafe(quint32(körper.size()));
    QByteArray kopf("ID3");
    kopf.append(char(version));
    kopf.append(char(revision));
    kopf.append(char(flags));
    kopf.append(größe);
    QByteArray tag = kopf + körper;
    if (fußzeile) {
        QByteArray fuß = kopf;
        fuß.replace(0, 3, "3DI");
        tag.append(fuß);
    }
    return tag;
}

// --- files -----------------------------------------------------------------------

QString DateiSchreiben(const QTemporaryDir& ordner, const QString& name, const QByteArray& daten)
{
    const QString pfad = ordner.filePath(name);
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(daten) != daten.size())
        throw std::runtime_error("cannot write test file");
    return pfad;
}

} // namespace Mp3Bauer

#include "media/MpegKopf.h"

#include "media/MedienDatei.h"

#include <QtEndian>
#include <cmath>
#include <limits>

namespace {

// kbit/s by bitrate index; rows: MPEG-1 layer I, II, III, MPEG-2/2.5 layer I, layer II/III.
constexpr int kBitraten[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr int kFrequenzen[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

// Version, layer and sample rate: what must stay the same from frame to frame.
constexpr quint32 kStromMaske = 0xFFFE0C00u;

// Longest frame a free-format stream may have that we still follow.
constexpr qint64 kFreiesFormatMax = 8192;

quint32 be32(const char* p)
{
    return qFromBigEndian<quint32>(p);
}

} // namespace

int MpegKopf::SamplesProFrame() const
{
    if (layer == 1)
        return 384;
    if (layer == 2 || version == 1)
        return 1152;
    return 576;
}

int MpegKopf::FrameLänge() const
{
    if (bitrate <= 0 || frequenz <= 0)
        return 0;
    const int pad = padding ? 1 : 0;
    if (layer == 1)
        return (12 * bitrate * 1000 / frequenz + pad) * 4;
    return SamplesProFrame() / 8 * bitrate * 1000 / frequenz + pad;
}

double MpegKopf::MittlereFrameLänge() const
{
    if (bitrate <= 0 || frequenz <= 0)
        return 0;
    return SamplesProFrame() / 8.0 * bitrate * 1000.0 / frequenz;
}

int MpegKopf::XingOffset() const
{
    const bool mono = modus == 3;
    if (version == 1)
        return 4 + (mono ? 17 : 32);
    return 4 + (mono ? 9 : 17);
}

QString MpegKopf::ModusText() const
{
    static const char* const texte[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Single Channel"};
    return QString::fromLatin1(texte[modus & 3]);
}

QString MpegKopf::EmphasisText() const
{
    static const char* const texte[4] = {"Nein", "50/15", "Reserviert", "CCITT J 17"};
    return QString::fromLatin1(texte[emphasis & 3]);
}

std::optional<MpegKopf> MpegKopfLesen(QByteArrayView b)
{
    if (b.size() < 4)
        return std::nullopt;
    const quint32 h = be32(b.data());
    if ((h & 0xFFE00000u) != 0xFFE00000u)
        return std::nullopt;
    MpegKopf k;
    k.roh = h;
    switch ((h >> 19) & 3) {
    case 0: k.version = 25; break;
    case 2: k.version = 2; break;
    case 3: k.version = 1; break;
    default: return std::nullopt;
    }
    const int layerBits = (h >> 17) & 3;
    if (layerBits == 0)
        return std::nullopt;
    k.layer = 4 - layerBits;
    k.crc = ((h >> 16) & 1) == 0;
    const int bitIndex = (h >> 12) & 15;
    const int freqIndex = (h >> 10) & 3;
    if (bitIndex == 15 || freqIndex == 3)
        return std::nullopt;
    const int zeile = k.version == 1 ? k.layer - 1 : (k.layer == 1 ? 3 : 4);
    k.bitrate = kBitraten[zeile][bitIndex];
    k.frequenz = kFrequenzen[k.version == 1 ? 0 : (k.version == 2 ? 1 : 2)][freqIndex];
    k.padding = (h >> 9) & 1;
    k.privat = (h >> 8) & 1;
    k.modus = (h >> 6) & 3;
    k.copyright = (h >> 3) & 1;
    k.original = (h >> 2) & 1;
    k.emphasis = h & 3;
    return k;
}

namespace {

// Xing/Info or VBRI in the first frame (`frame` = its bytes as far as read).
void VbrKopfLesen(QByteArrayView frame, MpegErgebnis& e)
{
    const auto frameZahl = [](quint32 n) -> qint64 { return n > 0 && n <= quint32(std::numeric_limits<qint32>::max()) ? qint64(n) : -1; };
    // A CRC puts two more bytes in front of the side information.
    for (int off : {e.kopf.XingOffset(), e.kopf.XingOffset() + 2}) {
        if (off == e.kopf.XingOffset() + 2 && !e.kopf.crc)
            break;
        if (frame.size() < off + 8)
            continue;
        const QByteArrayView id = frame.sliced(off, 4);
        const bool xing = id == QByteArrayView("Xing");
        if (!xing && id != QByteArrayView("Info"))
            continue;
        e.xing = xing;
        e.info = !xing;
        const quint32 flags = be32(frame.data() + off + 4);
        if ((flags & 1) && frame.size() >= off + 12)
            e.vbrFrames = frameZahl(be32(frame.data() + off + 8));
        return;
    }
    constexpr int vbri = 4 + 32;
    if (frame.size() >= vbri + 18 && frame.sliced(vbri, 4) == QByteArrayView("VBRI")) {
        e.xing = true;
        e.vbrFrames = frameZahl(be32(frame.data() + vbri + 14));
    }
}

} // namespace

MpegErgebnis MpegRahmenSuchen(QByteArrayView daten, qint64 basis, qint64 von, qint64 bis, qint64 audioEnde)
{
    MpegErgebnis e;
    const qint64 datenEnde = basis + daten.size();
    const auto* d = reinterpret_cast<const unsigned char*>(daten.data());
    const auto mehr = [&](qint64 ab) {
        e.status = MpegErgebnis::MehrDaten;
        e.weiterAb = ab;
        return e;
    };
    von = std::max(von, basis);
    bis = std::min(bis, audioEnde);
    for (qint64 p = von; p < bis; ++p) {
        if (p + 4 > datenEnde)
            return p + 4 <= audioEnde ? mehr(p) : e;
        const qint64 i = p - basis;
        if (d[i] != 0xFF || (d[i + 1] & 0xE0) != 0xE0)
            continue;
        const auto k = MpegKopfLesen(daten.sliced(i, 4));
        if (!k)
            continue;
        bool bestätigt = false;
        if (k->bitrate == 0) {
            // Free format: the next header of the same stream must follow within reach.
            const qint64 ende = std::min(p + kFreiesFormatMax, audioEnde - 4);
            if (ende > datenEnde - 4)
                return mehr(p);
            for (qint64 q = p + 4; q <= ende && !bestätigt; ++q) {
                const qint64 j = q - basis;
                if (d[j] != 0xFF)
                    continue;
                const auto n = MpegKopfLesen(daten.sliced(j, 4));
                bestätigt = n && n->bitrate == 0 && (n->roh & kStromMaske) == (k->roh & kStromMaske);
            }
        } else {
            const qint64 nächster = p + k->FrameLänge();
            if (nächster == audioEnde) {
                bestätigt = true;
            } else if (nächster + 4 <= audioEnde) {
                if (nächster + 4 > datenEnde)
                    return mehr(p);
                const auto n = MpegKopfLesen(daten.sliced(nächster - basis, 4));
                bestätigt = n && (n->roh & kStromMaske) == (k->roh & kStromMaske);
            }
        }
        if (!bestätigt)
            continue;
        e.status = MpegErgebnis::Gefunden;
        e.position = p;
        e.kopf = *k;
        if (k->bitrate > 0) {
            const qint64 länge = std::min<qint64>(k->FrameLänge(), datenEnde - p);
            VbrKopfLesen(daten.sliced(i, länge), e);
        }
        return e;
    }
    return e;
}

MpegWerte MpegWerteBerechnen(const MpegErgebnis& e, qint64 audioEnde)
{
    MpegWerte w;
    const MpegKopf& k = e.kopf;
    if (e.status != MpegErgebnis::Gefunden || k.bitrate <= 0 || k.frequenz <= 0)
        return w; // free format: duration 0, frames unknown
    const double audioBytes = double(std::max<qint64>(0, audioEnde - e.position));
    const auto begrenzt = [](double x) { return qint32(std::clamp(x, 0.0, double(std::numeric_limits<qint32>::max()))); };
    if (e.vbrFrames > 0) {
        const double sekunden = double(e.vbrFrames) * k.SamplesProFrame() / k.frequenz;
        w.frames = qint32(e.vbrFrames);
        w.dauer = begrenzt(std::floor(sekunden));
        w.bitrate = e.xing ? begrenzt(std::round(audioBytes * 8.0 / sekunden / 1000.0)) : k.bitrate;
        return w;
    }
    w.bitrate = k.bitrate;
    w.dauer = begrenzt(std::floor(audioBytes * 8.0 / k.bitrate / 1000.0));
    w.frames = begrenzt(std::round(audioBytes / k.MittlereFrameLänge()));
    return w;
}

void MpegKopfÜbernehmen(const MpegErgebnis& e, qint64 audioEnde, MedienInfo& m)
{
    if (e.status != MpegErgebnis::Gefunden)
        return;
    const MpegKopf& k = e.kopf;
    const MpegWerte w = MpegWerteBerechnen(e, audioEnde);
    m.Header_Position = qint32(std::min<qint64>(e.position, std::numeric_limits<qint32>::max()));
    m.Header_VBR = e.xing;
    m.Header_Version = qint16(k.version);
    m.Header_Layer = qint16(k.layer);
    m.Header_Modus = k.ModusText();
    m.Header_Emphasis = k.EmphasisText();
    m.Header_Frequenz = k.frequenz;
    m.Header_Bitrate = w.bitrate;
    m.Header_Dauer = w.dauer;
    m.Header_Frames = w.frames;
    m.Header_Original = k.original;
    m.Header_Copyright = k.copyright;
    m.Header_Padding = k.padding;
    m.Header_Privat = k.privat;
    m.Header_CRC = k.crc;
}

MedienInfo Mp3HeaderLesen(const QString& strDatei, const MedienInfo& udtAlt)
{
    MedienInfo m = udtAlt;
    MedienDatei datei(strDatei);
    if (!datei.Offen())
        return m;
    const qint64 audioEnde = datei.AudioEnde();
    MpegKopfÜbernehmen(datei.ErstenFrameSuchen(datei.Id3v2Finden(0).ende(), audioEnde), audioEnde, m);
    return m;
}

// --- bit texts --------------------------------------------------------------

double BinärZuDouble(QStringView bits)
{
    double summe = 0;
    for (QChar c : bits)
        summe = summe * 2 + (c == QLatin1Char('1') ? 1 : 0);
    return summe;
}

std::optional<qint32> BinärZuZahl(QStringView bits)
{
    const double wert = std::round(BinärZuDouble(bits));
    if (wert >= 2147483648.0)
        return std::nullopt;
    return qint32(wert);
}

QString BytesZuBinär(const quint8 bytes[4])
{
    QString s;
    for (int i = 0; i < 4; ++i)
        for (int bit = 7; bit >= 0; --bit) {
            const bool eins = (bytes[i] >> bit) & 1;
            if (eins)
                s += QLatin1Char('1');
            else if (!s.isEmpty())
                s += QLatin1Char('0');
        }
    return s;
}

QString ZahlZuBinär(double zahl, int intBytes)
{
    QString s;
    if (intBytes < 1)
        return s;
    double rest = std::floor(zahl);
    for (int k = intBytes * 8 - 1; k >= 0; --k) {
        const double p = std::ldexp(1.0, k);
        if (std::floor(rest / p) == 1) {
            s += QLatin1Char('1');
            rest -= p;
        } else {
            s += QLatin1Char('0');
        }
    }
    return s;
}

QString JaNeinText(const QVariant& wert)
{
    if (!wert.isValid() || wert.isNull())
        return QStringLiteral("Nein");
    if (wert.typeId() == QMetaType::Bool)
        return wert.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    bool zahl = false;
    const double d = wert.toDouble(&zahl);
    if (zahl && d == -1)
        return QStringLiteral("Ja");
    if (zahl && d == 0)
        return QStringLiteral("Nein");
    const QString text = wert.toString();
    return text.isEmpty() ? QStringLiteral("Nein") : text;
}

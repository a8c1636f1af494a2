#include "media/Id3v2Lesen.h"

#include "core/Funktionen.h"
#include "core/Kodierung.h"
#include "media/MedienDatei.h"
#include "media/TagSchreiben.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <vector>

QString Id3v2Kopf::VersionText() const
{
    return QStringLiteral("2.%1.%2").arg(haupt).arg(revision);
}

std::optional<Id3v2Kopf> Id3v2KopfLesen(QByteArrayView d)
{
    if (d.size() < 10 || d[0] != 'I' || d[1] != 'D' || d[2] != '3')
        return std::nullopt;
    const auto* u = reinterpret_cast<const unsigned char*>(d.data());
    if (u[3] < 2 || u[3] > 4 || u[4] == 0xFF)
        return std::nullopt;
    qint64 größe = 0;
    if (!Mp3TAGLesenV2GrößeLesen(d.sliced(6, 4), größe, false))
        return std::nullopt;
    Id3v2Kopf k;
    k.haupt = u[3];
    k.revision = u[4];
    k.flags = u[5];
    k.größe = quint32(größe);
    return k;
}

qint64 Id3v2KopfSuchen(QByteArrayView daten, qint64 bis)
{
    bis = std::min<qint64>(bis, daten.size() - 9);
    for (qint64 p = 0; p < bis; ++p) {
        p = daten.indexOf(QByteArrayView("ID3"), p);
        if (p < 0 || p >= bis)
            return -1;
        if (Id3v2KopfLesen(daten.sliced(p, 10)))
            return p;
    }
    return -1;
}

bool Mp3TAGLesenV2GrößeLesen(QByteArrayView b, qint64& größe, bool nichtSyncSafe)
{
    größe = 0;
    if (b.size() < 3)
        return false;
    const int n = std::min<int>(4, int(b.size()));
    qint64 wert = 0;
    for (int i = 0; i < n; ++i) {
        const auto byte = static_cast<unsigned char>(b[i]);
        if (nichtSyncSafe) {
            wert = (wert << 8) | byte;
        } else {
            if (byte & 0x80)
                return false;
            wert = (wert << 7) | byte;
        }
    }
    größe = wert;
    return true;
}

const std::array<Id3v2FrameFeld, kId3v2Felder>& Id3v2FrameFelder()
{
    static const std::array<Id3v2FrameFeld, kId3v2Felder> tabelle = {{
        {"PCNT", "CNT", &MedienInfo::Mp3_ID3v2_AbspielZähler},
        {"TRCK", "TRK", &MedienInfo::Mp3_ID3v2_Titelnummer},
        {"TENC", "TEN", &MedienInfo::Mp3_ID3v2_EncodiertVon},
        {"WXXX", "WXX", &MedienInfo::Mp3_ID3v2_Link},
        {"TCOP", "TCR", &MedienInfo::Mp3_ID3v2_Copyright},
        {"TOPE", "TOA", &MedienInfo::Mp3_ID3v2_UrsprünglicherInterpret},
        {"TCOM", "TCM", &MedienInfo::Mp3_ID3v2_Songschreiber},
        {"TCON", "TCO", &MedienInfo::Mp3_ID3v2_Musikrichtung},
        {"COMM", "COM", &MedienInfo::Mp3_ID3v2_Kommentar},
        {"TYER", "TYE", &MedienInfo::Mp3_ID3v2_Jahr},
        {"TALB", "TAL", &MedienInfo::Mp3_ID3v2_Album},
        {"TPE1", "TP1", &MedienInfo::Mp3_ID3v2_Interpret},
        {"TIT2", "TT2", &MedienInfo::Mp3_ID3v2_Titel},
        {"TLAN", "TLA", &MedienInfo::Mp3_ID3v2_Sprache},
        {"TLEN", "TLE", &MedienInfo::Mp3_ID3v2_Länge},
        {"TMED", "TMT", &MedienInfo::Mp3_ID3v2_Medientyp},
        {"TPUB", "TPB", &MedienInfo::Mp3_ID3v2_Herausgeber},
        {"TSSE", "TSS", &MedienInfo::Mp3_ID3v2_Software},
    }};
    return tabelle;
}

namespace {

constexpr int kZähler = 0;
constexpr int kLink = 3;
constexpr int kGenre = 7;
constexpr int kKommentar = 8;
constexpr int kJahr = 9;

quint32 syncsafe32(const unsigned char* p)
{
    return (quint32(p[0] & 0x7F) << 21) | (quint32(p[1] & 0x7F) << 14) | (quint32(p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

// Undoes unsynchronisation: every 00 that follows an FF is dropped.
QByteArray Entsynchronisieren(QByteArrayView d)
{
    QByteArray aus;
    aus.reserve(d.size());
    for (qsizetype i = 0; i < d.size(); ++i) {
        aus.append(d[i]);
        if (static_cast<unsigned char>(d[i]) == 0xFF && i + 1 < d.size() && d[i + 1] == 0)
            ++i;
    }
    return aus;
}

bool GültigeId(QByteArrayView id)
{
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// --- texts ------------------------------------------------------------------

bool Breit(quint8 enc) { return enc == 1 || enc == 2; }

// Position of the first terminator at or behind `ab` (two zero bytes on an
// even distance for UTF-16); -1 when there is none.
qsizetype TerminatorFinden(quint8 enc, QByteArrayView b, qsizetype ab)
{
    if (!Breit(enc))
        return b.indexOf('\0', ab);
    for (qsizetype i = ab; i + 1 < b.size(); i += 2)
        if (b[i] == 0 && b[i + 1] == 0)
            return i;
    return -1;
}
qsizetype TerminatorLänge(quint8 enc) { return Breit(enc) ? 2 : 1; }

QString Utf16(QByteArrayView b, bool bigEndian)
{
    QString s(b.size() / 2, Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i + 1 < b.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(b[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(b[bigEndian ? i + 1 : i]);
        *out++ = char16_t((hi << 8) | lo);
    }
    return s;
}

// One string of a frame (no terminator). `bigEndian` carries the byte order
// of the last UTF-16 byte-order mark into strings that have none.
QString TextDekodieren(quint8 enc, QByteArrayView b, bool& bigEndian)
{
    switch (enc) {
    case 1:
        if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xFE) {
            bigEndian = false;
            b = b.sliced(2);
        } else if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFE && static_cast<unsigned char>(b[1]) == 0xFF) {
            bigEndian = true;
            b = b.sliced(2);
        }
        return Utf16(b, bigEndian);
    case 2:
        if (b.size() >= 2 && static_cast<unsigned char>(b[0]) == 0xFE && static_cast<unsigned char>(b[1]) == 0xFF)
            b = b.sliced(2);
        return Utf16(b, true);
    case 3:
        if (b.startsWith("\xEF\xBB\xBF"))
            b = b.sliced(3);
        return Utf8OderCp1252Dekodieren(b);
    default:
        return Cp1252Dekodieren(b);
    }
}

// The strings of a text frame's body (encoding byte, then one or more
// strings); without `leere` only those that are not empty.
std::optional<QStringList> TexteLesen(QByteArrayView b, bool leere = false)
{
    if (b.isEmpty())
        return QStringList();
    const auto enc = static_cast<quint8>(b[0]);
    if (enc > 3)
        return std::nullopt;
    b = b.sliced(1);
    bool bigEndian = enc == 2;
    QStringList texte;
    qsizetype pos = 0;
    while (pos < b.size()) {
        qsizetype ende = TerminatorFinden(enc, b, pos);
        if (ende < 0)
            ende = b.size();
        const QString teil = TextDekodieren(enc, b.sliced(pos, ende - pos), bigEndian);
        if (leere || !teil.isEmpty())
            texte << teil;
        pos = ende + TerminatorLänge(enc);
    }
    return texte;
}

// A text frame: its values joined.
std::optional<QString> TextFrameLesen(QByteArrayView b)
{
    const std::optional<QStringList> texte = TexteLesen(b);
    if (!texte)
        return std::nullopt;
    return SteuerzeichenEntfernen(texte->join(Id3v2WerteFuge()), false);
}

// COMM and WXXX: encoding, (language,) description, then the content.
struct Beschrieben {
    QString text;
    bool ohneBeschreibung = true;
    QByteArray sprache; // COMM: its three bytes, when it has them
};
std::optional<Beschrieben> BeschriebenLesen(QByteArrayView b, bool mitSprache, bool urlLatin1)
{
    // An empty frame is no field (other readers stop at it): it stays raw.
    if (b.isEmpty())
        return std::nullopt;
    const auto enc = static_cast<quint8>(b[0]);
    if (enc > 3)
        return std::nullopt;
    const qsizetype start = mitSprache ? 4 : 1;
    if (b.size() <= start)
        return Beschrieben{};
    Beschrieben e;
    if (mitSprache)
        e.sprache = b.sliced(1, 3).toByteArray();
    b = b.sliced(start);
    bool bigEndian = enc == 2;
    qsizetype ende = TerminatorFinden(enc, b, 0);
    if (ende < 0)
        ende = b.size();
    e.ohneBeschreibung = TextDekodieren(enc, b.first(ende), bigEndian).isEmpty();
    const qsizetype inhalt = std::min(b.size(), ende + TerminatorLänge(enc));
    QByteArrayView rest = b.sliced(inhalt);
    if (urlLatin1) {
        const qsizetype nul = rest.indexOf('\0');
        e.text = QString::fromLatin1(nul < 0 ? rest : rest.first(nul));
    } else {
        const qsizetype nul = TerminatorFinden(enc, rest, 0);
        e.text = TextDekodieren(enc, nul < 0 ? rest : rest.first(nul), bigEndian);
    }
    e.text = SteuerzeichenEntfernen(e.text, false);
    return e;
}

// PCNT: a big-endian counter; the digits form (00 and decimal digits) too.
std::optional<QString> ZählerLesen(QByteArrayView b)
{
    const auto ziffern = [](QByteArrayView z) {
        if (z.isEmpty())
            return false;
        for (char c : z)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if (!b.isEmpty() && b[0] == 0 && ziffern(b.sliced(1)))
        return QString::fromLatin1(b.sliced(1));
    if (b.size() < 4 && ziffern(b))
        return QString::fromLatin1(b);
    qsizetype erstes = 0;
    while (erstes < b.size() && b[erstes] == 0)
        ++erstes;
    if (b.size() - erstes > 8)
        return std::nullopt;
    quint64 wert = 0;
    for (qsizetype i = erstes; i < b.size(); ++i)
        wert = (wert << 8) | static_cast<unsigned char>(b[i]);
    return QString::number(wert);
}

// --- frame walk ---------------------------------------------------------------

struct FrameOrt {
    qsizetype kopf;   // offset of the frame header in the frame area
    qsizetype größe;  // data bytes
    bool seltsam;     // the id is not A-Z/0-9
};
struct Gang {
    std::vector<FrameOrt> frames;
    enum Ende { Genau, Padding, Fehler } ende = Genau;
    qsizetype bis = 0; // where the walk stopped
    qsizetype seltsame = 0;
    // Ended at the tag's end or its padding, every id a proper one.
    bool sauber() const { return ende != Fehler && seltsame == 0; }
};

Gang FramesGehen(QByteArrayView d, qsizetype start, int haupt, bool syncsafe)
{
    Gang g;
    const qsizetype kopf = haupt == 2 ? 6 : 10;
    const qsizetype idLänge = haupt == 2 ? 3 : 4;
    qsizetype pos = start;
    const auto* u = reinterpret_cast<const unsigned char*>(d.data());
    for (;;) {
        g.bis = pos;
        if (pos >= d.size()) {
            g.ende = Gang::Genau;
            return g;
        }
        if (u[pos] == 0) {
            // Padding is zeros to the end; anything else there is damage.
            g.ende = std::all_of(u + pos, u + d.size(), [](unsigned char c) { return c == 0; }) ? Gang::Padding : Gang::Fehler;
            return g;
        }
        // A frame with an odd id is still a frame: its size leads on.
        if (pos + kopf > d.size()) {
            g.ende = Gang::Fehler;
            return g;
        }
        const bool seltsam = !GültigeId(d.sliced(pos, idLänge));
        const unsigned char* s = u + pos + idLänge;
        qint64 größe = 0;
        if (haupt == 2) {
            größe = (qint64(s[0]) << 16) | (s[1] << 8) | s[2];
        } else if (haupt == 4 && syncsafe) {
            if ((s[0] | s[1] | s[2] | s[3]) & 0x80) {
                g.ende = Gang::Fehler;
                return g;
            }
            größe = syncsafe32(s);
        } else {
            größe = qFromBigEndian<quint32>(s);
        }
        // A frame running past the tag is no frame: the walk ends there.
        if (größe > d.size() - pos - kopf) {
            g.ende = Gang::Fehler;
            return g;
        }
        g.frames.push_back({pos, qsizetype(größe), seltsam});
        g.seltsame += seltsam ? 1 : 0;
        pos += kopf + qsizetype(größe);
    }
}

// A 2.4 frame in 2.3 layout: plain size, flags moved to their 2.3 bits, the
// data-length indicator dropped (or kept as the 2.3 decompressed size), the
// extra bytes in 2.3 order. Empty when it cannot be expressed.
QByteArray FrameNach23(QByteArrayView id, quint8 status, quint8 format, QByteArrayView daten)
{
    qsizetype pos = 0;
    QByteArray extra;
    int gruppe = -1, methode = -1;
    qint64 datenLänge = -1;
    if (format & 0x40) {
        if (pos >= daten.size())
            return {};
        gruppe = static_cast<unsigned char>(daten[pos++]);
    }
    if (format & 0x04) {
        if (pos >= daten.size())
            return {};
        methode = static_cast<unsigned char>(daten[pos++]);
    }
    if (format & 0x01) {
        if (pos + 4 > daten.size())
            return {};
        datenLänge = syncsafe32(reinterpret_cast<const unsigned char*>(daten.data()) + pos);
        pos += 4;
    }
    quint8 format23 = 0;
    if (format & 0x08) {
        if (datenLänge < 0)
            return {};
        format23 |= 0x80;
        char be[4];
        qToBigEndian<quint32>(quint32(datenLänge), be);
        extra.append(be, 4);
    }
    if (methode >= 0) {
        format23 |= 0x40;
        extra.append(char(methode));
    }
    if (gruppe >= 0) {
        format23 |= 0x20;
        extra.append(char(gruppe));
    }
    const QByteArrayView rest = daten.sliced(pos);
    QByteArray frame;
    frame.reserve(10 + extra.size() + rest.size());
    frame.append(id.data(), 4);
    char be[4];
    qToBigEndian<quint32>(quint32(extra.size() + rest.size()), be);
    frame.append(be, 4);
    frame.append(char((status & 0x70) << 1));
    frame.append(char(format23));
    frame.append(extra);
    frame.append(rest.data(), rest.size());
    return frame;
}

// The parts of a body behind its encoding byte, by frame id: t one string
// with its terminator, T strings to the end, l a Latin-1 string with its
// terminator, a digit that many bytes as they stand, S time-stamped lyrics (a
// string, four bytes) to the end, B the rest as it stands.
const char* TextAufbau(QByteArrayView id)
{
    static const char* const tabelle[][2] = {
        {"COMM", "3tT"}, {"USLT", "3tT"}, {"USER", "3T"}, {"IPLS", "T"}, {"WXXX", "tB"},
        {"APIC", "l1tB"}, {"GEOB", "lttB"}, {"SYLT", "5tS"}, {"OWNE", "l8T"}, {"COMR", "l8l1ttlB"},
        // Text frames of other writers whose ids do not begin with T.
        {"GRP1", "T"}, {"MVNM", "T"}, {"MVIN", "T"},
    };
    if (id.startsWith('T'))
        return "T";
    for (const auto& z : tabelle)
        if (id == QByteArrayView(z[0]))
            return z[1];
    return nullptr;
}

} // namespace

const QString& Id3v2WerteFuge()
{
    static const QString fuge = QStringLiteral(" / ");
    return fuge;
}

QByteArray Id3v2Utf16(const QString& text)
{
    QByteArray b("\xFF\xFE", 2);
    b.reserve(2 + 2 * text.size());
    for (QChar c : text) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b;
}

namespace {

// Id3v2FrameFür23, or nothing when the frame stays as it is.
std::optional<QByteArray> Umkodieren23(QByteArrayView frame)
{
    if (frame.size() < 11)
        return std::nullopt;
    const auto format = static_cast<quint8>(frame[9]);
    const qsizetype vorn = 10 + ((format & 0x20) ? 1 : 0); // a group byte stays in front
    const char* aufbau = GültigeId(frame.first(4)) ? TextAufbau(frame.first(4)) : nullptr;
    if ((format & 0xC0) || !aufbau || vorn >= frame.size())
        return std::nullopt;
    const QByteArrayView b = frame.sliced(vorn);
    const auto enc = static_cast<quint8>(b[0]);
    if (enc != 2 && enc != 3)
        return std::nullopt;

    QByteArray aus(1, '\1');
    qsizetype pos = 1;
    bool bigEndian = enc == 2;
    const auto string = [&] {
        qsizetype ende = TerminatorFinden(enc, b, pos);
        const bool beendet = ende >= 0;
        if (!beendet)
            ende = b.size();
        aus.append(Id3v2Utf16(TextDekodieren(enc, b.sliced(pos, ende - pos), bigEndian)));
        if (beendet)
            aus.append(2, '\0');
        pos = std::min(b.size(), ende + TerminatorLänge(enc));
    };
    const auto bytes = [&](qsizetype n) {
        n = std::min(n, b.size() - pos);
        aus.append(b.sliced(pos, n));
        pos += n;
    };
    for (const char* a = aufbau; *a; ++a) {
        switch (*a) {
        case 't':
            if (pos < b.size())
                string();
            break;
        case 'T':
            while (pos < b.size())
                string();
            break;
        case 'S':
            while (pos < b.size()) {
                string();
                bytes(4);
            }
            break;
        case 'l': {
            const qsizetype nul = b.indexOf('\0', pos);
            bytes(nul < 0 ? b.size() - pos : nul + 1 - pos);
            break;
        }
        case 'B':
            bytes(b.size() - pos);
            break;
        default:
            bytes(*a - '0');
        }
    }
    QByteArray neu = frame.first(vorn).toByteArray();
    qToBigEndian<quint32>(quint32(neu.size() - 10 + aus.size()), neu.data() + 4);
    return neu + aus;
}

// A 2.4 text frame's several values as 2.3 holds them: one string, the
// values joined with "/", which 2.3 readers split at (TXXX keeps its
// description in front). Any other frame comes back as it stands, and so
// do the lists of people.
QByteArray WerteVerbinden23(const QByteArray& frame)
{
    // Lists of pairs go into IPLS string by string.
    if (frame.size() < 11 || frame[0] != 'T' || !GültigeId(QByteArrayView(frame).first(4)) || frame.startsWith("TIPL")
        || frame.startsWith("TMCL"))
        return frame;
    const auto format = static_cast<quint8>(frame[9]);
    const qsizetype vorn = 10 + ((format & 0x20) ? 1 : 0);
    if ((format & 0xC0) || vorn >= frame.size())
        return frame;
    const QByteArrayView b = QByteArrayView(frame).sliced(vorn);
    const auto enc = static_cast<quint8>(b[0]);
    if (enc > 3)
        return frame;
    std::vector<QByteArrayView> teile;
    for (qsizetype pos = 1; pos < b.size();) {
        qsizetype ende = TerminatorFinden(enc, b, pos);
        if (ende < 0)
            ende = b.size();
        teile.push_back(b.sliced(pos, ende - pos));
        pos = ende + TerminatorLänge(enc);
    }
    const bool beschrieben = frame.startsWith("TXXX");
    if (beschrieben && teile.empty())
        return frame;
    // The values as a reader takes them: those that are not empty.
    bool bigEndian = enc == 2;
    QString beschreibung;
    if (beschrieben && enc != 0)
        beschreibung = TextDekodieren(enc, teile.front(), bigEndian);
    std::vector<QByteArrayView> werte;
    QStringList texte;
    for (size_t i = beschrieben ? 1 : 0; i < teile.size(); ++i) {
        const QString text = enc == 0 ? QString() : TextDekodieren(enc, teile[i], bigEndian);
        if (enc == 0 ? teile[i].isEmpty() : text.isEmpty())
            continue;
        werte.push_back(teile[i]);
        texte << text;
    }
    if (werte.size() < 2)
        return frame;

    QByteArray körper(1, char(enc == 0 ? 0 : 1));
    if (enc == 0) {
        if (beschrieben)
            körper.append(teile.front()).append('\0');
        for (size_t i = 0; i < werte.size(); ++i)
            körper.append(i ? "/" : "").append(werte[i]);
    } else {
        if (beschrieben)
            körper.append(Id3v2Utf16(beschreibung)).append(2, '\0');
        körper.append(Id3v2Utf16(texte.join(QLatin1Char('/'))));
    }
    QByteArray neu = frame.first(vorn);
    qToBigEndian<quint32>(quint32(vorn - 10 + körper.size()), neu.data() + 4);
    return neu + körper;
}

// A comment or link frame that may be the field.
struct Kandidat {
    QString text;
    bool ohneBeschreibung;
    QByteArray sprache;
    qsizetype stelle; // in Id3v2Ergebnis::weitere
};

// The leading parts of a 2.4 time stamp (yyyy[-MM[-dd[THH[:mm...]]]]);
// all empty when it does not begin with a year.
struct Zeitstempel {
    QString jahr, monat, tag, stunde, minute;
};
Zeitstempel ZeitstempelLesen(const QString& text)
{
    static const QRegularExpression muster(QStringLiteral("^(\\d{4})(?:-(\\d{2})(?:-(\\d{2})(?:T(\\d{2})(?::(\\d{2}))?)?)?)?"));
    const QRegularExpressionMatch m = muster.match(text);
    if (!m.hasMatch())
        return {};
    return {m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5)};
}

// A 2.4 genre as 2.3 holds it: its numbers (and RX, CR) as "(17)" in
// front, its texts behind them joined with "/"; none when it has no number.
std::optional<QString> Genre23(const QStringList& werte)
{
    QString nummern;
    QStringList texte;
    for (const QString& w : werte) {
        bool zahl = w.size() <= 3;
        for (QChar c : w)
            zahl = zahl && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (zahl && w.toInt() <= 255)
            nummern += QStringLiteral("(%1)").arg(w.toInt());
        else if (w == QLatin1String("RX") || w == QLatin1String("CR"))
            nummern += QLatin1Char('(') + w + QLatin1Char(')');
        else
            texte << w;
    }
    if (nummern.isEmpty())
        return std::nullopt;
    return nummern + texte.join(QLatin1Char('/'));
}

// The 2.4 frames that 2.3 holds in frames of its own, in those: the
// recording time as the year field's TYER with TDAT and TIME (where the
// time stamp holds day and time, and the tag has none of its own), TDOR
// as TORY, TIPL and TMCL as one IPLS where the first of them stood. A
// frame stays as it is where the tag already holds its 2.3 counterpart.
void Nach23Übertragen(Id3v2Ergebnis& e, const std::optional<QString>& datum, bool datumFrame,
                      std::vector<Kandidat> (&kandidaten)[2])
{
    const auto hat = [&](const char* id) {
        return std::any_of(e.weitere.begin(), e.weitere.end(), [id](const QByteArray& f) { return f.startsWith(id); });
    };
    // Its texts, when a kept frame is one of `id` that can be read.
    const auto texte = [](const QByteArray& f, const char* id) -> std::optional<QStringList> {
        if (!f.startsWith(id) || f.size() <= 10 || f[9] != 0)
            return std::nullopt;
        return TexteLesen(QByteArrayView(f).sliced(10), true);
    };
    if (datum && datumFrame) {
        const Zeitstempel z = ZeitstempelLesen(*datum);
        QByteArray& frames = e.feldFrames[kJahr];
        frames = Id3v2TextFrameBauen("TYER", {z.jahr.isEmpty() ? *datum : z.jahr});
        if (!z.tag.isEmpty() && !hat("TDAT"))
            frames += Id3v2TextFrameBauen("TDAT", {z.tag + z.monat});
        if (!z.tag.isEmpty() && !z.minute.isEmpty() && !hat("TIME"))
            frames += Id3v2TextFrameBauen("TIME", {z.stunde + z.minute});
    }
    if (!hat("TORY"))
        for (QByteArray& f : e.weitere)
            if (const auto t = texte(f, "TDOR")) {
                const QString jahr = ZeitstempelLesen(SteuerzeichenEntfernen(t->value(0), false)).jahr;
                if (!jahr.isEmpty())
                    f = Id3v2TextFrameBauen("TORY", {jahr});
                break;
            }
    if (!hat("IPLS")) {
        QStringList leute[2]; // the people involved, then the musicians
        qsizetype erste = -1;
        for (qsizetype i = 0; i < qsizetype(e.weitere.size());) {
            const std::optional<QStringList> t[2] = {texte(e.weitere[size_t(i)], "TIPL"), texte(e.weitere[size_t(i)], "TMCL")};
            if (!t[0] && !t[1]) {
                ++i;
                continue;
            }
            leute[t[0] ? 0 : 1] += t[0] ? *t[0] : *t[1];
            if (erste < 0) {
                erste = i++;
                continue;
            }
            e.weitere.erase(e.weitere.begin() + i);
            for (auto& art : kandidaten)
                for (Kandidat& k : art)
                    if (k.stelle > i)
                        --k.stelle;
        }
        if (erste >= 0)
            e.weitere[size_t(erste)] = Id3v2TextFrameBauen("IPLS", leute[0] + leute[1]);
    }
}

} // namespace

QByteArray Id3v2PlatzhalterBesitzer() { return Webadresse().toLatin1() + '\0'; }

bool Id3v2IstPlatzhalter(QByteArrayView frame)
{
    return frame.size() >= 10 && frame.startsWith("PRIV") && frame[9] == 0
        && frame.sliced(10).startsWith(Id3v2PlatzhalterBesitzer());
}

QByteArray Id3v2FrameFür23(QByteArrayView frame)
{
    std::optional<QByteArray> neu = Umkodieren23(frame);
    return neu ? std::move(*neu) : frame.toByteArray();
}

bool Id3v2OhneBeschreibung(QByteArrayView körper, bool mitSprache)
{
    const auto b = BeschriebenLesen(körper, mitSprache, !mitSprache);
    return b && b->ohneBeschreibung;
}

Id3v2Ergebnis Id3v2Lesen(QByteArrayView tag, bool sammeln)
{
    Id3v2Ergebnis e;
    const auto kopf = Id3v2KopfLesen(tag);
    if (!kopf)
        return e;
    e.gültig = true;
    e.kopf = *kopf;
    e.ungenutzt = kopf->GesamtGröße();
    const int haupt = kopf->haupt;

    QByteArrayView bereich = tag.sliced(10, std::min<qint64>(kopf->größe, tag.size() - 10));
    QByteArray entsynchronisiert;
    // Below 2.4 the flag covers the frames as a whole, headers included; in
    // 2.4 it says that every frame's data is unsynchronised.
    if (haupt < 4 && kopf->Unsynchronisiert()) {
        entsynchronisiert = Entsynchronisieren(bereich);
        bereich = entsynchronisiert;
    }
    // A 2.2 tag with this flag is compressed by a scheme nobody defined.
    if (haupt == 2 && (kopf->flags & 0x40))
        return e;

    qsizetype start = 0;
    if (haupt > 2 && kopf->ErweiterterKopf()) {
        if (bereich.size() < 4)
            return e;
        const auto* u = reinterpret_cast<const unsigned char*>(bereich.data());
        if (haupt == 3) {
            start = 4 + qsizetype(qFromBigEndian<quint32>(u));
        } else {
            if ((u[0] | u[1] | u[2] | u[3]) & 0x80)
                return e;
            start = syncsafe32(u);
        }
        if (start < 4 || start > bereich.size())
            return e;
    }

    Gang gang = FramesGehen(bereich, start, haupt, true);
    if (haupt == 4 && !gang.sauber()) {
        // Some writers put plain sizes into 2.4 tags.
        Gang plain = FramesGehen(bereich, start, haupt, false);
        const auto gute = [](const Gang& g) { return qsizetype(g.frames.size()) - g.seltsame; };
        if (plain.sauber() || (!gang.sauber() && gang.ende == Gang::Fehler && gute(plain) > gute(gang)))
            gang = std::move(plain);
    }
    if (gang.ende == Gang::Padding)
        e.ungenutzt = kopf->GesamtGröße() - (bereich.size() - gang.bis);
    // A walk that stopped at a torn or unreadable frame has not seen what
    // lies behind it.
    e.framesGelesen = gang.ende != Gang::Fehler;
    if (!e.framesGelesen) {
        qsizetype ab = gang.bis;
        for (auto f = gang.frames.rbegin(); f != gang.frames.rend() && f->seltsam; ++f)
            ab = f->kopf;
        e.unlesbarAb = 10 + ab;
        if (gang.bis < bereich.size() && bereich[gang.bis] != 0)
            e.unlesbarId = bereich.sliced(gang.bis, std::min<qsizetype>(haupt == 2 ? 3 : 4, bereich.size() - gang.bis))
                               .toByteArray();
    }

    const auto& tabelle = Id3v2FrameFelder();
    const qsizetype kopfLänge = haupt == 2 ? 6 : 10;
    const qsizetype idLänge = haupt == 2 ? 3 : 4;
    // Of several COMM (or WXXX) frames the first one without a description
    // is the field; all others are kept where they stand, so that a rewrite
    // loses none and moves none.
    std::vector<Kandidat> kandidaten[2]; // comment, link
    // A 2.4 tag's recording time, and whether its frame carries anything.
    std::optional<QString> datum;
    bool datumFrame = false;
    // A 2.3 tag's TDRC frames: their years and their places in `weitere`.
    QStringList daten23;
    std::vector<qsizetype> daten23Stellen;
    // The fields a frame was read for.
    std::array<bool, kId3v2Felder> gelesen{};

    // The frame as it is kept: 2.2 frames as they stand, others in 2.3 form;
    // without a change a view of the bytes read.
    const bool eigeneBytes = bereich.data() != tag.data() + 10;
    const auto alleEntsynchronisiert = haupt == 4 && kopf->Unsynchronisiert();
    const auto form23 = [&](const FrameOrt& f) -> QByteArray {
        const QByteArrayView roh = bereich.sliced(f.kopf, kopfLänge + f.größe);
        std::optional<QByteArray> neu;
        if (haupt == 3) {
            neu = Umkodieren23(roh);
        } else if (haupt == 4) {
            const QByteArrayView daten = roh.sliced(10);
            const auto status = static_cast<quint8>(roh[8]);
            const auto format = static_cast<quint8>(roh[9]);
            const QByteArray frame = FrameNach23(roh.first(4), status, format,
                                                 (format & 0x02) || alleEntsynchronisiert ? Entsynchronisieren(daten)
                                                                                          : daten.toByteArray());
            if (frame.isEmpty()) {
                if (e.nichtÜbertragbar.isEmpty())
                    e.nichtÜbertragbar = roh.first(4).toByteArray();
                return {};
            }
            neu = Id3v2FrameFür23(WerteVerbinden23(frame));
        }
        if (neu)
            return std::move(*neu);
        if (eigeneBytes)
            return roh.toByteArray();
        return QByteArray::fromRawData(roh.data(), roh.size());
    };
    const auto behalten = [&](const FrameOrt& f) {
        QByteArray frame = form23(f);
        if (!frame.isEmpty())
            e.weitere.push_back(std::move(frame));
    };

    for (const FrameOrt& f : gang.frames) {
        const QByteArrayView id = bereich.sliced(f.kopf, idLänge);
        // An odd id is kept raw when it begins with a letter; others are skipped.
        if (f.seltsam && (id[0] < 'A' || id[0] > 'z'))
            continue;
        QByteArrayView daten = bereich.sliced(f.kopf + kopfLänge, f.größe);
        QByteArray eigen;
        bool lesbar = true;
        if (haupt == 3) {
            const auto format = static_cast<quint8>(bereich[f.kopf + 9]);
            lesbar = !(format & 0xC0); // compressed or encrypted
            if (lesbar && (format & 0x20))
                daten = daten.sliced(std::min<qsizetype>(1, daten.size()));
        } else if (haupt == 4) {
            const auto format = static_cast<quint8>(bereich[f.kopf + 9]);
            lesbar = !(format & 0x0C);
            if (lesbar && ((format & 0x02) || alleEntsynchronisiert)) {
                eigen = Entsynchronisieren(daten);
                daten = eigen;
            }
            const qsizetype vorn = ((format & 0x40) ? 1 : 0) + ((format & 0x01) ? 4 : 0);
            if (lesbar)
                daten = daten.sliced(std::min(vorn, daten.size()));
        }

        int feld = -1;
        for (int i = 0; i < kId3v2Felder && lesbar; ++i) {
            const char* kennung = haupt == 2 ? tabelle[size_t(i)].id22 : tabelle[size_t(i)].id;
            if (*kennung && id == QByteArrayView(kennung)) {
                feld = i;
                break;
            }
        }
        // The year of a 2.4 tag is that of its recording time; a TYER beside
        // it would be a second year.
        const bool zeit = haupt == 4 && lesbar && id == "TDRC";
        if (zeit)
            feld = kJahr;
        else if (feld == kJahr && datum)
            continue;
        // A 2.3 tag's TDRC (as some taggers write it) is its year where it
        // has no TYER: kept in its place until the walk has seen them all.
        std::optional<QString> jahr23;
        if (haupt == 3 && lesbar && id == "TDRC" && f.größe > 0) {
            if (const auto werte = TexteLesen(daten)) {
                const QString wert = SteuerzeichenEntfernen(werte->value(0), false);
                jahr23 = ZeitstempelLesen(wert).jahr;
                if (jahr23->isEmpty())
                    jahr23 = wert;
            }
        }
        std::optional<QString> text;
        QByteArray frame23; // the field's frame as 2.3 holds it, where it differs
        if (zeit) {
            if (const auto werte = TexteLesen(daten)) {
                datum = SteuerzeichenEntfernen(werte->value(0), false);
                datumFrame = f.größe > 0;
                text = ZeitstempelLesen(*datum).jahr;
                if (text->isEmpty())
                    text = *datum;
            }
        } else if (haupt == 4 && feld == kGenre) {
            // Genre numbers take 2.3's form "(17)"; a genre as text stays.
            const auto werte = TexteLesen(daten);
            if (const std::optional<QString> genre = werte ? Genre23(*werte) : std::nullopt) {
                text = SteuerzeichenEntfernen(*genre, false);
                frame23 = Id3v2TextFrameBauen("TCON", {*text});
            } else {
                text = TextFrameLesen(daten);
            }
        } else if (feld == kKommentar || feld == kLink) {
            if (const auto b = BeschriebenLesen(daten, feld == kKommentar, feld == kLink)) {
                QByteArray frame = form23(f);
                if (!frame.isEmpty()) {
                    kandidaten[feld == kLink].push_back({b->text, b->ohneBeschreibung, b->sprache, qsizetype(e.weitere.size())});
                    e.weitere.push_back(std::move(frame));
                }
                continue;
            }
        } else if (feld == kZähler) {
            text = ZählerLesen(daten);
        } else if (feld >= 0) {
            text = TextFrameLesen(daten);
        }
        if (text) {
            // A frame that carries nothing is no form to keep: readers stop at it.
            QByteArray frame = f.größe == 0 || zeit ? QByteArray() : !frame23.isEmpty() ? frame23 : form23(f);
            QString& wert = e.felder[size_t(feld)];
            // Several frames of one text id are one field of several values,
            // shown as the values of one frame are; each frame is kept.
            if (gelesen[size_t(feld)] && !zeit && feld != kZähler) {
                if (!text->isEmpty() && !wert.isEmpty())
                    wert += Id3v2WerteFuge();
                wert += *text;
                e.feldFrames[size_t(feld)] += frame;
            } else {
                wert = *text;
                e.feldFrames[size_t(feld)] = std::move(frame);
            }
            gelesen[size_t(feld)] = true;
        } else {
            const size_t vorher = e.weitere.size();
            behalten(f); // empty ones too: a rewrite copies every frame as it stands
            if (jahr23 && e.weitere.size() > vorher) {
                daten23 << *jahr23;
                daten23Stellen.push_back(qsizetype(vorher));
            }
        }
    }
    if (haupt == 4)
        Nach23Übertragen(e, datum, datumFrame, kandidaten);
    if (!daten23Stellen.empty() && !gelesen[kJahr]) {
        daten23.removeAll(QString());
        e.felder[kJahr] = daten23.join(Id3v2WerteFuge());
        for (qsizetype stelle : daten23Stellen)
            e.feldFrames[kJahr] += e.weitere[size_t(stelle)];
        for (auto s = daten23Stellen.rbegin(); s != daten23Stellen.rend(); ++s) {
            e.weitere.erase(e.weitere.begin() + *s);
            for (auto& art : kandidaten)
                for (Kandidat& k : art)
                    if (k.stelle > *s)
                        --k.stelle;
        }
    }

    // The first comment (link) without a description is the field (the one
    // the writer replaces, the one other readers show).
    qsizetype gewählt[2] = {-1, -1};
    for (int art = 0; art < 2; ++art) {
        for (const Kandidat& k : kandidaten[art])
            if (k.ohneBeschreibung) {
                gewählt[art] = k.stelle;
                e.felder[art == 0 ? kKommentar : kLink] = k.text;
                if (art == 0)
                    e.kommentarSprache = k.sprache;
                break;
            }
    }
    // Taken out of the list, the later one first.
    if (gewählt[0] >= 0)
        e.feldFrames[kKommentar] = e.weitere[size_t(gewählt[0])];
    if (gewählt[1] >= 0)
        e.feldFrames[kLink] = e.weitere[size_t(gewählt[1])];
    for (qsizetype stelle : {std::max(gewählt[0], gewählt[1]), std::min(gewählt[0], gewählt[1])})
        if (stelle >= 0)
            e.weitere.erase(e.weitere.begin() + stelle);
    e.kommentarStelle = gewählt[0];
    e.linkStelle = gewählt[1];

    if (sammeln) {
        // The placeholder only holds the program's frames in their place.
        std::erase_if(e.weitere, [](const QByteArray& f) { return Id3v2IstPlatzhalter(f); });
    }
    if (sammeln && !e.weitere.empty()) {
        QByteArray& ziel = haupt == 2 ? e.weitereFrames22 : e.weitereFrames;
        qsizetype summe = 0;
        for (const QByteArray& f : e.weitere)
            summe += f.size();
        ziel.reserve(summe);
        for (const QByteArray& f : e.weitere)
            ziel.append(f);
        if (haupt == 2)
            e.weitereFrames = " ";
    }
    if (sammeln) {
        // Their views would outlive the bytes read.
        e.weitere.clear();
        e.feldFrames = {};
    }
    return e;
}

void Id3v2Zurücksetzen(MedienInfo& m)
{
    m.Mp3_ID3v2_Vorhanden = 2;
    for (const auto& f : Id3v2FrameFelder())
        (m.*f.feld).clear();
    m.Mp3_ID3v2_WeitereFrames.clear();
    m.Mp3_ID3v2_TAGGröße = -1;
    m.Mp3_ID3v2_TAGPosition = -1;
    m.Mp3_ID3v2_Ungenutzt = 0;
    m.Mp3_ID3v2_Version.clear();
}

void Id3v2Übernehmen(const Id3v2Ergebnis& e, qint64 position, MedienInfo& m)
{
    Id3v2Zurücksetzen(m);
    if (!e.gültig)
        return;
    const auto& tabelle = Id3v2FrameFelder();
    for (int i = 0; i < kId3v2Felder; ++i)
        m.*tabelle[size_t(i)].feld = e.felder[size_t(i)];
    m.Mp3_ID3v2_WeitereFrames = e.weitereFrames;
    m.Mp3_ID3v2_Vorhanden = 1;
    m.Mp3_ID3v2_Version = e.kopf.VersionText();
    m.Mp3_ID3v2_TAGGröße = qint32(e.kopf.GesamtGröße());
    m.Mp3_ID3v2_TAGPosition = qint32(std::min<qint64>(position + 1, std::numeric_limits<qint32>::max()));
    m.Mp3_ID3v2_Ungenutzt = qint32(e.ungenutzt);
}

bool Mp3TAGLesenV2(const QString& strDatei, MedienInfo& udtInfo, qint64 lngBytes)
{
    MedienDatei datei(strDatei);
    if (!datei.Offen())
        return false;
    const Id3v2Fund fund = datei.Id3v2Finden(lngBytes);
    if (fund.position < 0) {
        Id3v2Zurücksetzen(udtInfo);
        return false;
    }
    Id3v2Übernehmen(Id3v2Lesen(datei.Lesen(fund.position, fund.kopf.GesamtGröße())), fund.position, udtInfo);
    return true;
}

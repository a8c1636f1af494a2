#include "core/IndexZeile.h"

#include "core/Funktionen.h"
#include "core/Kodierung.h"
#include "core/Parallel.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

namespace {

// --- the fields of an entry line, in file order ----------------------------

enum class Art : quint8 { Pfad, Text, Genre, Größe, Zahl, Typ, VBR, Datum, ID3v2Größe, Nichts };
enum class Teilen : quint8 { Nein, Ja };

struct Feld {
    Art art;
    QString MedienInfo::*text = nullptr;
    qint32 MedienInfo::*zahl = nullptr;
    quint8 tag = 0;               // 1: marks ID3v1 present, 2: ID3v2
    Teilen teilen = Teilen::Ja;   // decoded once per load and shared
};

using M = MedienInfo;
constexpr Feld text(QString M::*t, quint8 tag, Teilen teilen = Teilen::Ja) { return {Art::Text, t, nullptr, tag, teilen}; }
constexpr Feld zahl(qint32 M::*z) { return {Art::Zahl, nullptr, z, 0, Teilen::Nein}; }

// Index k - 1 holds value k of the line.
const std::array<Feld, kIndexWerteMax> kFelder = {{
    {Art::Pfad},
    text(&M::Mp3_ID3v1_Album, 1),
    text(&M::Mp3_ID3v1_Interpret, 1),
    text(&M::Mp3_ID3v1_Kommentar, 1),
    {Art::Genre, nullptr, nullptr, 1},
    text(&M::Mp3_ID3v1_Titel, 1, Teilen::Nein),
    text(&M::Mp3_ID3v1_Titelnummer, 1),
    text(&M::Mp3_ID3v1_Jahr, 1),
    {Art::Größe},
    text(&M::Datei_Datenträger, 0),
    zahl(&M::Header_Bitrate),
    zahl(&M::Header_Dauer),
    zahl(&M::Header_Frequenz),
    zahl(&M::Header_Frames),
    {Art::VBR},
    {Art::Datum, &M::Datei_HinzugefügtAm},
    {Art::Typ},
    text(&M::Header_Modus, 0),
    zahl(&M::Datei_AngefordertAnzahl),
    {Art::Datum, &M::Datei_AngefordertGespieltAm, nullptr, 0, Teilen::Nein},
    text(&M::Mp3_ID3v2_AbspielZähler, 2),
    text(&M::Mp3_ID3v2_Album, 2),
    text(&M::Mp3_ID3v2_Copyright, 2),
    text(&M::Mp3_ID3v2_EncodiertVon, 2),
    text(&M::Mp3_ID3v2_Musikrichtung, 2),
    text(&M::Mp3_ID3v2_Herausgeber, 2),
    text(&M::Mp3_ID3v2_Interpret, 2),
    text(&M::Mp3_ID3v2_Jahr, 2),
    text(&M::Mp3_ID3v2_Kommentar, 2),
    text(&M::Mp3_ID3v2_Länge, 2),
    text(&M::Mp3_ID3v2_Link, 2),
    text(&M::Mp3_ID3v2_Medientyp, 2),
    text(&M::Mp3_ID3v2_Software, 2),
    text(&M::Mp3_ID3v2_Songschreiber, 2),
    text(&M::Mp3_ID3v2_Sprache, 2),
    {Art::ID3v2Größe, nullptr, &M::Mp3_ID3v2_TAGGröße, 2},
    text(&M::Mp3_ID3v2_Version, 2),
    text(&M::Mp3_ID3v2_Titelnummer, 2),
    text(&M::Mp3_ID3v2_UrsprünglicherInterpret, 2),
    text(&M::Mp3_ID3v2_Titel, 2, Teilen::Nein),
    {Art::Nichts},
}};
constexpr int kWerteOhneID3v2 = 20;
constexpr int kWerteMitID3v2 = 40;
constexpr int kWertTitelV1 = 6;
constexpr int kWertTitelV2 = 40;

bool istLeer(char c) { return c == ' ' || c == '\t'; }

QByteArrayView ohneLeer(QByteArrayView t)
{
    qsizetype a = 0, e = t.size();
    while (a < e && istLeer(t[a]))
        ++a;
    while (e > a && istLeer(t[e - 1]))
        --e;
    return t.sliced(a, e - a);
}

template <typename T>
bool passt(qint64 v)
{
    return v >= std::numeric_limits<T>::min() && v <= std::numeric_limits<T>::max();
}

bool beginntMitOhneFall(QByteArrayView text, QByteArrayView anfang)
{
    if (text.size() < anfang.size())
        return false;
    for (qsizetype i = 0; i < anfang.size(); ++i) {
        char a = text[i], b = anfang[i];
        if (a >= 'a' && a <= 'z')
            a = char(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = char(b - 'a' + 'A');
        if (a != b)
            return false;
    }
    return true;
}

void zahlAnhängen(std::string& aus, qint64 wert)
{
    char puffer[24];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, wert);
    aus.append(puffer, size_t(r.ptr - puffer));
}

void zeilenendeAnhängen(std::string& aus) { aus.append("\r\n", 2); }

int ziffern(QByteArrayView t, qsizetype& i, int max, int& wert)
{
    int n = 0;
    wert = 0;
    while (i < t.size() && n < max && t[i] >= '0' && t[i] <= '9') {
        wert = wert * 10 + (t[i] - '0');
        ++i;
        ++n;
    }
    return n;
}

bool gültigesDatum(int jahr, int monat, int tag)
{
    static const int tage[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (monat < 1 || monat > 12 || tag < 1 || tag > tage[monat - 1])
        return false;
    const bool schalt = (jahr % 4 == 0 && jahr % 100 != 0) || jahr % 400 == 0;
    return !(monat == 2 && tag == 29 && !schalt);
}

} // namespace

// --- texts -----------------------------------------------------------------

QString TextSpeicher::Text(QByteArrayView bytes) const
{
    if (bytes.isEmpty())
        return QString();
    return Utf8OderCp1252Dekodieren(bytes);
}

namespace {

quint64 laden64(const char* p)
{
    quint64 v;
    std::memcpy(&v, p, 8);
    return v;
}

quint64 laden32(const char* p)
{
    quint32 v;
    std::memcpy(&v, p, 4);
    return v;
}

quint64 mischen(quint64 a, quint64 b)
{
    const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
    return quint64(r) ^ quint64(r >> 64);
}

// A quick hash of short byte strings, seeded per table so that a file cannot
// be made to collide on purpose.
quint64 streuwert(QByteArrayView bytes, quint64 saat)
{
    constexpr quint64 k1 = 0xa0761d6478bd642fULL, k2 = 0xe7037ed1a0b428dbULL;
    const char* p = bytes.data();
    size_t n = size_t(bytes.size());
    const quint64 länge = n;
    quint64 a, b;
    if (n <= 16) {
        if (n >= 8) {
            a = laden64(p);
            b = laden64(p + n - 8);
        } else if (n >= 4) {
            a = laden32(p);
            b = laden32(p + n - 4);
        } else {
            a = n ? (quint64(quint8(p[0])) << 16) | (quint64(quint8(p[n / 2])) << 8) | quint8(p[n - 1]) : 0;
            b = 0;
        }
    } else {
        for (; n > 16; p += 16, n -= 16)
            saat = mischen(laden64(p) ^ k1, laden64(p + 8) ^ saat);
        a = laden64(p + n - 16);
        b = laden64(p + n - 8);
    }
    return mischen(k1 ^ länge, mischen(a ^ k1, b ^ saat ^ k2));
}

} // namespace

TextSpeicher::TextSpeicher()
    : m_saat(QRandomGenerator::global()->generate64())
{
}

namespace {

constexpr qsizetype kKurz = 16;

// Two words holding bytes of up to kKurz, zeros after them.
void kurzFassen(QByteArrayView bytes, quint64 (&kurz)[2])
{
    kurz[0] = kurz[1] = 0;
    std::memcpy(kurz, bytes.data(), size_t(std::min(bytes.size(), kKurz)));
}

bool gleich(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

} // namespace

QString TextSpeicher::Geteilt(QByteArrayView bytes, int feld)
{
    if (bytes.isEmpty())
        return QString();
    Zuletzt* zuletzt = feld >= 0 && feld < kIndexWerteMax ? &m_zuletzt[size_t(feld)] : nullptr;
    if (zuletzt && gleich(zuletzt->bytes, bytes))
        return zuletzt->text;
    const quint64 h = streuwert(bytes, m_saat);
    quint64 kurz[2];
    kurzFassen(bytes, kurz);
    if (m_plätze.empty())
        m_plätze.assign(1024, 0);
    size_t maske = m_plätze.size() - 1;
    size_t i = size_t(h) & maske;
    for (; m_plätze[i] != 0; i = (i + 1) & maske) {
        const Eintrag& e = m_einträge[m_plätze[i] - 1];
        if (e.streuwert == h && e.bytes.size() == bytes.size() && e.kurz[0] == kurz[0] && e.kurz[1] == kurz[1]
            && (bytes.size() <= kKurz || gleich(e.bytes, bytes))) {
            if (zuletzt)
                *zuletzt = {bytes, e.text};
            return e.text;
        }
    }
    QString t = Text(bytes);
    m_einträge.push_back({h, bytes, t, {kurz[0], kurz[1]}});
    m_plätze[i] = quint32(m_einträge.size());
    // At most half the places taken, so that searches stay short.
    if (2 * m_einträge.size() > m_plätze.size()) {
        m_plätze.assign(2 * m_plätze.size(), 0);
        maske = m_plätze.size() - 1;
        for (size_t nr = 0; nr < m_einträge.size(); ++nr) {
            size_t j = size_t(m_einträge[nr].streuwert) & maske;
            while (m_plätze[j] != 0)
                j = (j + 1) & maske;
            m_plätze[j] = quint32(nr + 1);
        }
    }
    if (zuletzt)
        *zuletzt = {bytes, t};
    return t;
}

QString TextSpeicher::Genre(int byte)
{
    QString& text = m_genres[size_t(byte & 0xFF)];
    if (text.isNull())
        text = QString(QChar(char16_t(byte & 0xFF)));
    return text;
}

namespace {

// The bytes `text` takes in UTF-8 (a lone half of a pair takes three, as U+FFFD).
size_t utf8Länge(const char16_t* p, qsizetype n)
{
    size_t länge = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80)
            länge += 1;
        else if (c < 0x800)
            länge += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            länge += 4;
            ++i;
        } else
            länge += 3;
    }
    return länge;
}

// Texts up to this size are written into room for the most they can take;
// longer ones are measured first, so that a huge value does not take three
// bytes per character on its way out.
constexpr qsizetype kOhneZählenBis = 64 * 1024;

} // namespace

void Utf8Anhängen(std::string& aus, QStringView text, bool crAlsLf)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    const size_t alt = aus.size();
    if (n <= kOhneZählenBis) {
        aus.resize(alt + 3 * size_t(n));
    } else {
        // Room for what follows too, so that the next small append does not
        // double the whole buffer.
        const size_t länge = utf8Länge(p, n);
        aus.reserve(alt + länge + size_t(kOhneZählenBis));
        aus.resize(alt + länge);
    }
    char* o = aus.data() + alt;
    const char cr = crAlsLf ? '\n' : '\r';
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            *o++ = c == u'\r' ? cr : char(c);
            continue;
        }
        if (c < 0x800) {
            *o++ = char(0xC0 | (c >> 6));
            *o++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
                c = QChar::surrogateToUcs4(char16_t(c), p[i + 1]);
                ++i;
                *o++ = char(0xF0 | (c >> 18));
                *o++ = char(0x80 | ((c >> 12) & 0x3F));
                *o++ = char(0x80 | ((c >> 6) & 0x3F));
                *o++ = char(0x80 | (c & 0x3F));
                continue;
            }
            c = 0xFFFD; // a lone half of a pair has no UTF-8 form
        }
        *o++ = char(0xE0 | (c >> 12));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    }
    aus.resize(size_t(o - aus.data()));
}

// --- numbers and dates -------------------------------------------------------

std::optional<qint64> ZahlLesen(QByteArrayView text)
{
    // Most are digits alone, too few to overflow.
    if (!text.isEmpty() && text.size() <= 18) {
        qint64 wert = 0;
        qsizetype i = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            wert = wert * 10 + (text[i] - '0');
        if (i == text.size())
            return wert;
    }
    const QByteArrayView t = ohneLeer(text);
    if (t.isEmpty())
        return std::nullopt;
    const char* a = t.data();
    const char* e = a + t.size();
    if (*a == '+')
        ++a;
    qint64 wert = 0;
    const auto r = std::from_chars(a, e, wert);
    if (r.ec != std::errc() || r.ptr != e || a == e)
        return std::nullopt;
    return wert;
}

bool IstDatum(QByteArrayView text)
{
    const QByteArrayView t = ohneLeer(text);
    qsizetype i = 0;
    int a, b, c;
    const int na = ziffern(t, i, 4, a);
    if (na == 0 || i >= t.size())
        return false;
    const char trenner = t[i];
    if (trenner != '.' && trenner != '/' && trenner != '-')
        return false;
    ++i;
    if (ziffern(t, i, 2, b) == 0 || i >= t.size() || t[i] != trenner)
        return false;
    ++i;
    const int nc = ziffern(t, i, 4, c);
    if (nc == 0 || (na == 4 && nc > 2) || (na < 4 && nc != 2 && nc != 4))
        return false;
    const bool ok = na == 4 ? gültigesDatum(a, b, c) : gültigesDatum(nc == 2 ? 2000 + c : c, b, a);
    if (!ok)
        return false;
    if (i == t.size())
        return true;
    // An optional time: h:m or h:m:s.
    if (t[i] != ' ')
        return false;
    while (i < t.size() && t[i] == ' ')
        ++i;
    int h, m, s = 0;
    if (ziffern(t, i, 2, h) == 0 || i >= t.size() || t[i] != ':')
        return false;
    ++i;
    if (ziffern(t, i, 2, m) != 2)
        return false;
    if (i < t.size()) {
        if (t[i] != ':')
            return false;
        ++i;
        if (ziffern(t, i, 2, s) != 2)
            return false;
    }
    return i == t.size() && h < 24 && m < 60 && s < 60;
}

// --- entry lines --------------------------------------------------------------

namespace {

// The lengths of an entry line, "/"-separated from "#TAG:" up to its "|"
// (at `strich`), into längen[1..41]: an empty length is 0, one that does not
// read as a number of at least 1 stays 0. The number of lengths given.
int längenLesen(const char* anfang, const char* strich, qint64 (&längen)[kIndexWerteMax + 1])
{
    int anzahl = 0;
    for (const char* p = anfang + 5;;) {
        // Digits alone, as the writer writes them, read as they go by.
        qint64 wert = 0;
        const char* q = p;
        for (; q < strich && q - p < 18 && *q >= '0' && *q <= '9'; ++q)
            wert = wert * 10 + (*q - '0');
        if (q == strich || *q == '/') {
            if (++anzahl <= kIndexWerteMax && wert > 0)
                längen[anzahl] = wert;
            if (q == strich)
                return anzahl;
            p = q + 1;
            continue;
        }
        // Anything else: the segment read as a number, blanks and sign allowed.
        const char* schräg = static_cast<const char*>(std::memchr(q, '/', size_t(strich - q)));
        const char* segEnde = schräg ? schräg : strich;
        if (++anzahl <= kIndexWerteMax) {
            const auto v = ZahlLesen(QByteArrayView(p, segEnde - p));
            if (v && *v > 0)
                längen[anzahl] = *v;
        }
        if (!schräg)
            return anzahl;
        p = schräg + 1;
    }
}

} // namespace

namespace {

// Where the values of the entry line that begins `text` end, by lengths as
// the writer writes them (digits and "/" up to "|"), summed in one pass over
// the lengths alone. -1 when the line has no "|" after two lengths; -2 when
// its lengths are written otherwise (see werteEndeGenau).
qint64 werteEndeSchnell(QByteArrayView text)
{
    const char* const anfang = text.data();
    qint64 summe = 0, wert = 0;
    int anzahl = 1, ziffern = 0;
    for (qsizetype i = 5; i < text.size(); ++i) {
        const char c = anfang[i];
        if (c >= '0' && c <= '9' && ziffern < 15) {
            wert = wert * 10 + (c - '0');
            ++ziffern;
        } else if (c == '/' || c == '|') {
            if (anzahl <= kIndexWerteMax)
                summe += wert;
            if (c == '|')
                return anzahl < 2 ? -1 : i + 1 + summe;
            wert = 0;
            ziffern = 0;
            ++anzahl;
        } else {
            return -2;
        }
    }
    return -1;
}

// The same, read as the entry reader reads the lengths, for a line that ends
// at `bis` at the latest; -1 when it is no entry line.
qint64 werteEndeGenau(QByteArrayView text, qsizetype bis)
{
    if (!IstEintragszeile(text.first(bis)))
        return -1;
    const char* const anfang = text.data();
    const char* const strich = static_cast<const char*>(std::memchr(anfang + 5, '|', size_t(bis - 5)));
    qint64 längen[kIndexWerteMax + 1] = {};
    const int anzahl = std::min(längenLesen(anfang, strich, längen), kIndexWerteMax);
    qint64 ende = strich + 1 - anfang;
    for (int k = 1; k <= anzahl && ende <= text.size(); ++k)
        ende += std::min<qint64>(längen[k], text.size() + 1);
    return ende;
}

// The first line end of the kind `üblich` in `text`; a lone LF or CR of
// another kind ends the line only where a line of the format follows. Every
// search stops at the line's end, so that a file is looked through once.
qsizetype üblichesEnde(QByteArrayView text, QByteArrayView üblich, qsizetype& weiter)
{
    const qsizetype n = text.size();
    const char* const p = text.data();
    const char letztes = üblich.back();
    const char anderes = letztes == '\n' ? '\r' : '\n';
    auto suchen = [&](char c, qsizetype von, qsizetype bis) {
        const void* f = von < bis ? std::memchr(p + von, c, size_t(bis - von)) : nullptr;
        return f ? static_cast<const char*>(f) - p : -1;
    };
    auto formatZeileDanach = [&](qsizetype i) {
        const QByteArrayView danach = text.sliced(i + 1);
        return danach.startsWith("#TAG:") || danach.startsWith("#OPT:");
    };
    for (qsizetype von = 0;;) {
        const qsizetype e = suchen(letztes, von, n);
        // Where a usual line end begins (the CR of a CR LF).
        const bool üblichHier = e >= 0 && (üblich.size() == 1 || (e > 0 && p[e - 1] == '\r'));
        const qsizetype ende = e < 0 ? n : üblichHier ? e + 1 - üblich.size() : e;
        for (qsizetype j = suchen(anderes, von, ende); j >= 0; j = suchen(anderes, j + 1, ende))
            if (formatZeileDanach(j)) {
                weiter = j + 1;
                return j;
            }
        if (e < 0 || üblichHier || formatZeileDanach(e)) {
            weiter = e < 0 ? n : e + 1;
            return ende;
        }
        von = e + 1; // a lone LF among CR LF lines
    }
}

} // namespace

QByteArrayView ÜblichesZeilenende(QByteArrayView text)
{
    if (text.contains("\r\n"))
        return "\r\n";
    if (text.contains('\n'))
        return "\n";
    return text.contains('\r') ? "\r" : "\r\n";
}

qsizetype ZeileAbgrenzen(QByteArrayView text, QByteArrayView üblich, qsizetype& weiter)
{
    const qsizetype n = text.size();
    if (n > 5 && text.startsWith("#TAG:")) {
        qint64 ende = werteEndeSchnell(text);
        qsizetype bis = -1, bisWeiter = 0;
        if (ende == -2) {
            bis = üblichesEnde(text, üblich, bisWeiter);
            ende = werteEndeGenau(text, bis);
        }
        // The values end at a line end, whichever kind it is.
        if (ende >= 0 && ende <= n) {
            const char c = ende < n ? text[ende] : '\n';
            if (c == '\r' || c == '\n') {
                weiter = std::min<qsizetype>(n, ende + (c == '\r' && ende + 1 < n && text[ende + 1] == '\n' ? 2 : 1));
                return ende;
            }
        }
        if (bis >= 0) {
            weiter = bisWeiter;
            return bis;
        }
    }
    return üblichesEnde(text, üblich, weiter);
}

namespace {

// The least a piece of a text split into lines at once holds.
constexpr qsizetype kTeilMindestens = 1 << 20;

// The line at `p`: its length, and where the next one begins.
qsizetype zeileBei(QByteArrayView text, QByteArrayView üblich, qsizetype p, qsizetype& länge)
{
    qsizetype weiter = 0;
    länge = ZeileAbgrenzen(text.sliced(p), üblich, weiter);
    return p + std::max<qsizetype>(weiter, 1);
}

template <size_t N>
using Zeilenlisten = std::array<std::vector<QByteArrayView>, N>;

// The lines of `text` as ZeileAbgrenzen finds them, each non-empty one put
// into the list `sortieren` names for it (-1: none), in file order. A large
// text is walked in up to `teile` pieces at once.
template <size_t N, typename Sortieren>
Zeilenlisten<N> zeilenSortieren(QByteArrayView text, int teile, Sortieren sortieren)
{
    const QByteArrayView üblich = ÜblichesZeilenende(text);
    const qsizetype n = text.size();
    Zeilenlisten<N> listen;
    auto nehmen = [&](Zeilenlisten<N>& in, qsizetype p, qsizetype länge) {
        if (länge <= 0)
            return;
        const QByteArrayView z = text.sliced(p, länge);
        const int liste = sortieren(z);
        if (liste >= 0)
            in[size_t(liste)].push_back(z);
    };
    qsizetype p = 0;
    auto schritt = [&] {
        qsizetype länge = 0;
        const qsizetype weiter = zeileBei(text, üblich, p, länge);
        nehmen(listen, p, länge);
        p = weiter;
    };
    // More pieces than threads: a thread the system holds back delays only
    // the piece it has.
    const int stücke = teile > 1 ? int(std::clamp<qsizetype>(n / kTeilMindestens, 1, 4 * teile)) : 1;
    if (stücke == 1) {
        while (p < n)
            schritt();
        return listen;
    }

    // Each piece is walked from the first line end in it on. Where a value
    // holds a line end, a walk may begin inside that value: the walks are
    // joined where the one before reaches a line the next one went through
    // too (from there on both are the same), and walked on alone till then.
    struct Gang {
        std::vector<qsizetype> anfänge;
        Zeilenlisten<N> listen;
        qsizetype ende = 0;
    };
    std::vector<Gang> gänge(static_cast<size_t>(stücke));
    ParallelStückweise(teile, stücke, [&](int t) {
        Gang& g = gänge[size_t(t)];
        const qsizetype von = n * t / stücke, bis = n * (t + 1) / stücke;
        qsizetype q = 0;
        if (t > 0) {
            const void* f = std::memchr(text.data() + von, üblich.back(), size_t(bis - von));
            q = f ? static_cast<const char*>(f) - text.data() + 1 : bis;
        }
        while (q < bis) {
            qsizetype länge = 0;
            g.anfänge.push_back(q);
            const qsizetype weiter = zeileBei(text, üblich, q, länge);
            nehmen(g.listen, q, länge);
            q = weiter;
        }
        g.ende = q;
    });
    for (size_t k = 0; k < N; ++k) {
        size_t summe = 0;
        for (const Gang& g : gänge)
            summe += g.listen[k].size();
        listen[k].reserve(summe);
    }
    for (const Gang& g : gänge) {
        while (p < g.ende) {
            if (!std::binary_search(g.anfänge.begin(), g.anfänge.end(), p)) {
                schritt();
                continue;
            }
            const char* const ab = text.data() + p;
            for (size_t k = 0; k < N; ++k) {
                const auto& von = g.listen[k];
                const auto erste = std::lower_bound(von.begin(), von.end(), ab, [](QByteArrayView z, const char* a) {
                    return z.data() < a;
                });
                listen[k].insert(listen[k].end(), erste, von.end());
            }
            p = g.ende;
        }
    }
    while (p < n)
        schritt();
    return listen;
}

} // namespace

std::vector<QByteArrayView> ZeilenTeilen(QByteArrayView text)
{
    return std::move(zeilenSortieren<1>(text, 1, [](QByteArrayView) { return 0; })[0]);
}

void IndexzeilenTeilen(QByteArrayView text, int teile, std::vector<QByteArrayView>& einträge,
                       std::vector<QByteArrayView>& optionen)
{
    auto listen = zeilenSortieren<2>(text, teile, [](QByteArrayView z) {
        return IstEintragszeile(z) ? 0 : z.startsWith("#OPT:") ? 1 : -1;
    });
    einträge = std::move(listen[0]);
    optionen = std::move(listen[1]);
}

bool IstEintragszeile(QByteArrayView zeile)
{
    if (!zeile.startsWith("#TAG:"))
        return false;
    const char* a = zeile.data() + 5;
    const void* strich = std::memchr(a, '|', size_t(zeile.size() - 5));
    return strich && std::memchr(a, '/', size_t(static_cast<const char*>(strich) - a));
}

bool EintragszeileLesen(QByteArrayView zeile, TextSpeicher& texte, QString& pfad, MedienInfo& m)
{
    if (!IstEintragszeile(zeile))
        return false;
    const char* const anfang = zeile.data();
    const char* const ende = anfang + zeile.size();
    const char* const strich = static_cast<const char*>(std::memchr(anfang + 5, '|', size_t(zeile.size() - 5)));
    qint64 längen[kIndexWerteMax + 1] = {};
    const int anzahl = längenLesen(anfang, strich, längen);

    m.Mp3_ID3v1_Vorhanden = 2;
    m.Mp3_ID3v2_Vorhanden = 2;
    m.Datei_Größe = -1;
    m.Datei_Typ = 0;

    const char* p = strich + 1;
    QByteArrayView titelV1;
    const int werte = std::min(anzahl, kIndexWerteMax);
    for (int k = 1; k <= werte; ++k) {
        if (längen[k] <= 0)
            continue;
        // A length past the end of the line takes what is left.
        const qsizetype länge = qsizetype(std::min<qint64>(längen[k], ende - p));
        const QByteArrayView wert(p, länge);
        p += länge;
        if (wert.isEmpty())
            continue;
        const Feld& f = kFelder[size_t(k - 1)];
        switch (f.art) {
        case Art::Pfad:
            pfad = texte.Text(wert);
            break;
        case Art::Text:
            if (k == kWertTitelV1)
                titelV1 = wert;
            if (k == kWertTitelV2 && wert == titelV1)
                m.*f.text = m.Mp3_ID3v1_Titel;
            else
                m.*f.text = f.teilen == Teilen::Ja ? texte.Geteilt(wert, k - 1) : texte.Text(wert);
            break;
        case Art::Genre:
            if (const auto v = ZahlLesen(wert); v && *v >= 0 && *v <= 255)
                m.Mp3_ID3v1_Musikrichtung = texte.Genre(int(*v));
            break;
        case Art::Größe:
            if (const auto v = ZahlLesen(wert))
                m.Datei_Größe = *v;
            break;
        case Art::Zahl:
        case Art::ID3v2Größe:
            if (const auto v = ZahlLesen(wert); v && passt<qint32>(*v))
                m.*f.zahl = qint32(*v);
            else if (f.art == Art::ID3v2Größe)
                continue; // no number: no sign of a tag either
            break;
        case Art::Typ:
            if (const auto v = ZahlLesen(wert); v && passt<qint16>(*v))
                m.Datei_Typ = qint16(*v);
            break;
        case Art::VBR:
            if (const auto v = ZahlLesen(wert))
                m.Header_VBR = *v == -1 || *v >= 1;
            break;
        case Art::Datum:
            if (IstDatum(wert))
                m.*f.text = f.teilen == Teilen::Ja ? texte.Geteilt(wert, k - 1) : texte.Text(wert);
            break;
        case Art::Nichts:
            break;
        }
        if (f.tag == 1)
            m.Mp3_ID3v1_Vorhanden = 1;
        else if (f.tag == 2)
            m.Mp3_ID3v2_Vorhanden = 1;
    }
    return true;
}

void EintragszeileSchreiben(std::string& aus, const QString& pfad, const MedienInfo& m)
{
    // Values first (their byte lengths are needed before them), then the line.
    thread_local std::string werte;
    werte.clear();
    const int anzahl = m.Mp3_ID3v2_Vorhanden == 1 ? kWerteMitID3v2 : kWerteOhneID3v2;
    size_t längen[kWerteMitID3v2];
    for (int k = 1; k <= anzahl; ++k) {
        const Feld& f = kFelder[size_t(k - 1)];
        const size_t vorher = werte.size();
        switch (f.art) {
        case Art::Pfad:
            // A path names a file: it keeps every byte, a CR included.
            Utf8Anhängen(werte, pfad, false);
            break;
        case Art::Text:
        case Art::Datum:
            Utf8Anhängen(werte, m.*f.text);
            break;
        case Art::Genre:
            Utf8Anhängen(werte, ZeichenCodeZurückgeben(m.Mp3_ID3v1_Musikrichtung));
            break;
        case Art::Größe:
            zahlAnhängen(werte, m.Datei_Größe);
            break;
        case Art::Zahl:
        case Art::ID3v2Größe:
            zahlAnhängen(werte, m.*f.zahl);
            break;
        case Art::Typ:
            zahlAnhängen(werte, m.Datei_Typ);
            break;
        case Art::VBR:
            werte.push_back(m.Header_VBR ? '1' : '0');
            break;
        case Art::Nichts:
            break;
        }
        längen[k - 1] = werte.size() - vorher;
    }
    aus.append("#TAG:", 5);
    for (int k = 0; k < anzahl; ++k) {
        if (k > 0)
            aus.push_back('/');
        if (längen[k] != 0)
            zahlAnhängen(aus, qint64(längen[k]));
    }
    aus.push_back('|');
    aus.append(werte);
    zeilenendeAnhängen(aus);
}

// --- option lines -------------------------------------------------------------

namespace {

void optionAnhängen(std::string& aus, const char* schlüssel, QStringView wert)
{
    aus.append(schlüssel);
    Utf8Anhängen(aus, wert);
    zeilenendeAnhängen(aus);
}

void optionAnhängen(std::string& aus, const char* schlüssel, qint64 wert)
{
    aus.append(schlüssel);
    zahlAnhängen(aus, wert);
    zeilenendeAnhängen(aus);
}

// One digit: the switches of the column and sync options.
std::optional<int> ziffer(QByteArrayView rest)
{
    if (rest.size() == 1 && rest[0] >= '0' && rest[0] <= '9')
        return rest[0] - '0';
    return std::nullopt;
}

std::optional<qint64> zahlAusText(const QString& text) { return ZahlLesen(text.toLatin1()); }

} // namespace

void KopfzeilenSchreiben(std::string& aus, const Index& idx)
{
    aus.append("#TAG:kv102\r\n");
    if (idx.intSyncLeer != 1) {
        for (qsizetype i = 0; i < idx.strSyncOrdner.size(); ++i) {
            aus.append("#OPT:SYNC=");
            Utf8Anhängen(aus, idx.strSyncOrdner[i]);
            aus.push_back(',');
            zahlAnhängen(aus, i < idx.intSyncUnterordner.size() ? idx.intSyncUnterordner[i] : 0);
            aus.push_back(',');
            if (i < idx.strSyncKopierenInOrdner.size())
                Utf8Anhängen(aus, idx.strSyncKopierenInOrdner[i]);
            zeilenendeAnhängen(aus);
        }
    }
    optionAnhängen(aus, "#OPT:SYNC_ENTFERNEN=", idx.intSyncDanachEntfernen);
    if (idx.intDateiTypenLeer != 1) {
        for (qsizetype i = 0; i < idx.strDateiTypen.size(); ++i) {
            aus.append("#OPT:VERWALTEN=");
            Utf8Anhängen(aus, idx.strDateiTypen[i]);
            aus.push_back(',');
            if (i < idx.strDateiTypArten.size())
                Utf8Anhängen(aus, idx.strDateiTypArten[i]);
            zeilenendeAnhängen(aus);
        }
    }
    optionAnhängen(aus, "#OPT:SPALTEN_LEISTE=", idx.intSpaltenLeiste);
    optionAnhängen(aus, "#OPT:SPALTEN_GITTER=", idx.intSpaltenGitter);
    optionAnhängen(aus, "#OPT:SPALTEN=", idx.strSpalten);
    optionAnhängen(aus, "#OPT:SPALTEN_NUTZERFORMAT=", idx.strSpaltenNutzerformat);
    aus.append(kKodierungsOption);
    zeilenendeAnhängen(aus);
}

void OptionszeileLesen(QByteArrayView zeile, const TextSpeicher& texte, Index& idx)
{
    if (!zeile.startsWith("#OPT:"))
        return;
    QByteArrayView rest;
    auto schlüssel = [&](const char* s) {
        const QByteArrayView k(s);
        if (!beginntMitOhneFall(zeile, k))
            return false;
        rest = zeile.sliced(k.size());
        return true;
    };
    QStringList teile;
    if (schlüssel("#OPT:SYNC=")) {
        if (idx.intSyncLeer == 1) {
            idx.strSyncOrdner.clear();
            idx.intSyncUnterordner.clear();
            idx.strSyncKopierenInOrdner.clear();
            idx.intSyncLeer = 0;
        }
        idx.strSyncOrdner.append(QString());
        idx.intSyncUnterordner.append(0);
        idx.strSyncKopierenInOrdner.append(QString());
        if (!TextDatensätzeLesen(texte.Text(rest), QLatin1Char(','), 1, -1, teile) || teile.size() < 3)
            return;
        // A folder holding "," splits into more parts: the switch is the last
        // number before the copy-into folder, and the parts around it join again.
        qsizetype schalter = 1;
        if (teile.size() > 3) {
            schalter = -1;
            for (qsizetype i = teile.size() - 2; i >= 1 && schalter < 0; --i)
                if (zahlAusText(teile[i]))
                    schalter = i;
            if (schalter < 0)
                return;
        }
        const QString ordner = teile.mid(0, schalter).join(QLatin1Char(','));
        if (!ordner.isEmpty())
            idx.strSyncOrdner.back() = ordner;
        if (const auto v = zahlAusText(teile[schalter]); v && passt<qint16>(*v))
            idx.intSyncUnterordner.back() = int(*v);
        idx.strSyncKopierenInOrdner.back() = teile.mid(schalter + 1).join(QLatin1Char(','));
    } else if (schlüssel("#OPT:VERWALTEN=")) {
        if (idx.intDateiTypenLeer == 1) {
            idx.strDateiTypen.clear();
            idx.strDateiTypArten.clear();
            idx.intDateiTypenLeer = 0;
        }
        idx.strDateiTypen.append(QString());
        idx.strDateiTypArten.append(QString());
        if (!TextDatensätzeLesen(texte.Text(rest), QLatin1Char(','), 1, -1, teile) || teile.size() < 2)
            return;
        // The kinds are the last part; a type holding "," keeps its parts.
        const QString typ = teile.mid(0, teile.size() - 1).join(QLatin1Char(','));
        if (!typ.isEmpty())
            idx.strDateiTypen.back() = typ;
        if (zahlAusText(teile.back()))
            idx.strDateiTypArten.back() = teile.back();
    } else if (schlüssel("#OPT:SPALTEN_LEISTE=")) {
        if (const auto v = ziffer(rest))
            idx.intSpaltenLeiste = *v;
    } else if (schlüssel("#OPT:SPALTEN_GITTER=")) {
        if (const auto v = ziffer(rest))
            idx.intSpaltenGitter = *v;
    } else if (schlüssel("#OPT:SPALTEN=")) {
        idx.strSpalten = texte.Text(rest);
    } else if (schlüssel("#OPT:SPALTEN_NUTZERFORMAT=")) {
        idx.strSpaltenNutzerformat = texte.Text(rest);
    } else if (schlüssel("#OPT:SYNC_ENTFERNEN=")) {
        if (const auto v = ziffer(rest))
            idx.intSyncDanachEntfernen = *v;
    }
}

// --- version ------------------------------------------------------------------------

IndexVersion VersionErkennen(QByteArrayView zeile)
{
    IndexVersion v;
    if (!beginntMitOhneFall(zeile, "#TAG:kv"))
        return v;
    const QByteArrayView rest = zeile.sliced(7);
    v.versionText = QString::fromLatin1(ohneLeer(rest));
    const QByteArrayView zahl = ohneLeer(rest);
    bool nurZiffern = !zahl.isEmpty();
    for (char c : zahl)
        nurZiffern = nurZiffern && c >= '0' && c <= '9';
    if (nurZiffern) {
        // Versions compare as numbers ("99" is older than "102", "1000" newer).
        const auto n = ZahlLesen(zahl);
        v.code = !n ? 2 : *n == 100 ? 0 : *n == 101 ? 1 : 2;
        v.neuer = !n || *n > 102;
        return v;
    }
    v.code = rest.startsWith("102") ? 2 : rest.startsWith("101") ? 1 : rest.startsWith("100") ? 0 : 2;
    return v;
}

#include "core/Kodierung.h"

#include <cstring>

namespace {

// 0x80..0x9F of Windows-1252; undefined codes keep their C1 value.
const char16_t kHoch[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252Zeichen(unsigned char b) { return (b >= 0x80 && b <= 0x9F) ? kHoch[b - 0x80] : char16_t(b); }

} // namespace

QString Cp1252Dekodieren(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = cp1252Zeichen(static_cast<unsigned char>(bytes[i]));
    return s;
}

int Cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHoch[i] == c)
            return 0x80 + i;
    return -1;
}

QByteArray Cp1252Kodieren(QStringView text, char ersatz)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const int b = Cp1252Byte(c);
        if (b >= 0) {
            out.append(char(b));
        } else {
            // A surrogate pair is one character: one replacement.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
                ++i;
            out.append(ersatz);
        }
    }
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at p[0] (1 for ASCII), or 0
// when none starts there.
int sequenzLänge(const unsigned char* p, qsizetype rest)
{
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    int länge;
    char32_t cp;
    if ((c & 0xE0) == 0xC0) { länge = 2; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { länge = 3; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { länge = 4; cp = c & 0x07; }
    else return 0;
    if (länge > rest)
        return 0;
    for (int k = 1; k < länge; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are invalid.
    if ((länge == 2 && cp < 0x80) || (länge == 3 && cp < 0x800) || (länge == 4 && cp < 0x10000) || cp > 0x10FFFF
        || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return länge;
}

} // namespace

bool IstGültigesUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int länge = sequenzLänge(p + i, n - i);
        if (länge == 0)
            return false;
        i += länge;
    }
    return true;
}

QString Utf8Dekodieren(QByteArrayView bytes)
{
    if (IstGültigesUtf8(bytes))
        return QString::fromUtf8(bytes);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString s;
    s.reserve(n);
    qsizetype lauf = 0; // where the current run of well-formed sequences began
    for (qsizetype i = 0; i < n;) {
        const int länge = sequenzLänge(p + i, n - i);
        if (länge > 0) {
            i += länge;
            continue;
        }
        s += QString::fromUtf8(bytes.sliced(lauf, i - lauf));
        s += QChar(cp1252Zeichen(p[i]));
        lauf = ++i;
    }
    s += QString::fromUtf8(bytes.sliced(lauf));
    return s;
}

namespace {

bool nurAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* const e = p + bytes.size();
    quint64 oder = 0;
    for (; e - p >= 8; p += 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        oder |= w;
    }
    for (; p < e; ++p)
        oder |= quint8(*p);
    return (oder & 0x8080808080808080ULL) == 0;
}

} // namespace

QString Utf8OderCp1252Dekodieren(QByteArrayView bytes)
{
    if (!bytes.isEmpty() && nurAscii(bytes))
        return QString::fromLatin1(bytes);
    QString text = QString::fromUtf8(bytes);
    // The decoder puts U+FFFD where bytes are no UTF-8; the bytes of the
    // character itself are valid.
    if (text.contains(QChar::ReplacementCharacter) && !IstGültigesUtf8(bytes))
        return Cp1252Dekodieren(bytes);
    // The decoder takes room for as many characters as there are bytes.
    if (text.capacity() > text.size())
        text.squeeze();
    return text;
}

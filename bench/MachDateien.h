#pragma once
// Bytes of made MP3 files for the benchmarks: syncsafe sizes and text frames.

#include <QByteArray>
#include <QtEndian>

namespace bench {

inline QByteArray Syncsafe(quint32 n)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i, n >>= 7)
        b[i] = char(n & 0x7F);
    return b;
}

// A 2.3 text frame in ISO-8859-1.
inline QByteArray TextFrame(const char* id, const QByteArray& text)
{
    QByteArray größe(4, '\0');
    qToBigEndian<quint32>(quint32(text.size() + 1), größe.data());
    return QByteArray(id) + größe + QByteArray(3, '\0') + text;
}

} // namespace bench

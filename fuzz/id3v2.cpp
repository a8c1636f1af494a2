// ID3v2 tag reading over arbitrary bytes: the header search and the parser.
#include "media/Id3v2Lesen.h"

#include <QByteArrayView>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qint64 position = Id3v2KopfSuchen(bytes, bytes.size());
    const Id3v2Ergebnis e = Id3v2Lesen(position >= 0 ? bytes.sliced(position) : bytes);
    MedienInfo info;
    Id3v2Übernehmen(e, position, info);
    if (e.gültig && (e.ungenutzt < 0 || e.ungenutzt > e.kopf.GesamtGröße()))
        __builtin_trap();
    return 0;
}

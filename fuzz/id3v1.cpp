// ID3v1 block reading over arbitrary bytes.
#include "media/Id3v1Lesen.h"

#include <QByteArrayView>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (bool zeilenumbrüche : {false, true}) {
        const Id3v1Ergebnis e = Id3v1Lesen(bytes, zeilenumbrüche);
        MedienInfo info;
        Id3v1Übernehmen(e, info);
        if (e.gültig && (e.titel.size() > 30 || e.kommentar.size() > 30 || e.genre < 0 || e.genre > 255))
            __builtin_trap();
    }
    return 0;
}

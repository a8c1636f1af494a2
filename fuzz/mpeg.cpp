// MPEG frame search, Xing/VBRI reading and the derived values over arbitrary
// bytes, given whole and cut short (as a file read in steps sees them).
#include "media/MpegKopf.h"

#include <QByteArrayView>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qint64 n = bytes.size();
    MpegErgebnis e = MpegRahmenSuchen(bytes, 0, 0, n, n);
    if (e.status == MpegErgebnis::MehrDaten)
        __builtin_trap(); // all bytes were there
    MedienInfo info;
    MpegKopfÜbernehmen(e, n, info);
    if (e.status == MpegErgebnis::Gefunden && (e.position < 0 || e.position >= n || info.Header_Dauer < 0))
        __builtin_trap();
    // The same bytes seen as the start of a longer file, and from an offset.
    e = MpegRahmenSuchen(bytes.first(n / 2), 0, 0, n, n);
    if (e.status == MpegErgebnis::Gefunden)
        MpegWerteBerechnen(e, n);
    e = MpegRahmenSuchen(bytes, 1000, 1000 + n / 3, 1000 + n, 1000 + n + 7);
    MpegWerteBerechnen(e, 1000 + n + 7);
    return 0;
}

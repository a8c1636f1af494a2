#include "media/MedienDatei.h"

#include "core/Funktionen.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Enough for a small tag and the first frames of most files.
constexpr qint64 kKopfBlock = 8 * 1024;
constexpr qint64 kFrameBlock = 4 * 1024;
// How far behind the tag the first frame is looked for.
constexpr qint64 kFrameSuchweite = 102400;
} // namespace

MedienDatei::MedienDatei(const QString& pfad, bool schreiben)
{
    m_leseFehler = ENOENT;
    if (pfad.isEmpty())
        return;
    // Only a regular file: a FIFO would block the open, a device the reads.
    struct stat st;
    errno = 0;
    const int fd = ReguläreDateiÖffnen(pfad, &st, schreiben);
    if (fd < 0) {
        m_leseFehler = errno ? errno : EIO;
        return;
    }
    m_leseFehler = 0;
    m_fd = fd;
    m_länge = st.st_size;
    m_mtime = st.st_mtime;
    m_stand = DateiStandVon(st);
    m_modus = st.st_mode;
}

MedienDatei::~MedienDatei()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 MedienDatei::lesen(char* ziel, qint64 pos, qint64 n)
{
    qint64 gelesen = 0;
    while (gelesen < n) {
        const ssize_t r = ::pread(m_fd, ziel + gelesen, size_t(n - gelesen), off_t(pos + gelesen));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            // Every byte asked for lies inside the length seen at the open.
            if (m_leseFehler == 0)
                m_leseFehler = r < 0 ? errno : ESTALE;
            break;
        }
        gelesen += r;
    }
    if (m_abdruckFühren && gelesen > 0) {
        m_abdruck.Hinzufügen(ziel, gelesen);
        m_bereiche.emplace_back(pos, gelesen);
    }
    return gelesen;
}

bool MedienDatei::Unverändert()
{
    struct stat st;
    if (m_fd < 0)
        return false;
    if (::fstat(m_fd, &st) != 0) {
        if (m_leseFehler == 0)
            m_leseFehler = errno;
        return false;
    }
    const DateiStand jetzt = DateiStandVon(st);
    if (jetzt.größe != m_stand.größe || jetzt.geändertNs != m_stand.geändertNs) {
        if (m_leseFehler == 0)
            m_leseFehler = ESTALE;
        return false;
    }
    return true;
}

QByteArrayView MedienDatei::Lesen(qint64 pos, qint64 n)
{
    if (m_fd < 0 || pos < 0 || pos >= m_länge || n <= 0)
        return {};
    n = std::min(n, m_länge - pos);
    if (pos >= m_pufferAb && pos + n <= m_pufferAb + m_pufferLänge)
        return QByteArrayView(m_puffer.constData() + (pos - m_pufferAb), n);
    if (m_puffer.size() < n)
        m_puffer.resize(n);
    m_pufferAb = pos;
    m_pufferLänge = lesen(m_puffer.data(), pos, n);
    return QByteArrayView(m_puffer.constData(), m_pufferLänge);
}

QByteArray MedienDatei::Einlesen(qint64 pos, qint64 n)
{
    if (m_fd < 0 || pos < 0 || pos >= m_länge || n <= 0)
        return {};
    n = std::min(n, m_länge - pos);
    // What the head block holds already needs no second read.
    if (pos >= m_pufferAb && pos + n <= m_pufferAb + m_pufferLänge)
        return QByteArray(m_puffer.constData() + (pos - m_pufferAb), qsizetype(n));
    QByteArray b(qsizetype(n), Qt::Uninitialized);
    b.truncate(qsizetype(lesen(b.data(), pos, b.size())));
    return b;
}

QByteArrayView MedienDatei::Id3v1Block()
{
    if (!m_endeGelesen) {
        m_endeGelesen = true;
        if (m_fd >= 0 && m_länge >= 128) {
            m_ende.resize(128);
            if (lesen(m_ende.data(), m_länge - 128, 128) != 128 || !m_ende.startsWith("TAG"))
                m_ende.clear();
        }
    }
    return m_ende;
}

Id3v2Fund MedienDatei::Id3v2Finden(qint64 lngBytes)
{
    Id3v2Fund fund;
    if (m_fd < 0)
        return fund;
    // "ID3" must start in front of this limit; its header may reach 9 bytes beyond.
    const qint64 grenze = lngBytes > 0 ? std::min(lngBytes, m_länge) : m_länge;
    const qint64 nötig = std::min(grenze + 9, m_länge);
    for (qint64 n = kKopfBlock;; n *= 4) {
        const qint64 gewollt = std::min(n, nötig);
        const QByteArrayView v = Lesen(0, gewollt);
        if (const auto k = Id3v2KopfLesen(v)) {
            fund.position = 0;
            fund.kopf = *k;
            return fund;
        }
        const qint64 suchEnde = std::min<qint64>(grenze, v.size());
        const MpegErgebnis mp = MpegRahmenSuchen(v, 0, 0, suchEnde, m_länge);
        const qint64 bis = mp.status == MpegErgebnis::Gefunden ? mp.position
                         : mp.status == MpegErgebnis::MehrDaten ? mp.weiterAb
                                                                 : suchEnde;
        const qint64 p = Id3v2KopfSuchen(v, bis);
        if (p >= 0) {
            fund.position = p;
            fund.kopf = *Id3v2KopfLesen(v.sliced(p, 10));
            return fund;
        }
        if (mp.status == MpegErgebnis::Gefunden || v.size() >= nötig || v.size() < gewollt)
            return fund;
    }
}

MpegErgebnis MedienDatei::ErstenFrameSuchen(qint64 start, qint64 audioEnde)
{
    MpegErgebnis e;
    if (m_fd < 0 || start >= audioEnde)
        return e;
    const qint64 bis = start + kFrameSuchweite + 1;
    qint64 n = kFrameBlock;
    for (;;) {
        const QByteArrayView v = Lesen(start, std::min(n, audioEnde - start));
        e = MpegRahmenSuchen(v, start, start, bis, audioEnde);
        if (e.status != MpegErgebnis::MehrDaten || qint64(v.size()) < std::min(n, audioEnde - start))
            return e;
        n = std::max(n * 4, e.weiterAb - start + 8192 + 8);
    }
}

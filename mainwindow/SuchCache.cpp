#include "mainwindow/SuchCache.h"

namespace {
inline bool dieselben(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}
} // namespace

const QString& SuchCache::StandardText(const Index& idx, qint32 i)
{
    if (m_e.size() <= size_t(i))
        m_e.resize(std::max(size_t(i) + 1, size_t(idx.lngIndexAnzahl) + 1));
    Eintrag& e = m_e[size_t(i)];
    const MedienInfo& m = idx.IndexDaten[size_t(i)];
    const QString* q[6] = {&m.Mp3_ID3v2_Interpret, &m.Mp3_ID3v2_Titel, &m.Mp3_ID3v1_Interpret,
                           &m.Mp3_ID3v1_Titel,     &m.Mp3_ID3v1_Album, &idx.strIndexPfad[size_t(i)]};
    if (e.gültig && dieselben(*q[0], e.quelle[0]) && dieselben(*q[1], e.quelle[1]) && dieselben(*q[2], e.quelle[2])
        && dieselben(*q[3], e.quelle[3]) && dieselben(*q[4], e.quelle[4]) && dieselben(*q[5], e.quelle[5]))
        return e.gefaltet;
    qsizetype länge = 5;
    for (int k = 0; k < 6; ++k) {
        e.quelle[size_t(k)] = *q[k];
        länge += q[k]->size();
    }
    QString t;
    t.reserve(länge);
    for (int k = 0; k < 6; ++k) {
        if (k)
            t += QLatin1Char(' ');
        t += *q[k];
    }
    e.gefaltet = std::move(t).toCaseFolded();
    e.gültig = true;
    return e.gefaltet;
}

void SuchCache::Permutieren(const std::vector<qint32>& alt)
{
    std::vector<Eintrag> neu(std::max(m_e.size(), alt.size()));
    for (size_t k = 1; k < alt.size(); ++k)
        if (alt[k] >= 1 && size_t(alt[k]) < m_e.size())
            neu[k] = std::move(m_e[size_t(alt[k])]);
    m_e = std::move(neu);
}

SuchCache& suchCache(const Index& idx)
{
    static const Index* s_index = nullptr;
    static SuchCache s_cache;
    if (s_index != &idx) {
        s_index = &idx;
        s_cache.Leeren();
    }
    return s_cache;
}

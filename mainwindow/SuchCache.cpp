#include "mainwindow/SuchCache.h"

#include "mainwindow/Permutation.h"

namespace {

inline bool dieselben(const QString& a, const QString& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

inline void Utf8Anhängen(std::string& z, char32_t c)
{
    if (c < 0x80) {
        z += char(c);
    } else if (c < 0x800) {
        z += char(0xC0 | (c >> 6));
        z += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        z += char(0xE0 | (c >> 12));
        z += char(0x80 | ((c >> 6) & 0x3F));
        z += char(0x80 | (c & 0x3F));
    } else {
        z += char(0xF0 | (c >> 18));
        z += char(0x80 | ((c >> 12) & 0x3F));
        z += char(0x80 | ((c >> 6) & 0x3F));
        z += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void GefaltetAnhängen(std::string& ziel, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            ziel += char(c >= 'A' && c <= 'Z' ? c + 32 : c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        Utf8Anhängen(ziel, QChar::toCaseFolded(c));
    }
}

std::string Gefaltet(QStringView text)
{
    std::string s;
    s.reserve(size_t(text.size()));
    GefaltetAnhängen(s, text);
    return s;
}

std::string_view SuchCache::StandardText(const Index& idx, qint32 i)
{
    if (m_e.size() <= size_t(i))
        m_e.resize(std::max(size_t(i) + 1, size_t(idx.lngIndexAnzahl) + 1));
    Eintrag& e = m_e[size_t(i)];
    const MedienInfo& m = idx.IndexDaten[size_t(i)];
    const QString* q[6] = {&m.Mp3_ID3v2_Interpret, &m.Mp3_ID3v2_Titel, &m.Mp3_ID3v1_Interpret,
                           &m.Mp3_ID3v1_Titel,     &m.Mp3_ID3v1_Album, &idx.strIndexPfad[size_t(i)]};
    if (e.gültig && dieselben(*q[0], e.quelle[0]) && dieselben(*q[1], e.quelle[1]) && dieselben(*q[2], e.quelle[2])
        && dieselben(*q[3], e.quelle[3]) && dieselben(*q[4], e.quelle[4]) && dieselben(*q[5], e.quelle[5]))
        return std::string_view(m_text).substr(e.anfang, e.länge);

    if (e.gültig) {
        m_müll += e.länge;
        e.gültig = false;
    }
    if (m_müll > (1u << 20) && m_müll > m_text.size() / 2)
        Verdichten();
    if (m_text.empty())
        m_text.reserve(size_t(idx.lngIndexAnzahl) * 96);
    e.anfang = m_text.size();
    for (int k = 0; k < 6; ++k) {
        e.quelle[size_t(k)] = *q[k];
        if (k)
            m_text += ' ';
        GefaltetAnhängen(m_text, *q[k]);
    }
    e.länge = m_text.size() - e.anfang;
    e.gültig = true;
    return std::string_view(m_text).substr(e.anfang, e.länge);
}

// Rewrites the texts in entry order without the unused ones, so that a
// search walks the buffer from front to back.
void SuchCache::Verdichten()
{
    m_ersatz.clear();
    m_ersatz.reserve(m_text.size() - m_müll);
    for (Eintrag& e : m_e) {
        if (!e.gültig)
            continue;
        const size_t anfang = m_ersatz.size();
        m_ersatz.append(m_text, e.anfang, e.länge);
        e.anfang = anfang;
    }
    std::swap(m_text, m_ersatz);
    m_müll = 0;
}

void SuchCache::Permutieren(qint32 von, const std::vector<qint32>& alt)
{
    if (m_e.empty())
        return;
    const size_t ende = size_t(von) + alt.size();
    if (m_e.size() < ende)
        m_e.resize(ende);
    ZyklischAnwenden(alt, von, [this](size_t ziel, size_t quelle) { m_e[ziel] = std::move(m_e[quelle]); },
                     [this](size_t stelle) { return std::move(m_e[stelle]); },
                     [this](size_t ziel, Eintrag&& e) { m_e[ziel] = std::move(e); });
    Verdichten();
}

qint32 SuchCache::Vorbereiten(const Index& idx, qint32 von, qint32 anzahl)
{
    const qint32 bis = std::min<qint32>(von + anzahl - 1, idx.lngIndexAnzahl);
    for (qint32 i = std::max<qint32>(von, 1); i <= bis; ++i)
        StandardText(idx, i);
    return bis < idx.lngIndexAnzahl ? bis + 1 : 0;
}

void SuchCache::Leeren()
{
    m_e.clear();
    m_text.clear();
    m_müll = 0;
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

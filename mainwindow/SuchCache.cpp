#include "mainwindow/SuchCache.h"

#include "mainwindow/Permutation.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>

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

namespace {

// The texts the standard search looks at, in the order they are joined.
std::array<const QString*, 6> Quellen(const Index& idx, qint32 i)
{
    const MedienInfo& m = idx.IndexDaten[size_t(i)];
    return {&m.Mp3_ID3v2_Interpret, &m.Mp3_ID3v2_Titel, &m.Mp3_ID3v1_Interpret,
            &m.Mp3_ID3v1_Titel,     &m.Mp3_ID3v1_Album, &idx.strIndexPfad[size_t(i)]};
}

} // namespace

void SuchCache::Falten(Eintrag& e, const Index& idx, qint32 i, std::string& text)
{
    const auto q = Quellen(idx, i);
    e.anfang = text.size();
    for (size_t k = 0; k < q.size(); ++k) {
        e.quelle[k] = *q[k];
        if (k)
            text += ' ';
        GefaltetAnhängen(text, *q[k]);
    }
    e.länge = text.size() - e.anfang;
    e.gültig = true;
}

std::string_view SuchCache::StandardText(const Index& idx, qint32 i)
{
    if (m_e.size() <= size_t(i))
        m_e.resize(std::max(size_t(i) + 1, size_t(idx.lngIndexAnzahl) + 1));
    Eintrag& e = m_e[size_t(i)];
    const auto q = Quellen(idx, i);
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
    Falten(e, idx, i, m_text);
    return std::string_view(m_text).substr(e.anfang, e.länge);
}

void SuchCache::AllesFalten(const Index& idx)
{
    Leeren();
    const qint32 n = std::min<qint32>(idx.lngIndexAnzahl, idx.Kapazität());
    if (n <= 0)
        return;
    m_e.resize(size_t(n) + 1);
    // Pieces big enough to be worth a thread; each folds into its own buffer.
    const qint32 teile = std::clamp<qint32>(n / 4096, 1, qint32(std::max(1u, std::thread::hardware_concurrency())));
    std::vector<std::string> texte(static_cast<size_t>(teile));
    const auto erstes = [&](qint32 t) { return qint32(1 + qint64(n) * t / teile); };
    std::atomic<bool> fehlgeschlagen{false};
    const auto falten = [&](qint32 t) {
        try {
            std::string& text = texte[size_t(t)];
            text.reserve(size_t(erstes(t + 1) - erstes(t)) * 96);
            for (qint32 i = erstes(t); i < erstes(t + 1); ++i)
                Falten(m_e[size_t(i)], idx, i, text);
        } catch (...) {
            fehlgeschlagen = true;
        }
    };
    std::vector<std::thread> helfer;
    std::vector<qint32> selbst{0};
    for (qint32 t = 1; t < teile; ++t) {
        try {
            helfer.emplace_back(falten, t);
        } catch (const std::system_error&) {
            selbst.push_back(t); // no thread to be had: done here
        }
    }
    for (qint32 t : selbst)
        falten(t);
    for (std::thread& h : helfer)
        h.join();
    if (fehlgeschlagen) {
        Leeren(); // the search folds on use instead
        return;
    }

    // One buffer in entry order, as a search walks it.
    size_t summe = 0;
    for (const std::string& t : texte)
        summe += t.size();
    try {
        m_text.reserve(summe);
    } catch (const std::bad_alloc&) {
        Leeren();
        return;
    }
    for (qint32 t = 0; t < teile; ++t) {
        const size_t basis = m_text.size();
        m_text += texte[size_t(t)];
        for (qint32 i = erstes(t); i < erstes(t + 1); ++i)
            m_e[size_t(i)].anfang += basis;
    }
}

qint32 SuchCache::GefalteteAnzahl() const
{
    return qint32(std::count_if(m_e.begin(), m_e.end(), [](const Eintrag& e) { return e.gültig; }));
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

#pragma once
// The swappable services: message boxes, the progress and status displays,
// the list display, the player backend, the questions and viewers that
// windows provide, the document opener. Each is one program-wide slot named
// by a tag type (`struct XDienst { using Typ = …; };`, declared beside the
// service). The program's start-up (app/) installs the real ones in one
// place; tests replace one for their lifetime with DienstErsetzen, which puts
// the old one back. An empty slot means "no window": each service says what
// its callers do then.

#include <utility>

template <class Art>
typename Art::Typ& Dienst()
{
    static typename Art::Typ wert{};
    return wert;
}

// Installs `neu` and gives back what was installed.
template <class Art>
typename Art::Typ DienstSetzen(typename Art::Typ neu)
{
    return std::exchange(Dienst<Art>(), std::move(neu));
}

template <class Art>
class DienstErsetzen {
public:
    explicit DienstErsetzen(typename Art::Typ neu) : m_alt(DienstSetzen<Art>(std::move(neu))) {}
    ~DienstErsetzen() { DienstSetzen<Art>(std::move(m_alt)); }
    DienstErsetzen(const DienstErsetzen&) = delete;
    DienstErsetzen& operator=(const DienstErsetzen&) = delete;

private:
    typename Art::Typ m_alt;
};

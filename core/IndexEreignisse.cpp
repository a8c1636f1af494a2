#include "core/IndexEreignisse.h"

#include <utility>
#include <vector>

namespace {

struct Eintrag {
    int nummer;
    IndexHörer hörer;
};

std::vector<Eintrag>& hörerListe()
{
    static std::vector<Eintrag> liste;
    return liste;
}

} // namespace

int IndexHörerAnmelden(IndexHörer hörer)
{
    static int zähler = 0;
    hörerListe().push_back({++zähler, std::move(hörer)});
    return zähler;
}

void IndexHörerAbmelden(int nummer)
{
    std::erase_if(hörerListe(), [nummer](const Eintrag& e) { return e.nummer == nummer; });
}

void IndexEreignisMelden(IndexEreignis ereignis, Index& idx)
{
    // A copy: a listener may open a window that registers, or close one that leaves.
    const std::vector<Eintrag> liste = hörerListe();
    for (const Eintrag& e : liste)
        e.hörer(ereignis, idx);
}

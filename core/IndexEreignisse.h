#pragma once
// What other parts of the program do when the index changes as a whole: after
// a load (or anything else that changes which index file is loaded) and
// before a save writes the index options. Listeners register for as long as
// they live (the start-up wiring, a window) and are called in the order they
// registered.

#include "core/Index.h"

#include <functional>

enum class IndexEreignis {
    Geladen,        // an index file was loaded, or none is after a refused load
    VorDemSpeichern // a save is about to write the index options
};

using IndexHörer = std::function<void(IndexEreignis, Index&)>;

// Returns a number that IndexHörerAbmelden takes.
int IndexHörerAnmelden(IndexHörer hörer);
void IndexHörerAbmelden(int nummer);
// Calls every listener; one that registers or leaves meanwhile is safe.
void IndexEreignisMelden(IndexEreignis ereignis, Index& idx);

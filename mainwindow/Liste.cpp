#include "mainwindow/Liste.h"

SuchZustand& suchZustand()
{
    static SuchZustand z;
    return z;
}

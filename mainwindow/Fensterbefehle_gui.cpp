#include "mainwindow/Fensterbefehle_gui.h"

#include "mainwindow/frmInternet.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmStatistik.h"

void KleineFensterBefehleVerbinden(frmMain* f)
{
    f->BefehlVerbinden(f->cmdIndexStatistik, [f] { IndexStatistikZeigen(f); });
    f->BefehlVerbinden(f->mnu_song_InfosInternet, [f] { InternetSucheZeigen(f); });
}

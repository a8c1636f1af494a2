#include "media/Mp3TagBefehl_gui.h"

#include "core/Liste.h"
#include "mainwindow/frmMain.h"
#include "media/frmMp3Tag.h"

void Mp3TagBefehleVerbinden(frmMain* f)
{
    f->BefehlVerbinden(f->cmdMp3TagAnzeigen, [f] {
        const std::vector<qint32> einträge = AuswahlEinträgeKopieren();
        if (!einträge.empty())
            Mp3TagAnzeigen(einträge, f);
    });
}

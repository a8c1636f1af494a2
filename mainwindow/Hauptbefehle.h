#pragma once
// What the main window's commands take from the selection.

#include "core/Index.h"
#include "mainwindow/Liste.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <vector>

// The selected entries as the caller's own list (the shared selection may be
// rewritten while the command lets events run); empty when nothing is
// selected. Numbers that name no entry of `index` are left out.
std::vector<qint32> AuswahlEinträge(const ListenZustand& z, const Index& index);

// The files of the entries as file URLs, in the given order (what a drag out
// of the list carries).
QList<QUrl> DateiUrls(const Index& index, const std::vector<qint32>& einträge);

// The player's title as a standard search: every " - " becomes a blank, so
// artist and title are searched as words.
QString SpielerTitelSuchtext(const QString& titel);

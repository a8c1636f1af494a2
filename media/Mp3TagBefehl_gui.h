#pragma once
// The main window's commands that open the tag editor: "Datei-Infos", the
// context menu's item and, by the setting BeiDoppelklick, the double click
// (both run the "Datei-Infos" command).

class frmMain;

void Mp3TagBefehleVerbinden(frmMain* f);

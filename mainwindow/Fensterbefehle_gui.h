#pragma once
// Connects the commands that open the small windows: the index statistics
// and the song menu's web search.

class frmMain;

void KleineFensterBefehleVerbinden(frmMain* f);

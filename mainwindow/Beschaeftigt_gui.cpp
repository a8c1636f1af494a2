#include "mainwindow/Beschaeftigt_gui.h"

#include "core/Fortschritt.h"

#include <QApplication>
#include <QWidget>

bool ProgrammBeschäftigt(const QWidget* fenster)
{
    if (FortschrittLäuft() || QApplication::activeModalWidget() != nullptr)
        return true;
    return fenster != nullptr && !fenster->isEnabled();
}

#include "platform/Dialoge_gui.h"

#include <QApplication>
#include <QFileDialog>

QString OrdnerDialogZeigen(const QString& titel)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), titel, QString(),
                                             QFileDialog::ShowDirsOnly);
}

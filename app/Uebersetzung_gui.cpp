#include "app/Uebersetzung_gui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtÜbersetzungLaden(QCoreApplication& app)
{
    // The program speaks German whatever the desktop's language is.
    auto* übersetzer = new QTranslator(&app);
    if (!übersetzer->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete übersetzer;
        return false;
    }
    return QCoreApplication::installTranslator(übersetzer);
}

#include "support/Mutagen.h"

#include <QProcess>
#include <QStringList>

namespace testhilfe {

QString MutagenPython()
{
    for (const QString& p : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
        QProcess pr;
        pr.start(p, {QStringLiteral("-c"), QStringLiteral("import mutagen")});
        if (pr.waitForFinished(30000) && pr.exitStatus() == QProcess::NormalExit && pr.exitCode() == 0)
            return p;
    }
    return {};
}

} // namespace testhilfe

#include "support/Mutagen.h"

#include <QProcess>

#include <gtest/gtest.h>

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

QStringList Python(const QString& python, const char* skript, const QStringList& argumente)
{
    QProcess pr;
    pr.start(python, QStringList{QStringLiteral("-c"), QString::fromUtf8(skript)} + argumente);
    EXPECT_TRUE(pr.waitForFinished(60000));
    EXPECT_EQ(pr.exitCode(), 0) << pr.readAllStandardError().toStdString();
    return QString::fromUtf8(pr.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace testhilfe

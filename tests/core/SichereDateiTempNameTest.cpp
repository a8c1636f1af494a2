// The temporary copy never takes a name that is already there: a leftover,
// the user's own file or a link of that name stays through every way a
// rewrite ends (done, a failed write, a failed rename, dropped unfinished).

#include "core/SichereDatei.h"
#include "support/IndexDateiHilfen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testhilfe::DateiInhalt;

void Schreiben(const QString& pfad, const QByteArray& d)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(d);
}

enum class Ende { Fertig, Schreibfehler, Umbenennfehler, Fallengelassen };

} // namespace

TEST(SichereDateiTempName, ATakenNameStaysWhateverTheEnd)
{
    QTemporaryDir t;
    const QString ziel = t.filePath("a.mp3");
    for (const char* suffix : {"~", "-neu"})
        for (const Ende ende : {Ende::Fertig, Ende::Schreibfehler, Ende::Umbenennfehler, Ende::Fallengelassen}) {
            SCOPED_TRACE(testing::Message() << suffix << " " << int(ende));
            Schreiben(ziel, "alt");
            const QString belegt = ziel + QLatin1String(suffix);
            Schreiben(belegt, "übrig");
            QString temp;
            {
                SichereDatei s(ziel, QString::fromLatin1(suffix));
                ASSERT_TRUE(s.Öffnen());
                temp = s.TempName();
                EXPECT_EQ(temp, belegt + "1");
                SichereDatei::FehlerBeiSchreibvorgang(ende == Ende::Schreibfehler ? 1 : 0);
                SichereDatei::FehlerBeimUmbenennen(ende == Ende::Umbenennfehler);
                const bool ok = s.Schreiben(QByteArray(2 << 20, 'n')) && ende != Ende::Fallengelassen && s.Fertigstellen();
                SichereDatei::FehlerBeiSchreibvorgang(0);
                SichereDatei::FehlerBeimUmbenennen(false);
                EXPECT_EQ(ok, ende == Ende::Fertig);
            }
            EXPECT_EQ(DateiInhalt(belegt), "übrig");
            EXPECT_FALSE(QFileInfo::exists(temp));
            EXPECT_EQ(DateiInhalt(ziel), ende == Ende::Fertig ? QByteArray(2 << 20, 'n') : QByteArray("alt"));
            QFile::remove(belegt);
        }
}

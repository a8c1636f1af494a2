// The fingerprint that decides whether a file another inode number names is
// still the file known: the same however its bytes come in (the pieces a
// save hands over, the reads of a later check, the ranges a reading used),
// and another one for a single byte changed anywhere, far behind the first
// piece too.

#include "core/Inhaltsabdruck.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

// More than three reads of the check and many pieces of any save.
QByteArray Bytes()
{
    QByteArray daten(3 * 1024 * 1024 + 12345, Qt::Uninitialized);
    quint32 x = 1;
    for (char& c : daten) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    return daten;
}

// The fingerprint of `daten` handed in pieces of the given lengths, repeated
// until the bytes are used up.
std::array<quint64, 2> InStücken(const QByteArray& daten, const std::vector<qint64>& längen)
{
    Inhaltsabdruck abdruck;
    qint64 ab = 0;
    for (size_t i = 0; ab < daten.size(); ++i) {
        const qint64 n = std::min(längen[i % längen.size()], qint64(daten.size()) - ab);
        abdruck.Hinzufügen(daten.constData() + ab, n);
        ab += n;
    }
    return abdruck.Ergebnis();
}

// The fingerprint of a file holding `daten`, read by the check.
std::array<quint64, 2> AusDatei(const QTemporaryDir& dir, const QByteArray& daten, const Dateibereiche& bereiche = {})
{
    const QString pfad = dir.filePath("datei");
    QFile f(pfad);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(f.write(daten), daten.size());
    f.close();
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    const auto abdruck = bereiche.empty() ? Inhaltsabdruck::VonDatei(fd) : Inhaltsabdruck::VonBereichen(fd, bereiche);
    ::close(fd);
    return abdruck;
}

} // namespace

TEST(Inhaltsabdruck, JedeStückelungGleichJedesByteZählt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray daten = Bytes();
    const qint64 größe = daten.size();
    const auto bekannt = AusDatei(dir, daten);
    ASSERT_NE(bekannt, (std::array<quint64, 2>{}));

    const struct {
        const char* name;
        std::vector<qint64> längen;
    } schnitte[] = {{"am Stück", {größe}},
                    {"ein Byte, dann der Rest", {1, größe}},
                    {"Blöcke", {65536}},
                    {"ein Byte unter dem Block", {65535}},
                    {"ein Byte über dem Block", {65537}},
                    {"wie ein Speichern", {256 * 1024 + 17}},
                    {"durcheinander", {1, 7, 70000, 3, 131072, 65535}}};
    for (const auto& schnitt : schnitte) {
        SCOPED_TRACE(schnitt.name);
        EXPECT_EQ(InStücken(daten, schnitt.längen), bekannt);
    }
    // The ranges a reading used, one after the other.
    Dateibereiche bereiche;
    for (qint64 ab = 0; ab < größe; ab += 100000)
        bereiche.emplace_back(ab, std::min<qint64>(100000, größe - ab));
    EXPECT_EQ(AusDatei(dir, daten, bereiche), bekannt);

    for (const qint64 stelle : {qint64(0), qint64(65535), qint64(65536), qint64(256 * 1024 + 5), qint64(1 << 20),
                                qint64(2 << 20) + 1, größe - 1}) {
        SCOPED_TRACE(stelle);
        QByteArray anders = daten;
        anders[stelle] = char(anders[stelle] ^ 1);
        EXPECT_NE(AusDatei(dir, anders), bekannt);
        EXPECT_NE(InStücken(anders, {256 * 1024 + 17}), bekannt);
    }
    EXPECT_NE(AusDatei(dir, daten.first(größe - 1)), bekannt) << "one byte less";
}

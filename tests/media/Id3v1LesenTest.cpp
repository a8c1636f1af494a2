// The 128-byte ID3v1 block.

#include "core/Funktionen.h"
#include "media/Id3v1Lesen.h"
#include "support/Mp3Bauer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

TEST(Id3v1Lesen, FieldsTrackAndGenre)
{
    Id3v1Ergebnis e = Id3v1Lesen(Id3v1Block({.titel = "Titel", .interpret = "Interpret  ", .album = "Album",
                                             .jahr = "2001", .kommentar = "Kommentar", .spur = 7, .genre = 17}),
                                 false);
    ASSERT_TRUE(e.gültig);
    EXPECT_EQ(e.kennung, "TAG");
    EXPECT_EQ(e.titel, "Titel");
    EXPECT_EQ(e.interpret, "Interpret");
    EXPECT_EQ(e.album, "Album");
    EXPECT_EQ(e.jahr, "2001");
    EXPECT_EQ(e.kommentar, "Kommentar");
    EXPECT_EQ(e.titelnummer, "7");
    EXPECT_EQ(e.genre, 17);

    // Zero at 125 and 126: no track.
    e = Id3v1Lesen(Id3v1Block({.kommentar = "k", .spur = 0}), false);
    EXPECT_EQ(e.titelnummer, "");
    // ID3v1.0: a comment of 30 characters and no track.
    e = Id3v1Lesen(Id3v1Block({.kommentar = "123456789012345678901234567890"}), false);
    EXPECT_EQ(e.kommentar, "123456789012345678901234567890");
    EXPECT_EQ(e.titelnummer, "");
    // A genre byte beyond the table stays the byte it is.
    EXPECT_EQ(Id3v1Lesen(Id3v1Block({.genre = 200}), false).genre, 200);
    EXPECT_EQ(Id3v1Lesen(Id3v1Block({.genre = 255}), false).genre, 255);

    MedienInfo m;
    Id3v1Übernehmen(Id3v1Lesen(Id3v1Block({.titel = "T", .genre = 200}), false), m);
    EXPECT_EQ(m.Mp3_ID3v1_Vorhanden, 1);
    EXPECT_EQ(GenreByte(m), 200);
    Id3v1Übernehmen(Id3v1Ergebnis{}, m);
    EXPECT_EQ(m.Mp3_ID3v1_Vorhanden, 2);
    EXPECT_EQ(m.Mp3_ID3v1_Titel, "");
    EXPECT_EQ(m.Mp3_ID3v1_Musikrichtung, "");
}

TEST(Id3v1Lesen, TextsEndAtTheirFirstNul)
{
    // Leftovers of an older, longer value behind the terminator are not text.
    QByteArray b = Id3v1Block({.titel = "Neu"});
    b.replace(3 + 4, 6, "altalt");
    b.replace(97, 30, QByteArray("kurz\0Rest eines alten Textes!!", 30)); // byte 125 is not 0
    const Id3v1Ergebnis e = Id3v1Lesen(b, false);
    EXPECT_EQ(e.titel, "Neu");
    EXPECT_EQ(e.kommentar, "kurz");
    EXPECT_EQ(e.titelnummer, "");

    // Windows-1252 texts; line breaks only in the comment and only when kept.
    b = Id3v1Block({.titel = "a\r\nb \x80", .kommentar = "eins\r\nzwei\rdrei"});
    EXPECT_EQ(Id3v1Lesen(b, false).titel, QStringLiteral("ab €"));
    EXPECT_EQ(Id3v1Lesen(b, false).kommentar, "einszweidrei");
    EXPECT_EQ(Id3v1Lesen(b, true).kommentar, "eins\nzwei\ndrei");
    EXPECT_EQ(Id3v1Lesen(b, true).titel, QStringLiteral("ab €"));
}

TEST(Id3v1Lesen, OnlyTheLast128BytesStartingWithTag)
{
    const QByteArray block = Id3v1Block({.titel = "x"});
    EXPECT_FALSE(Id3v1Lesen(block.left(127), false).gültig);
    EXPECT_TRUE(Id3v1Lesen(QByteArray(500, 'a') + block, false).gültig);
    EXPECT_FALSE(Id3v1Lesen(block + "a", false).gültig);
    QByteArray klein = block;
    klein[0] = 't';
    EXPECT_FALSE(Id3v1Lesen(klein, false).gültig);

    QTemporaryDir dir;
    EXPECT_EQ(Mp3tagLesenStr(DateiSchreiben(dir, "127", block.left(127))), QByteArray());
    EXPECT_EQ(Mp3tagLesenStr(DateiSchreiben(dir, "128", block)), block);
    EXPECT_EQ(Mp3tagLesenStr(DateiSchreiben(dir, "lang", QByteArray(1000, '\xFF') + block)), block);
    EXPECT_EQ(Mp3tagLesenStr(dir.filePath("fehlt")), QByteArray());
    EXPECT_EQ(Mp3tagLesenStr(dir.path()), QByteArray());
}

#include "mainwindow/Internet.h"

#include <gtest/gtest.h>

TEST(InternetFormat, BuchstabenBleibenAllesAndereWirdZweistelligMaskiert)
{
    EXPECT_EQ(InternetFormat("AC/DC 1"), "AC%2FDC%20%31");
    EXPECT_EQ(InternetFormat("a\tb"), "a%09b") << "one hex digit would swallow the next character";
    EXPECT_EQ(InternetFormat(QString(QChar(1)) + "0"), "%01%30");
    EXPECT_EQ(InternetFormat("Motörhead"), "Mot%C3%B6rhead") << "the services expect UTF-8";
    EXPECT_EQ(InternetFormat(QStringLiteral("ä€")), "%C3%A4%E2%82%AC");
    EXPECT_EQ(InternetFormat(""), "");
}

TEST(InternetFormat, ZeichenOhneAnsiCodeGehenNichtVerloren)
{
    // U+3042 (Hiragana a) and U+1F3B5 (a surrogate pair) by their UTF-8 bytes.
    EXPECT_EQ(InternetFormat(QStringLiteral("\u3042")), "%E3%81%82");
    EXPECT_EQ(InternetFormat(QString::fromUtf8("x\xF0\x9F\x8E\xB5y")), "x%F0%9F%8E%B5y");
}

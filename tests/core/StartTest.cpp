#include "core/Start.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Start, Befehlszeile)
{
    EXPECT_EQ(BefehlszeileAuswerten("\"/musik/alle.kvx\""), "/musik/alle.kvx");
    EXPECT_EQ(BefehlszeileAuswerten("/musik/alle.kvx"), "/musik/alle.kvx");
    EXPECT_EQ(BefehlszeileAuswerten("/musik/mit blank.kvx"), "/musik/mit blank.kvx");
    // Quotes are stripped only when there is one at each end.
    // (what is left names a file relative to the current folder)
    EXPECT_EQ(BefehlszeileAuswerten("\"/musik/alle.kvx"), QDir::current().absoluteFilePath("\"/musik/alle.kvx"));
    EXPECT_EQ(BefehlszeileAuswerten("\""), std::nullopt);
    EXPECT_EQ(BefehlszeileAuswerten("\"\""), std::nullopt);
    EXPECT_EQ(BefehlszeileAuswerten(""), std::nullopt);
    EXPECT_EQ(BefehlszeileAuswerten("file:///musik/mit%20blank.kvx"), "/musik/mit blank.kvx");
    EXPECT_EQ(BefehlszeileAusArgumenten({"kalvero", "/a", "b.kvx"}), "/a b.kvx");
    EXPECT_EQ(BefehlszeileAusArgumenten({"kalvero"}), "");
}

// `kalvero lib.kvx` started in one folder must name the same file when the
// next start happens elsewhere: the stored name is absolute.
TEST(Start, RelativeIndexdateiWirdAbsolut)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString vorher = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const auto bare = BefehlszeileAuswerten("lib.kvx");
    const auto quoted = BefehlszeileAuswerten("\"unter/mit blank.kvx\"");
    const auto hoch = BefehlszeileAuswerten("../x.kvx");
    QDir::setCurrent(vorher);
    EXPECT_EQ(bare, QDir(dir.path()).filePath("lib.kvx"));
    EXPECT_EQ(quoted, QDir(dir.path()).filePath("unter/mit blank.kvx"));
    ASSERT_TRUE(hoch.has_value());
    EXPECT_TRUE(QFileInfo(*hoch).isAbsolute());
    EXPECT_EQ(*hoch, QFileInfo(QDir(dir.path()).filePath("../x.kvx")).absoluteFilePath());
}

TEST(Start, LautstärkeUndBalanceWerdenBegrenzt)
{
    EXPECT_EQ(LautstärkeBegrenzen(255), 255);
    EXPECT_EQ(LautstärkeBegrenzen(0), 0);
    EXPECT_EQ(LautstärkeBegrenzen(256), 128);
    EXPECT_EQ(LautstärkeBegrenzen(-1), 128);
    EXPECT_EQ(BalanceBegrenzen(-128), -128);
    EXPECT_EQ(BalanceBegrenzen(128), 128);
    EXPECT_EQ(BalanceBegrenzen(-129), 0);
    EXPECT_EQ(BalanceBegrenzen(129), 0);
}

TEST(Start, PlatzierungNachGespeicherterVersion)
{
    const QRect entwurf(100, 200, 9000, 6000);
    const QSize bildschirm(20000, 15000);
    const QRect gespeichert(300, 400, 8000, 5000);
    auto p = FensterPlatzierungBerechnen(0, "10", gespeichert, 0, entwurf, bildschirm);
    EXPECT_EQ(p.art, Platzierung::Art::Zentriert);
    EXPECT_EQ(p.rechteck, QRect(5500, 4500, 9000, 6000));
    p = FensterPlatzierungBerechnen(10, "10", gespeichert, 0, entwurf, bildschirm);
    EXPECT_EQ(p.art, Platzierung::Art::Gespeichert);
    EXPECT_EQ(p.rechteck, gespeichert);
    // Same version, width 0: the design place, not centred; maximised still applies.
    p = FensterPlatzierungBerechnen(10, "10", QRect(300, 400, 0, 5000), 1, entwurf, bildschirm);
    EXPECT_EQ(p.art, Platzierung::Art::Entwurf);
    EXPECT_EQ(p.rechteck, entwurf);
    EXPECT_TRUE(p.maximiert);
    p = FensterPlatzierungBerechnen(9, "10", gespeichert, 1, entwurf, bildschirm);
    EXPECT_EQ(p.art, Platzierung::Art::Zentriert);
}

TEST(Start, TippDesTages)
{
    const int n = int(standardwerte().strTipps.size());
    ASSERT_EQ(n, 22);
    EXPECT_EQ(NächsterTipp(1, n), 2);
    EXPECT_EQ(NächsterTipp(n, n), 1);
    EXPECT_EQ(NächsterTipp(0, n), 0);
    EXPECT_EQ(NächsterTipp(-3, n), 1);
    EXPECT_EQ(NächsterTipp(99, n), 1);
}

TEST(Standardwerte, Tabellen)
{
    const Standardwerte& s = standardwerte();
    EXPECT_EQ(s.GenreName(0), "Blues");
    EXPECT_EQ(s.GenreName(144), "Thrash Metal");
    EXPECT_EQ(s.GenreName(133), "Punk (133)");
    EXPECT_EQ(s.GenreName(145), "");
    EXPECT_EQ(s.GenreName(255), "");
    QSet<QString> namen;
    for (int n = 0; n <= 144; ++n)
        namen.insert(s.GenreName(n));
    EXPECT_EQ(namen.size(), 145) << "no genre name occurs twice";
    EXPECT_EQ(s.strStandardDateiTypen.size(), 13);
    EXPECT_EQ(s.strStandardDateiTypen.back(), "*=0");
    EXPECT_EQ(s.LeereMedienInfo.Datei_Größe, -1);
    EXPECT_EQ(s.LeereMedienInfo.Mp3_ID3v1_Vorhanden, 2);
    EXPECT_EQ(s.LeereMedienInfo.Mp3_ID3v2_Vorhanden, 2);
    EXPECT_TRUE(s.strTipps[1].contains("\r\n"));
    EXPECT_FALSE(s.strTipps[0].contains("\r\n"));
}

TEST(StatusMeldung, TipptZweiZeichenHältUndStelltDenTitelWiederHer)
{
    StatusSchreiber s;
    QStringList titel;
    s.titelSetzen = [&](const QString& t) { titel << t; };
    s.normalerTitel = [] { return QStringLiteral("Kalvero 1.0 - x.kvx"); };
    s.Zeigen("Hallo", 0);
    EXPECT_TRUE(titel.isEmpty()) << "delay 0 does not reset the caption first";
    s.tmrTimer1_Timer();
    s.tmrTimer1_Timer();
    s.tmrTimer1_Timer(); // past the end: whole text, hold phase
    EXPECT_EQ(titel, (QStringList{"Ha", "Hall", "Hallo"}));
    EXPECT_EQ(s.tmrTimer1.interval(), 2500);
    s.tmrTimer1_Timer();
    EXPECT_EQ(titel.back(), "Kalvero 1.0 - x.kvx");
    EXPECT_FALSE(s.tmrTimer1.isActive());

    titel.clear();
    s.Zeigen("Neu", 500);
    EXPECT_EQ(titel, QStringList{"Kalvero 1.0 - x.kvx"});
    EXPECT_TRUE(s.tmrTimer2.isActive());
    EXPECT_EQ(s.tmrTimer2.interval(), 500);
    s.Zeigen("Nur merken", -1);
    EXPECT_FALSE(s.tmrTimer2.isActive());
    EXPECT_FALSE(s.tmrTimer1.isActive());
    EXPECT_EQ(s.strStatusText, "Nur merken");
}

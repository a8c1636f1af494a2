// A full rewrite meets what others left: a file that already has the
// temporary name (the user's own, a link, a read-only one, a killed run's
// leftover) stays as it is; a file another program still writes is not
// replaced, while a player that only reads it is no reason to refuse.

#include "core/Einstellungen.h"
#include "core/SichereDatei.h"
#include "media/TagSchreiben.h"
#include "support/FremderProzess.h"
#include "support/Mp3Bauer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

using namespace Mp3Bauer;

namespace {

QByteArray Inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

MedienInfo Titel()
{
    MedienInfo m;
    m.Mp3_ID3v2_Titel = QStringLiteral("Neuer Titel");
    m.Mp3_ID3v2_Interpret = QStringLiteral("Interpret");
    return m;
}

enum class Vorgang { SchreibenV2, EntfernenV2, EntfernenV1 };

// Runs the rewrite; true when it reports success.
bool Ausführen(Vorgang v, const QString& pfad, QString& meldung)
{
    switch (v) {
    case Vorgang::SchreibenV2:
        return Mp3TAGSpeichernV2(pfad, Titel(), meldung);
    case Vorgang::EntfernenV2:
        return TAGEntfernenV2(pfad, meldung) == TagEntfernenErgebnis::Entfernt;
    case Vorgang::EntfernenV1:
        return TAGEntfernen(pfad, meldung) == TagEntfernenErgebnis::Entfernt;
    }
    return false;
}

class TagSchreibenFremde : public ::testing::Test {
protected:
    QTemporaryDir ordner;
    QByteArray daten;
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        einstellungen().TAGsBytesSuchen = 102400;
        einstellungen().TAGsProzentHinzufügen = 25;
        // A small tag: the new one does not fit, so every case is a full rewrite.
        Id3v2Tag tag;
        tag.frames = {TextFrame("TIT2", QStringLiteral("alt"))};
        daten = tag.Bytes() + Frames(Frame(), 40) + Id3v1Block({.titel = "alt"});
    }
    void TearDown() override { SichereDatei::TestHaken({}); }
    QString Datei(const QString& name) { return DateiSchreiben(ordner, name, daten); }
    // Names in the folder but the given ones: what a rewrite left behind.
    QStringList Übrige(const QStringList& erwartet) const
    {
        QStringList namen = QDir(ordner.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& n : erwartet)
            namen.removeAll(n);
        return namen;
    }
};

constexpr Vorgang kVorgänge[] = {Vorgang::SchreibenV2, Vorgang::EntfernenV2, Vorgang::EntfernenV1};

} // namespace

TEST_F(TagSchreibenFremde, ATakenTemporaryNameStaysAndAFreeOneIsUsed)
{
    struct Belegung {
        const char* was;
        std::function<void(const QString& name)> anlegen;
        std::function<void(const QString& name)> prüfen;
    };
    const QString fremd = DateiSchreiben(ordner, "fremd.txt", "fremde Daten");
    const std::vector<Belegung> belegungen = {
        {"the user's own file", [&](const QString& n) { DateiSchreiben(ordner, n, "eigene Datei"); },
         [&](const QString& n) { EXPECT_EQ(Inhalt(ordner.filePath(n)), "eigene Datei"); }},
        {"a read-only file",
         [&](const QString& n) {
             DateiSchreiben(ordner, n, "schreibgeschützt");
             QFile::setPermissions(ordner.filePath(n), QFileDevice::ReadOwner);
         },
         [&](const QString& n) { EXPECT_EQ(Inhalt(ordner.filePath(n)), "schreibgeschützt"); }},
        {"a symbolic link", [&](const QString& n) { ASSERT_TRUE(QFile::link(fremd, ordner.filePath(n))); },
         [&](const QString& n) {
             EXPECT_EQ(QFileInfo(ordner.filePath(n)).symLinkTarget(), fremd);
             EXPECT_EQ(Inhalt(fremd), "fremde Daten");
         }},
        {"a dangling link", [&](const QString& n) { ASSERT_TRUE(QFile::link("nirgends", ordner.filePath(n))); },
         [&](const QString& n) {
             EXPECT_TRUE(QFileInfo(ordner.filePath(n)).isSymLink());
             EXPECT_FALSE(QFile::exists(ordner.filePath("nirgends")));
         }},
        {"a folder", [&](const QString& n) { ASSERT_TRUE(QDir(ordner.path()).mkdir(n)); },
         [&](const QString& n) { EXPECT_TRUE(QFileInfo(ordner.filePath(n)).isDir()); }},
    };
    // A name of 255 bytes: its temporary name is the shortened one.
    const QString lang = QString(251, QLatin1Char('l')) + QStringLiteral(".mp3");
    int n = 0;
    for (const Belegung& b : belegungen)
        for (const Vorgang v : kVorgänge)
            for (const bool langerName : {false, true}) {
                SCOPED_TRACE(testing::Message() << b.was << " " << int(v) << " " << langerName);
                const QString name = langerName ? lang : QStringLiteral("t%1.mp3").arg(n++);
                const QString pfad = Datei(name);
                const QString belegt = QFileInfo(TempNameBilden(pfad, QStringLiteral("-neu"))).fileName();
                b.anlegen(belegt);
                QString meldung;
                EXPECT_TRUE(Ausführen(v, pfad, meldung)) << meldung.toStdString();
                EXPECT_NE(Inhalt(pfad), daten);
                b.prüfen(belegt);
                EXPECT_EQ(Übrige({QFileInfo(fremd).fileName(), name, belegt}), QStringList())
                    << "the copy took a name of its own and is gone";
                QFile::setPermissions(ordner.filePath(belegt), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
                QDir(ordner.filePath(belegt)).removeRecursively();
                QFile::remove(ordner.filePath(belegt));
                QFile::remove(pfad);
            }
}

TEST_F(TagSchreibenFremde, EveryTemporaryNameTakenRefusesAndRemovesNone)
{
    const QString pfad = Datei("a.mp3");
    QStringList namen = {"a.mp3"};
    for (int k = 0; k < 100; ++k) {
        namen << QStringLiteral("a.mp3-neu") + (k ? QString::number(k) : QString());
        DateiSchreiben(ordner, namen.back(), "belegt");
    }
    for (const Vorgang v : kVorgänge) {
        QString meldung;
        EXPECT_FALSE(Ausführen(v, pfad, meldung));
        EXPECT_EQ(Inhalt(pfad), daten);
        for (const QString& n : namen.mid(1))
            ASSERT_EQ(Inhalt(ordner.filePath(n)), "belegt") << n.toStdString();
        EXPECT_EQ(Übrige(namen), QStringList());
    }
}

// A second process holds the file: open for writing (before the rewrite, or
// opened just as the copy is complete) the file is left alone; a reader is
// no reason.
TEST_F(TagSchreibenFremde, AFileAnotherProgramWritesIsNotReplaced)
{
    using Art = FremderProzess::Art;
    struct Fall {
        std::optional<Art> vorher;  // held from before the rewrite
        std::optional<Art> amEnde;  // opened right before the rename
        bool geschrieben;
    };
    const Fall fälle[] = {
        {Art::Anhängen, std::nullopt, false},
        {Art::Schreiben, std::nullopt, false},
        {Art::LesenSchreiben, std::nullopt, false},
        {std::nullopt, Art::Anhängen, false},
        {Art::Lesen, Art::Schreiben, false},
        {Art::Lesen, std::nullopt, true},
        {std::nullopt, Art::Lesen, true},
    };
    int n = 0;
    for (const Fall& fall : fälle)
        for (const Vorgang v : kVorgänge) {
            SCOPED_TRACE(testing::Message() << "case " << (&fall - fälle) << " operation " << int(v));
            const QString name = QStringLiteral("d%1.mp3").arg(n++), pfad = Datei(name);
            std::optional<FremderProzess> vorher, amEnde;
            if (fall.vorher) {
                vorher.emplace(pfad, *fall.vorher);
                ASSERT_TRUE(vorher->Offen());
            }
            SichereDatei::TestHaken([&](SichereDatei::Schritt s) {
                if (s == SichereDatei::Schritt::VorDemAbschluss && fall.amEnde)
                    amEnde.emplace(pfad, *fall.amEnde);
            });
            QString meldung;
            const bool ok = Ausführen(v, pfad, meldung);
            SichereDatei::TestHaken({});
            if (fall.amEnde)
                ASSERT_TRUE(amEnde && amEnde->Offen());
            EXPECT_EQ(ok, fall.geschrieben) << meldung.toStdString();
            if (fall.geschrieben) {
                EXPECT_NE(Inhalt(pfad), daten);
            } else {
                EXPECT_TRUE(meldung.contains("\nDie Datei wird gerade von einem anderen Programm geschrieben."))
                    << meldung.toStdString();
                EXPECT_EQ(Inhalt(pfad), daten);
            }
            EXPECT_EQ(Übrige({name}), QStringList()) << "no copy left";
            QFile::remove(pfad);
        }
}

#pragma once
// A scripted player backend and the fixtures the player tests share.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/StatusMeldung.h"
#include "player/SpielerBackend.h"
#include "player/Statistik.h"
#include "player/Winamp.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// Answers from scripted values, records every request, and runs a clock
// that only the waits move.
class FakeSpieler : public SpielerBackend {
public:
    struct Aufruf {
        QString dienst;
        QString methode; // "Set Volume" for a property
        QVariantList argumente;
    };
    struct Start {
        QString programm;
        QStringList argumente;
        QByteArray playlist; // the last argument's content at the start
    };

    QStringList dienste;
    QHash<QString, QVariantMap> werte;
    std::vector<Aufruf> aufrufe;
    std::vector<Start> starts;
    int auffrischungen = 0;
    bool startGelingt = true;
    std::function<void()> beimStart;   // e.g. the player appears
    std::function<void()> beimWarten;
    qint64 uhr = 0;

    QStringList Dienste() override { return dienste; }
    void Auffrischen(const QString&) override { ++auffrischungen; }
    QVariant Eigenschaft(const QString& d, const QString& n) override { return werte.value(d).value(n); }
    void EigenschaftSetzen(const QString& d, const QString& n, const QVariant& w) override
    {
        aufrufe.push_back({d, QStringLiteral("Set ") + n, {w}});
    }
    void Aufrufen(const QString& d, const QString& m, const QVariantList& a) override { aufrufe.push_back({d, m, a}); }
    QHash<QString, QString> desktop;
    QString Desktopeintrag(const QString& d) override { return desktop.value(d); }
    bool Starten(const QString& programm, const QStringList& argumente) override
    {
        QByteArray inhalt;
        if (!argumente.isEmpty()) {
            QFile f(argumente.last());
            if (f.open(QIODevice::ReadOnly))
                inhalt = f.readAll();
        }
        starts.push_back({programm, argumente, inhalt});
        if (startGelingt && beimStart)
            beimStart();
        return startGelingt;
    }
    void Warten(int ms) override
    {
        uhr += ms;
        if (beimWarten)
            beimWarten();
    }
    qint64 Uhr() override { return uhr; }

    // A player that plays: status, position and metadata.
    void Spielt(const QString& dienst, const QString& status, qint64 positionMs, qint64 längeMs,
                const QString& künstler, const QString& titel, const QString& url = QString())
    {
        if (!dienste.contains(dienst))
            dienste << dienst;
        QVariantMap meta;
        if (längeMs >= 0)
            meta.insert(QStringLiteral("mpris:length"), längeMs * 1000);
        meta.insert(QStringLiteral("mpris:trackid"), QStringLiteral("/org/kalvero/spur/1"));
        if (!künstler.isEmpty())
            meta.insert(QStringLiteral("xesam:artist"), QStringList{künstler});
        if (!titel.isEmpty())
            meta.insert(QStringLiteral("xesam:title"), titel);
        if (!url.isEmpty())
            meta.insert(QStringLiteral("xesam:url"), url);
        werte[dienst] = {{QStringLiteral("PlaybackStatus"), status},
                         {QStringLiteral("Position"), positionMs * 1000},
                         {QStringLiteral("Metadata"), meta}};
    }

    QStringList methoden() const
    {
        QStringList l;
        for (const Aufruf& a : aufrufe)
            l << a.methode;
        return l;
    }
};

// Every player test: a fake backend, the settings, the player state, the
// message and status handlers, all put back afterwards.
class SpielerTest : public ::testing::Test {
protected:
    FakeSpieler spieler;
    QTemporaryDir ordner;
    Einstellungen gesichert;
    std::vector<Meldung> meldungen;
    std::vector<Antwort> antworten; // scripted, in order; then the first button
    StatusSchreiber status;
    const QString kDienst = QStringLiteral("org.mpris.MediaPlayer2.audacious");
    QString spielerPfad;

    void SetUp() override
    {
        gesichert = einstellungen();
        einstellungen() = StandardEinstellungen();
        DienstSetzen<SpielerBackendDienst>(&spieler);
        strWinampDienst.clear();
        strWinampTitel.clear();
        datWinampTitelSeit = QDateTime();
        bolWinampTitelBearbeitet = false;
        bolWinampDateiErkannt = false;
        DienstSetzen<MeldungsDienst>([this](const Meldung& m) {
            meldungen.push_back(m);
            if (!antworten.empty()) {
                const Antwort a = antworten.front();
                antworten.erase(antworten.begin());
                return a;
            }
            return m.knöpfe == Knöpfe::JaNein ? Antwort::Ja : Antwort::OK;
        });
        DienstSetzen<StatusDienst>(&status);
        // A player program that exists, under a name that speaks MPRIS.
        spielerPfad = ordner.filePath(QStringLiteral("audacious"));
        QFile f(spielerPfad);
        f.open(QIODevice::WriteOnly);
        f.close();
        einstellungen().WinampPfad = spielerPfad;
        einstellungen().AbspielStatistikSpeichern = 1;
    }
    void TearDown() override
    {
        DienstSetzen<StatusDienst>(nullptr);
        DienstSetzen<MeldungsDienst>(nullptr);
        DienstSetzen<SpielerBackendDienst>(nullptr);
        strWinampDienst.clear();
        einstellungen() = gesichert;
    }

    QString statusText() const { return status.strStatusText; }
};

// An index entry with tags.
inline MedienInfo TagInfo(const QString& interpretV1, const QString& titelV1, const QString& interpretV2 = QString(),
                          const QString& titelV2 = QString())
{
    MedienInfo m;
    m.Mp3_ID3v1_Vorhanden = interpretV1.isEmpty() && titelV1.isEmpty() ? 2 : 1;
    m.Mp3_ID3v1_Interpret = interpretV1;
    m.Mp3_ID3v1_Titel = titelV1;
    m.Mp3_ID3v2_Vorhanden = interpretV2.isEmpty() && titelV2.isEmpty() ? 2 : 1;
    m.Mp3_ID3v2_Interpret = interpretV2;
    m.Mp3_ID3v2_Titel = titelV2;
    return m;
}

// Without a known player every answer is empty and every request is dropped
// (what reaches the backend is the caller's to check).
inline void ErwarteKeinenSpieler()
{
    EXPECT_EQ(WinAMP_GetStatus(), "");
    EXPECT_EQ(WinAMP_GetTrackLength(), 0);
    EXPECT_EQ(WinAMP_GetTrackPosition(), 0);
    EXPECT_EQ(WinampTitelLesen(strWinampDienst), "");
    WinAMP_SendCommandMessage(kWinampSpielen, false);
    WinAMP_SetVolume(100);
    WinAMP_SeekToPosition(1);
}

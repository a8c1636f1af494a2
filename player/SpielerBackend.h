#pragma once
// What the remote control needs of the audio player and the session bus.
// The program talks MPRIS2 over D-Bus (MprisBackend); tests script a fake.
//
// Nothing here may block the interface: values are read from what the player
// last answered, and every request goes out asynchronously with a reply
// timeout of at most kDBusZeitlimit ms.

#include "platform/Dienste.h"
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QDBusConnection>

inline constexpr int kDBusZeitlimit = 500;
inline const QString kMprisPräfix = QStringLiteral("org.mpris.MediaPlayer2.");

class SpielerBackend {
public:
    virtual ~SpielerBackend() = default;

    // The bus names of the MPRIS players on the bus now.
    virtual QStringList Dienste() = 0;
    // Asks the player for fresh values of its player properties; the answer
    // arrives later. At most one such request per player is outstanding.
    virtual void Auffrischen(const QString& dienst) = 0;
    // The last known value of a property of org.mpris.MediaPlayer2.Player
    // ("PlaybackStatus", "Metadata" as a map, "Position"); invalid when not known.
    virtual QVariant Eigenschaft(const QString& dienst, const QString& name) = 0;
    virtual void EigenschaftSetzen(const QString& dienst, const QString& name, const QVariant& wert) = 0;
    virtual void Aufrufen(const QString& dienst, const QString& methode, const QVariantList& argumente = {}) = 0;
    // The player's desktop entry (DesktopEntry of org.mpris.MediaPlayer2, the
    // desktop file's name without ".desktop"); "" when not known.
    virtual QString Desktopeintrag(const QString&) { return QString(); }

    // Starts a program with its arguments (never through a shell). False when
    // it could not be started; the failure has then been reported to the user.
    virtual bool Starten(const QString& programm, const QStringList& argumente) = 0;
    // Lets pending events run for about `ms` milliseconds.
    virtual void Warten(int ms) = 0;
    // A steady clock, milliseconds.
    virtual qint64 Uhr() = 0;
};

// The backend in use: the MPRIS backend on the session bus unless another one
// was installed.
SpielerBackend& spielerBackend();
// A backend installed here replaces the MPRIS backend (nullptr: back to it).
struct SpielerBackendDienst {
    using Typ = SpielerBackend*;
};

class MprisBackend : public QObject, public SpielerBackend {
    Q_OBJECT
public:
    // Without a connected bus every query answers "nothing" and every request
    // is dropped.
    explicit MprisBackend(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    QStringList Dienste() override;
    void Auffrischen(const QString& dienst) override;
    QVariant Eigenschaft(const QString& dienst, const QString& name) override;
    void EigenschaftSetzen(const QString& dienst, const QString& name, const QVariant& wert) override;
    void Aufrufen(const QString& dienst, const QString& methode, const QVariantList& argumente = {}) override;
    QString Desktopeintrag(const QString& dienst) override;
    bool Starten(const QString& programm, const QStringList& argumente) override;
    void Warten(int ms) override;
    qint64 Uhr() override;

private Q_SLOTS:
    void NameOwnerChanged(const QString& name, const QString& alterBesitzer, const QString& neuerBesitzer);

private:
    void senden(const QString& dienst, const QString& schnittstelle, const QString& methode,
                const QVariantList& argumente);
    // Asks a player that came on the bus for its desktop entry.
    void desktopeintragAnfragen(const QString& dienst);

    QDBusConnection m_bus;
    QStringList m_dienste;
    QHash<QString, QVariantMap> m_werte;
    QHash<QString, QString> m_desktop;
    QSet<QString> m_ausstehend;
};

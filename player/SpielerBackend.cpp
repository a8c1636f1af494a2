#include "player/SpielerBackend.h"

#include "core/Funktionen.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <memory>

namespace {

const QString kPfad = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kWurzel = QStringLiteral("org.mpris.MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// Unpacks what QtDBus leaves packed: nested dictionaries and string lists.
QVariant entpacken(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QDBusVariant>())
        return entpacken(v.value<QDBusVariant>().variant());
    if (v.metaType() != QMetaType::fromType<QDBusArgument>())
        return v;
    const QDBusArgument arg = v.value<QDBusArgument>();
    switch (arg.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap m;
        arg >> m;
        for (auto it = m.begin(); it != m.end(); ++it)
            it.value() = entpacken(it.value());
        return m;
    }
    case QDBusArgument::ArrayType: {
        QStringList l;
        arg >> l;
        return l;
    }
    default:
        return QVariant();
    }
}

} // namespace

SpielerBackend& spielerBackend()
{
    if (SpielerBackend* b = Dienst<SpielerBackendDienst>())
        return *b;
    static MprisBackend* standard = new MprisBackend;
    return *standard;
}


MprisBackend::MprisBackend(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // Follow players coming and going from now on, then read who is there.
    m_bus.connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                  QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
                  SLOT(NameOwnerChanged(QString, QString, QString)));
    // The bus daemon itself answers this one, once, at once.
    QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                    QStringLiteral("/org/freedesktop/DBus"),
                                                    QStringLiteral("org.freedesktop.DBus"),
                                                    QStringLiteral("ListNames"));
    const QDBusMessage antwort = m_bus.call(m, QDBus::Block, kDBusZeitlimit);
    if (antwort.type() == QDBusMessage::ReplyMessage && !antwort.arguments().isEmpty())
        for (const QString& n : antwort.arguments().first().toStringList())
            if (n.startsWith(kMprisPräfix) && !m_dienste.contains(n))
                m_dienste.append(n);
    for (const QString& n : std::as_const(m_dienste))
        desktopeintragAnfragen(n);
}

void MprisBackend::NameOwnerChanged(const QString& name, const QString&, const QString& neuerBesitzer)
{
    if (!name.startsWith(kMprisPräfix))
        return;
    m_dienste.removeAll(name);
    m_werte.remove(name);
    m_desktop.remove(name);
    if (!neuerBesitzer.isEmpty()) {
        m_dienste.append(name);
        desktopeintragAnfragen(name);
    }
}

void MprisBackend::desktopeintragAnfragen(const QString& dienst)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage m = QDBusMessage::createMethodCall(dienst, kPfad, kProperties, QStringLiteral("Get"));
    m << kWurzel << QStringLiteral("DesktopEntry");
    auto* w = new QDBusPendingCallWatcher(m_bus.asyncCall(m, kDBusZeitlimit), this);
    connect(w, &QDBusPendingCallWatcher::finished, this, [this, dienst](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage antwort = w->reply();
        if (antwort.type() == QDBusMessage::ReplyMessage && !antwort.arguments().isEmpty()
            && m_dienste.contains(dienst))
            m_desktop.insert(dienst, entpacken(antwort.arguments().first()).toString());
    });
}

QString MprisBackend::Desktopeintrag(const QString& dienst) { return m_desktop.value(dienst); }

QStringList MprisBackend::Dienste() { return m_dienste; }

void MprisBackend::Auffrischen(const QString& dienst)
{
    if (!m_bus.isConnected() || dienst.isEmpty() || m_ausstehend.contains(dienst))
        return;
    QDBusMessage m = QDBusMessage::createMethodCall(dienst, kPfad, kProperties, QStringLiteral("GetAll"));
    m << kPlayer;
    m_ausstehend.insert(dienst);
    auto* w = new QDBusPendingCallWatcher(m_bus.asyncCall(m, kDBusZeitlimit), this);
    connect(w, &QDBusPendingCallWatcher::finished, this, [this, dienst](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        m_ausstehend.remove(dienst);
        const QDBusMessage antwort = w->reply();
        if (antwort.type() != QDBusMessage::ReplyMessage || antwort.arguments().isEmpty()
            || !m_dienste.contains(dienst)) {
            // A player that does not answer in time counts as one that says nothing.
            m_werte.remove(dienst);
            return;
        }
        m_werte.insert(dienst, entpacken(antwort.arguments().first()).toMap());
    });
}

QVariant MprisBackend::Eigenschaft(const QString& dienst, const QString& name)
{
    return m_werte.value(dienst).value(name);
}

void MprisBackend::senden(const QString& dienst, const QString& schnittstelle, const QString& methode,
                          const QVariantList& argumente)
{
    if (!m_bus.isConnected() || dienst.isEmpty())
        return;
    QDBusMessage m = QDBusMessage::createMethodCall(dienst, kPfad, schnittstelle, methode);
    m.setArguments(argumente);
    // Nobody waits for the answer; the watcher only lets the call time out.
    auto* w = new QDBusPendingCallWatcher(m_bus.asyncCall(m, kDBusZeitlimit), this);
    connect(w, &QDBusPendingCallWatcher::finished, w, &QObject::deleteLater);
}

void MprisBackend::EigenschaftSetzen(const QString& dienst, const QString& name, const QVariant& wert)
{
    senden(dienst, kProperties, QStringLiteral("Set"), {kPlayer, name, QVariant::fromValue(QDBusVariant(wert))});
}

void MprisBackend::Aufrufen(const QString& dienst, const QString& methode, const QVariantList& argumente)
{
    senden(dienst, kPlayer, methode, argumente);
}

bool MprisBackend::Starten(const QString& programm, const QStringList& argumente)
{
    return ProgrammStartenArgumente(programm, argumente) != 0;
}

void MprisBackend::Warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

qint64 MprisBackend::Uhr()
{
    static QElapsedTimer uhr;
    if (!uhr.isValid())
        uhr.start();
    return uhr.elapsed();
}

// A stand-in audio player for the tests: registers on the session bus as
// org.mpris.MediaPlayer2.<its own file name> (a test links it under a
// player's name; KALVERO_TESTSPIELER_BUSNAME gives another bus name), names
// its file name as its desktop entry, answers the MPRIS2 player interface
// from settable values,
// and writes down every call it gets. A second start while one runs hands
// its command line to the running one and ends, as real players do.
//
// The test interface org.kalvero.Testspieler on /org/mpris/MediaPlayer2:
//   Protokoll() -> as             the calls so far, one text each
//   Setzen(s status, s artist, s title, s url, x length_us, x position_us)
//   Befehlszeile(as)              a command line handed over
//   Haengen(i ms)                 answers, then stops answering for ms

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cstdio>

namespace {

const QString kPfad = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kTest = QStringLiteral("org.kalvero.Testspieler");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class Testspieler : public QDBusVirtualObject {
public:
    QString status = QStringLiteral("Stopped");
    QString künstler, titel, url;
    qlonglong länge = -1, position = 0;
    double lautstärke = 1.0;
    QStringList protokoll;

    QString introspect(const QString&) const override
    {
        return QStringLiteral("<interface name=\"%1\"/><interface name=\"%2\"/><interface name=\"%3\"/>")
            .arg(kRoot, kPlayer, kTest);
    }

    QVariantMap metadaten() const
    {
        QVariantMap m;
        m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath("/org/kalvero/spur/1")));
        if (länge >= 0)
            m.insert(QStringLiteral("mpris:length"), länge);
        if (!künstler.isEmpty())
            m.insert(QStringLiteral("xesam:artist"), QStringList{künstler});
        if (!titel.isEmpty())
            m.insert(QStringLiteral("xesam:title"), titel);
        if (!url.isEmpty())
            m.insert(QStringLiteral("xesam:url"), url);
        return m;
    }

    QVariantMap eigenschaften() const
    {
        return {{QStringLiteral("PlaybackStatus"), status},
                {QStringLiteral("Metadata"), metadaten()},
                {QStringLiteral("Position"), position},
                {QStringLiteral("Volume"), lautstärke},
                {QStringLiteral("CanSeek"), true},
                {QStringLiteral("CanControl"), true}};
    }

    void befehlszeile(const QStringList& argumente)
    {
        protokoll << QStringLiteral("Befehlszeile ") + argumente.join(QLatin1Char(' '));
        const bool anhängen = argumente.contains(QStringLiteral("-e"));
        for (const QString& a : argumente) {
            if (a.startsWith(QLatin1Char('-')))
                continue;
            QFile f(a);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QStringList zeilen = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& z : zeilen) {
                if (z.startsWith(QLatin1Char('#')))
                    continue;
                protokoll << QStringLiteral("Datei ") + z;
                if (!anhängen && status != QLatin1String("Playing")) {
                    status = QStringLiteral("Playing");
                    url = QUrl::fromLocalFile(z).toString();
                }
            }
        }
    }

    QString desktopeintrag;

    QVariantMap wurzel() const
    {
        return {{QStringLiteral("DesktopEntry"), desktopeintrag}, {QStringLiteral("Identity"), desktopeintrag},
                {QStringLiteral("CanQuit"), true}};
    }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override
    {
        const QString schnittstelle = m.interface();
        const QString name = m.member();
        const QVariantList a = m.arguments();
        QVariantList antwort;
        if (schnittstelle == kProperties && name == QLatin1String("Get") && a.size() == 2) {
            const QVariantMap werte = a[0].toString() == kRoot ? wurzel() : eigenschaften();
            antwort << QVariant::fromValue(QDBusVariant(werte.value(a[1].toString())));
        } else if (schnittstelle == kProperties && name == QLatin1String("GetAll")) {
            const QString s = a.value(0).toString();
            antwort << (s == kPlayer ? eigenschaften() : s == kRoot ? wurzel() : QVariantMap());
        } else if (schnittstelle == kProperties && name == QLatin1String("Set") && a.size() == 3) {
            const QVariant wert = a[2].value<QDBusVariant>().variant();
            protokoll << QStringLiteral("Set ") + a[1].toString() + QLatin1Char(' ') + wert.toString();
            if (a[1].toString() == QLatin1String("Volume"))
                lautstärke = wert.toDouble();
        } else if (schnittstelle == kPlayer && name == QLatin1String("SetPosition") && a.size() == 2) {
            protokoll << QStringLiteral("SetPosition ") + a[0].value<QDBusObjectPath>().path() + QLatin1Char(' ')
                    + QString::number(a[1].toLongLong());
            position = a[1].toLongLong();
        } else if (schnittstelle == kPlayer) {
            protokoll << name;
            if (name == QLatin1String("Play"))
                status = QStringLiteral("Playing");
            else if (name == QLatin1String("Pause"))
                status = QStringLiteral("Paused");
            else if (name == QLatin1String("Stop"))
                status = QStringLiteral("Stopped");
        } else if (schnittstelle == kRoot && name == QLatin1String("Quit")) {
            protokoll << name;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        } else if (schnittstelle == kTest && name == QLatin1String("Protokoll")) {
            antwort << protokoll;
        } else if (schnittstelle == kTest && name == QLatin1String("Setzen") && a.size() == 6) {
            status = a[0].toString();
            künstler = a[1].toString();
            titel = a[2].toString();
            url = a[3].toString();
            länge = a[4].toLongLong();
            position = a[5].toLongLong();
        } else if (schnittstelle == kTest && name == QLatin1String("Befehlszeile") && a.size() == 1) {
            befehlszeile(a[0].toStringList());
        } else if (schnittstelle == kTest && name == QLatin1String("Haengen") && a.size() == 1) {
            bus.send(m.createReply());
            QThread::msleep(a[0].toUInt());
            return true;
        } else {
            return false;
        }
        bus.send(m.createReply(antwort));
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "fake-mpris-player: no session bus\n");
        return 2;
    }
    const QString eigenerName = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    const QString busname = qEnvironmentVariable("KALVERO_TESTSPIELER_BUSNAME");
    const QString dienst = QStringLiteral("org.mpris.MediaPlayer2.") + (busname.isEmpty() ? eigenerName : busname);
    const QStringList argumente = app.arguments().mid(1);

    Testspieler spieler;
    spieler.desktopeintrag = eigenerName;
    if (!bus.registerVirtualObject(kPfad, &spieler, QDBusConnection::SingleNode)) {
        std::fprintf(stderr, "fake-mpris-player: cannot register the object\n");
        return 2;
    }
    if (!bus.registerService(dienst)) {
        // One is running already: it gets the command line.
        QDBusMessage m = QDBusMessage::createMethodCall(dienst, kPfad, kTest, QStringLiteral("Befehlszeile"));
        m << argumente;
        bus.call(m, QDBus::Block, 2000);
        return 0;
    }
    spieler.befehlszeile(argumente);

    // Never outlive the test: end with the bus, or after two minutes.
    QTimer wache;
    QObject::connect(&wache, &QTimer::timeout, &app, [&bus] {
        if (!bus.isConnected())
            QCoreApplication::quit();
    });
    wache.start(1000);
    QTimer::singleShot(120000, &app, &QCoreApplication::quit);
    return app.exec();
}

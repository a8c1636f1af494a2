#pragma once
// Shared pieces of the library tests: folder trees made in a temporary
// folder, a scripted message handler, a progress display that can cancel,
// and the consistency check of an index.

#include "core/Einstellungen.h"
#include "core/Fortschritt.h"
#include "core/Index.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "core/StatusMeldung.h"
#include "core/Verfuegbarkeit.h"
#include "core/Liste.h"
#include "library/Verschieben.h"
#include "support/Mp3Bauer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace testhilfe {

// A short MPEG-1 Layer III stream (128 kbit/s, 44.1 kHz, three frames).
inline QByteArray KleineMp3(char füllung = 0x55)
{
    return Mp3Bauer::Frame().Bytes(füllung).repeated(3);
}

struct Baum {
    QTemporaryDir dir;
    explicit Baum(const QString& unter = QString())
        : dir(unter.isEmpty() ? QDir::tempPath() + "/kalvero-XXXXXX" : unter + "/kalvero-XXXXXX")
    {
    }
    QString Pfad(const QString& rel = QString()) const
    {
        return rel.isEmpty() ? dir.path() : dir.path() + "/" + rel;
    }
    // Creates the file (and its folders) and returns its path.
    QString Datei(const QString& rel, const QByteArray& inhalt = KleineMp3()) const
    {
        const QString p = Pfad(rel);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << p.toStdString();
        f.write(inhalt);
        return p;
    }
    QString Ordner(const QString& rel) const
    {
        const QString p = Pfad(rel);
        QDir().mkpath(p);
        return p;
    }
};

inline QByteArray Lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes a folder refuse changes (read-only for a normal user, immutable for
// root) or undoes it. False when neither works here; callers then also check
// that the folder really refuses a new file.
inline bool Schreibschützen(const QString& ordner, bool an)
{
    const QByteArray pfad = QFile::encodeName(ordner);
    if (::geteuid() != 0)
        return ::chmod(pfad.constData(), an ? 0555 : 0755) == 0;
    const int fd = ::open(pfad.constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = an ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0)
        ::close(fd);
    return ok && !(an && QFile(ordner + "/.probe").open(QIODevice::WriteOnly));
}

// A folder protected for the guard's lifetime (also when a test fails early).
struct Schreibschutz {
    QString ordner;
    bool aktiv;
    explicit Schreibschutz(const QString& o) : ordner(o), aktiv(Schreibschützen(o, true)) {}
    ~Schreibschutz() { Schreibschützen(ordner, false); }
};

// An index managing the built-in types.
inline void TypenSetzen(Index& index)
{
    StandardwerteSetzen();
    index.strDateiTypen = standardwerte().strStandardDateiTypen;
    index.strDateiTypArten = standardwerte().strStandardDateiTypArten;
    index.intDateiTypenLeer = 0;
}

// Paths, records, hit flags and count agree, and no entry is a stale one.
inline void IndexStimmig(const Index& index)
{
    ASSERT_EQ(index.strIndexPfad.size(), index.IndexDaten.size());
    ASSERT_EQ(index.strIndexPfad.size(), index.intSuchErgebnis.size());
    ASSERT_GE(index.Kapazität(), index.lngIndexAnzahl);
    ASSERT_GE(index.lngIndexAnzahl, 0);
    for (qint32 i = 1; i <= index.lngIndexAnzahl; ++i) {
        EXPECT_FALSE(index.strIndexPfad[size_t(i)].isEmpty()) << "entry " << i;
        EXPECT_GE(index.intSuchErgebnis[size_t(i)], 0);
    }
    for (qint32 i = index.lngIndexAnzahl + 1; i <= index.Kapazität(); ++i)
        EXPECT_TRUE(index.strIndexPfad[size_t(i)].isEmpty()) << "stale path after the count at " << i;
}

inline QStringList IndexPfade(const Index& index)
{
    QStringList l;
    for (qint32 i = 1; i <= index.lngIndexAnzahl; ++i)
        l.append(index.strIndexPfad[size_t(i)]);
    return l;
}

// Answers message boxes from a script (then the first button) and records them.
struct Meldungsskript {
    std::deque<Antwort> antworten;
    std::vector<Meldung> gezeigt;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        gezeigt.push_back(m);
        if (!antworten.empty()) {
            const Antwort a = antworten.front();
            antworten.pop_front();
            return a;
        }
        return (m.knöpfe == Knöpfe::OK || m.knöpfe == Knöpfe::OKAbbrechen) ? Antwort::OK : Antwort::Ja;
    }};
    bool Enthält(const QString& teil) const
    {
        for (const Meldung& m : gezeigt)
            if (m.text.contains(teil))
                return true;
        return false;
    }
};

// A progress display that records the reports and cancels when told to.
struct Fortschrittsattrappe : FortschrittAnzeige {
    int berichte = 0;
    std::function<bool(const FortschrittZustand&)> abbrechenWenn;
    DienstErsetzen<FortschrittAnzeigeDienst> dienst{this};
    Fortschrittsattrappe() { einstellungen().StartBildschirm = 1; }
    ~Fortschrittsattrappe() override { FortschrittZeigenBeenden(nullptr); }
    void Zeigen(QObject*, const FortschrittZustand&) override {}
    void Verbergen(QObject*) override {}
    void Aktualisieren(const FortschrittZustand& z) override
    {
        ++berichte;
        if (abbrechenWenn && abbrechenWenn(z))
            FortschrittAbbrechen();
    }
    void EreignisseVerarbeiten() override {}
};

// The status line: the last text and whether it was delayed.
struct Statuszeile {
    StatusSchreiber schreiber;
    DienstErsetzen<StatusDienst> dienst{&schreiber};
    QString Text() const { return schreiber.strStatusText; }
    bool Verzögert() const { return schreiber.tmrTimer2.isActive(); }
};

// The list as the add and remove operations see it: records refreshes and
// the marking of new entries.
struct Listenattrappe : ListenAnzeige {
    int aktualisiert = 0;
    std::vector<qint32> markiert;
    DienstErsetzen<ListenAnzeigeDienst> dienst{this};
    void SucheAktualisieren(bool) override { ++aktualisiert; }
    void ListeErstellenAktualisieren(qint32, qint32) override {}
    void NeueInListeMarkieren(qint32 n) override { markiert.push_back(n); }
    void AuswahlErmitteln() override {}
    void BeschreibungAktualisieren() override {}
};

// A medium that is not there: asking about its files goes to the question.
inline const QString kFehlendesMedium = QStringLiteral("/media/kalvero-test-nicht-eingelegt");

// Answers the questions about absent media from a script (then "skip") and
// counts them.
struct Medienskript {
    std::deque<NichtVerfügbarAntwort> antworten;
    int fragen = 0;
    DienstErsetzen<NichtVerfügbarDienst> dienst{[this](const QString&, const QString&, QObject*) {
        ++fragen;
        if (antworten.empty())
            return NichtVerfügbarAntwort::Überspringen;
        const auto a = antworten.front();
        antworten.pop_front();
        return a;
    }};
};

// HOME and XDG_DATA_HOME in a temporary folder (where the trash lies) for
// the guard's lifetime.
struct Heimordner {
    Baum heim;
    QByteArray altHome = qgetenv("HOME");
    QByteArray altDaten = qgetenv("XDG_DATA_HOME");
    Heimordner()
    {
        qputenv("HOME", heim.Pfad().toUtf8());
        qputenv("XDG_DATA_HOME", heim.Pfad(".local/share").toUtf8());
    }
    ~Heimordner()
    {
        qputenv("HOME", altHome);
        if (altDaten.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", altDaten);
    }
    QStringList ImPapierkorb() const { return QDir(heim.Pfad(".local/share/Trash/files")).entryList(QDir::Files); }
};

// An index over files of a tree with what its operations talk to, and a
// trash in a home of its own; `aktion` holds each entry's clean-up action.
struct Aufräumumgebung {
    Baum baum;
    Heimordner heim;
    Index index;
    Listenattrappe liste;
    Meldungsskript meldungen;
    Statuszeile status;
    Medienskript medien;
    std::vector<qint32> aktion{0};

    qint32 Eintrag(const QString& pfad, qint32 a = 0)
    {
        const qint32 e = index.EintragAnhängen(pfad, LeereMedienInfo(), 1);
        aktion.resize(size_t(e) + 1, 0);
        aktion[size_t(e)] = a;
        return e;
    }
};

// The settings the add tests depend on, at their defaults.
inline void EinstellungenFürHinzufügen()
{
    Einstellungen& e = einstellungen();
    e.HinzufügenKeineDoppelten = 1;
    e.HinzufügenUnterordner = 1;
    e.Mp3TagLesen = QStringLiteral("101");
    e.StartBildschirm = 1;
    e.NichtVerfügbarFragen = 1;
}

// Answers the question about an existing target from a script (then
// Abbrechen) and records the descriptions.
struct Konfliktskript {
    std::deque<DateiExistiert> antworten;
    QStringList gestellt;
    DienstErsetzen<DateiExistiertDienst> dienst{[this](const QString& text) {
        gestellt.append(text);
        if (antworten.empty())
            return DateiExistiert::Abbrechen;
        const DateiExistiert a = antworten.front();
        antworten.pop_front();
        return a;
    }};
};

// A test tool (build/tools/NAME) run as a process: its exit status, and its
// output lines (one JSON object each) and messages where asked for.
inline int WerkzeugStarten(const QString& name, const QStringList& argumente, QList<QJsonObject>* zeilen = nullptr,
                           QString* fehler = nullptr)
{
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/../tools/" + name, argumente);
    p.waitForFinished(60000);
    for (const QByteArray& zeile : p.readAllStandardOutput().split('\n'))
        if (zeilen && !zeile.isEmpty())
            zeilen->append(QJsonDocument::fromJson(zeile).object());
    if (fehler)
        *fehler = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace testhilfe

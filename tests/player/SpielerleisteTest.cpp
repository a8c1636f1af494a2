#include "SpielerTestHilfen.h"

#include "core/Fortschritt.h"
#include "core/IndexDatei.h"
#include "mainwindow/Spielerleiste_gui.h"
#include "mainwindow/frmMain.h"
#include "platform/Twips.h"
#include "platform/Zeilenlabel_gui.h"
#include "player/Spielerabfrage.h"

#include <QApplication>
#include <QDBusObjectPath>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <memory>

namespace {

// A progress display that only remembers that it shows.
class StilleAnzeige : public FortschrittAnzeige {
public:
    void Zeigen(QObject*, const FortschrittZustand&) override {}
    void Verbergen(QObject*) override {}
    void Aktualisieren(const FortschrittZustand&) override {}
    void EreignisseVerarbeiten() override {}
};

class SpielerleisteTest : public SpielerTest {
protected:
    std::unique_ptr<frmMain> f;
    Spielerleiste* leiste = nullptr;
    int auswahlAufrufe = 0;
    Index gesicherterIndex;

    void SetUp() override
    {
        SpielerTest::SetUp();
        gesicherterIndex = hauptIndex();
        hauptIndex() = Index();
        f = std::make_unique<frmMain>();
        DienstSetzen<StatusDienst>(&status); // the window installed its own
        f->hscrlVolume->setValue(51);
        SpielerleisteAuswahlHookSetzen([this] { ++auswahlAufrufe; });
    }
    void TearDown() override
    {
        SpielerleisteAuswahlHookSetzen(nullptr);
        f.reset();
        hauptIndex() = gesicherterIndex;
        SpielerTest::TearDown();
    }
    void einrichten() { leiste = SpielerleisteEinrichten(f.get()); }
    void tick() { leiste->tmrScrollUpdate_Timer(); }
    QString titel() const { return f->lblWinampSteuerungTitel->text(); }
};

TEST_F(SpielerleisteTest, OhneSpielerIstDieLeisteImLeerlauf)
{
    einrichten();
    tick();
    EXPECT_EQ(titel(), "Audio-Player (Winamp nicht aktiv)");
    EXPECT_TRUE(f->fraLinks3->isHidden());
    EXPECT_TRUE(f->cmdAbspielen->isHidden());
    EXPECT_EQ(f->cmdAbspielen->text(), "Spielen");
    EXPECT_TRUE(f->hscrlTrackPos->isHidden());
    EXPECT_EQ(f->hscrlTrackPos->maximum(), 100);
    EXPECT_EQ(f->hscrlTrackPos->value(), 1);
    EXPECT_EQ(f->lblWinampSteuerungPosition->text(), "Titelposition");
    // No player running at start-up: no volume went anywhere.
    EXPECT_TRUE(spieler.aufrufe.empty());

    spieler.Spielt(kDienst, "Stopped", 0, 1000, "A", "T");
    tick();
    EXPECT_EQ(titel(), "Audio-Player");
    EXPECT_TRUE(f->fraLinks3->isHidden());
}

TEST_F(SpielerleisteTest, SpielenZeigtBalkenZeitenKnöpfeUndTitel)
{
    spieler.Spielt(kDienst, "Playing", 65400, 215000, "Artist", "Song");
    einrichten();
    // A running player gets the stored volume at start-up.
    ASSERT_EQ(spieler.aufrufe.size(), 1u);
    EXPECT_EQ(spieler.aufrufe[0].methode, "Set Volume");
    EXPECT_DOUBLE_EQ(spieler.aufrufe[0].argumente[0].toDouble(), 0.2);

    tick();
    EXPECT_FALSE(f->fraLinks3->isHidden());
    EXPECT_EQ(f->hscrlTrackPos->minimum(), 0);
    EXPECT_EQ(f->hscrlTrackPos->maximum(), 215);
    EXPECT_EQ(f->hscrlTrackPos->value(), 65);
    EXPECT_EQ(f->lblWinampSteuerungPosition->text(), "Titelposition - 0:01:05/0:03:35");
    EXPECT_EQ(f->cmdAbspielen->text(), "Pause");
    for (QWidget* w : {static_cast<QWidget*>(f->cmdAbspielen), static_cast<QWidget*>(f->cmdWinampNächster),
                       static_cast<QWidget*>(f->hscrlVolume), static_cast<QWidget*>(f->lblWinampSteuerungBalance)})
        EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_EQ(titel(), "Audio-Player - 'Artist - Song'");

    // A position past the end puts the bar at 0.
    spieler.Spielt(kDienst, "Playing", 300000, 215000, "Artist", "Song");
    tick();
    EXPECT_EQ(f->hscrlTrackPos->value(), 0);

    spieler.Spielt(kDienst, "Paused", 10000, 215000, "Artist", "Song");
    tick();
    EXPECT_EQ(f->cmdAbspielen->text(), "Spielen");
    EXPECT_EQ(f->hscrlTrackPos->value(), 10);
}

// The playing title has the panel's width; where even that is too narrow,
// it ends in "…" and the mouse over it shows the whole title.
TEST_F(SpielerleisteTest, TitelNutztDieBreiteDerLeiste)
{
    spieler.Spielt(kDienst, "Playing", 1000, 200000, "Bermi Waldstein",
                   "Ein Lied mit einem recht langen Titel (Live im Kesselhaus, 2019)");
    einrichten();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    tick();
    auto* l = dynamic_cast<Zeilenlabel*>(f->lblWinampSteuerungTitel);
    ASSERT_NE(l, nullptr);
    const QString ganz = titel();
    ASSERT_TRUE(ganz.startsWith("Audio-Player - 'Bermi Waldstein - Ein Lied"));
    const auto tooltip = [&] {
        QToolTip::hideText();
        QTest::mouseMove(f.get(), QPoint(2, 2));
        QTest::mouseMove(l, QPoint(10, l->height() / 2));
        return QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1500) ? QToolTip::text() : QString();
    };
    for (const bool schmal : {false, true}) {
        SCOPED_TRACE(schmal);
        f->resize(schmal ? QSize(TwipsZuPixel(7755), TwipsZuPixel(5700)) : QSize(1200, 700));
        QApplication::processEvents();
        EXPECT_GE(l->width(), f->fraLinks3->contentsRect().width() - 20) << "the panel's width";
        for (QWidget* w : std::initializer_list<QWidget*>{f->cmdAbspielen, f->hscrlTrackPos, f->lblWinampSteuerungBalance})
            EXPECT_FALSE(l->geometry().intersects(w->geometry())) << w->objectName().toStdString();
        EXPECT_EQ(l->width() >= l->fontMetrics().horizontalAdvance(ganz), !schmal);
        EXPECT_TRUE(schmal ? l->Angezeigt().endsWith(QChar(0x2026)) : l->Angezeigt() == ganz) << l->Angezeigt().toStdString();
        EXPECT_EQ(tooltip(), schmal ? ganz : QString());
    }
    QToolTip::hideText();
}

TEST_F(SpielerleisteTest, UnbekannteLängeLässtTexteUndEinenGültigenBalken)
{
    spieler.Spielt(kDienst, "Playing", 5000, 100000, "A", "T");
    einrichten();
    tick();
    const QString vorher = f->lblWinampSteuerungPosition->text();

    spieler.Spielt(kDienst, "Playing", 7000, -1, "A", "Stream");
    tick();
    EXPECT_FALSE(f->fraLinks3->isHidden());
    EXPECT_EQ(f->lblWinampSteuerungPosition->text(), vorher);
    EXPECT_EQ(titel(), "Audio-Player - 'A - T'");

    // Paused with the length unknown: the bar keeps its range.
    spieler.Spielt(kDienst, "Paused", 250000, -1, "A", "Stream");
    tick();
    EXPECT_EQ(f->hscrlTrackPos->minimum(), 0);
    EXPECT_EQ(f->hscrlTrackPos->maximum(), 100);
    EXPECT_EQ(f->hscrlTrackPos->value(), 100);
    spieler.Spielt(kDienst, "Paused", -1000, 0, "A", "Stream");
    tick();
    EXPECT_EQ(f->hscrlTrackPos->maximum(), 100);
    EXPECT_EQ(f->hscrlTrackPos->value(), 0);
}

TEST_F(SpielerleisteTest, ErkanntErscheintNachDerErkennungUndGehtMitDemTitel)
{
    MedienInfo m = TagInfo("Artist", "Song");
    hauptIndex().EintragAnhängen("/m/a.mp3", m);
    spieler.Spielt(kDienst, "Playing", 1000, 200000, "Artist", "Song");
    einrichten();
    tick();
    EXPECT_EQ(titel(), "Audio-Player - 'Artist - Song'");
    EXPECT_EQ(strWinampTitel, "Artist - Song");
    datWinampTitelSeit = datWinampTitelSeit.addSecs(-31);
    tick();
    EXPECT_EQ(hauptIndex().IndexDaten[1].Datei_AngefordertAnzahl, 1);
    EXPECT_EQ(titel(), "Audio-Player - 'Artist - Song' - [Erkannt]");
    tick();
    EXPECT_EQ(titel(), "Audio-Player - 'Artist - Song' - [Erkannt]");
    EXPECT_EQ(hauptIndex().IndexDaten[1].Datei_AngefordertAnzahl, 1);

    spieler.Spielt(kDienst, "Playing", 1000, 200000, "Artist", "Other");
    tick();
    EXPECT_EQ(titel(), "Audio-Player - 'Artist - Other'");
}

TEST_F(SpielerleisteTest, NurDasLoslassenNachDemZiehenSpringt)
{
    spieler.Spielt(kDienst, "Playing", 20000, 200000, "A", "T");
    einrichten();
    tick();
    spieler.aufrufe.clear();

    // A click on the arrows or the track moves the bar but does not seek;
    // the next poll puts it back.
    f->hscrlTrackPos->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_NE(f->hscrlTrackPos->value(), 20);
    tick();
    EXPECT_EQ(f->hscrlTrackPos->value(), 20);
    EXPECT_TRUE(spieler.aufrufe.empty());

    // Dragging: the poll leaves the bar alone; one seek on release.
    f->hscrlTrackPos->setSliderDown(true);
    f->hscrlTrackPos->setSliderPosition(120);
    f->hscrlTrackPos->setSliderPosition(150);
    tick();
    EXPECT_EQ(f->hscrlTrackPos->value(), 150);
    EXPECT_TRUE(spieler.aufrufe.empty());
    f->hscrlTrackPos->setSliderDown(false);
    ASSERT_EQ(spieler.aufrufe.size(), 1u);
    EXPECT_EQ(spieler.aufrufe[0].methode, "SetPosition");
    EXPECT_EQ(spieler.aufrufe[0].argumente[1].toLongLong(), 150000000LL);
    EXPECT_FALSE(leiste->bolTrackPosZiehen);
}

TEST_F(SpielerleisteTest, KnöpfeUndRegler)
{
    spieler.Spielt(kDienst, "Paused", 0, 200000, "A", "T");
    einrichten();
    tick();
    spieler.aufrufe.clear();
    Q_EMIT f->cmdAbspielen->clicked();
    EXPECT_EQ(f->cmdAbspielen->text(), "Pause");
    Q_EMIT f->cmdAbspielen->clicked();
    EXPECT_EQ(f->cmdAbspielen->text(), "Spielen");
    Q_EMIT f->cmdWinampNächster->clicked();
    Q_EMIT f->cmdWinampVorheriger->clicked();
    Q_EMIT f->cmdAbspielenStopp->clicked();
    f->hscrlBalance->setValue(-20);
    f->hscrlVolume->setValue(255);
    EXPECT_EQ(spieler.methoden(), QStringList({"Play", "Pause", "Next", "Previous", "Stop", "Set Volume"}));

    // The stop button looks for the player first.
    spieler.dienste.clear();
    spieler.aufrufe.clear();
    Q_EMIT f->cmdAbspielenStopp->clicked();
    EXPECT_TRUE(spieler.aufrufe.empty());
}

class RegelmäßigesSpeichernTest : public SpielerleisteTest {
protected:
    StilleAnzeige anzeige;
    QString datei;

    void SetUp() override
    {
        SpielerleisteTest::SetUp();
        datei = ordner.filePath("index.kvx");
        einstellungen().Dateiname = datei;
        einstellungen().RegelmäßigSpeichernAlle = 5;
        einstellungen().StartBildschirm = 1;
        einstellungen().StartBildschirmNichtBeiSpeichern = 1;
        Index& idx = hauptIndex();
        idx.bolIndexGeladen = true;
        idx.bolIndexGeändert = true;
        idx.EintragAnhängen(ordner.filePath("a.mp3"), MedienInfo());
        idx.datLetzteSpeicherung = QDateTime::currentDateTime().addSecs(-6 * 60);
        einrichten();
    }
    void TearDown() override
    {
        DienstSetzen<FortschrittAnzeigeDienst>(nullptr);
        SpielerleisteTest::TearDown();
    }
};

TEST_F(RegelmäßigesSpeichernTest, SpeichertNachAblaufUndMeldetEs)
{
    tick();
    EXPECT_TRUE(QFile::exists(datei));
    EXPECT_EQ(statusText(), "Die Indexdatei wurde automatisch gespeichert");
    EXPECT_GT(hauptIndex().datLetzteSpeicherung, QDateTime::currentDateTime().addSecs(-5));
    EXPECT_EQ(auswahlAufrufe, 1);
}

TEST_F(RegelmäßigesSpeichernTest, NichtWährendFortschrittOderModalemFensterUndNieOhneGeladenenIndex)
{
    const QDateTime zuletzt = hauptIndex().datLetzteSpeicherung;
    DienstSetzen<FortschrittAnzeigeDienst>(&anzeige);
    FortschrittZeigenStarten(10, true, nullptr, true, true, "Läuft");
    ASSERT_TRUE(FortschrittLäuft());
    tick();
    EXPECT_FALSE(QFile::exists(datei));
    EXPECT_EQ(hauptIndex().datLetzteSpeicherung, zuletzt);
    EXPECT_EQ(auswahlAufrufe, 0);
    FortschrittZeigenBeenden(nullptr);

    QDialog modal;
    bool geprüft = false;
    QTimer::singleShot(0, &modal, [&] {
        tick();
        geprüft = true;
        modal.reject();
    });
    modal.exec();
    ASSERT_TRUE(geprüft);
    EXPECT_FALSE(QFile::exists(datei));
    EXPECT_EQ(auswahlAufrufe, 0);

    // No index loaded: nothing is saved over its name; the interval restarts.
    hauptIndex().bolIndexGeladen = false;
    tick();
    EXPECT_FALSE(QFile::exists(datei));
    EXPECT_GT(hauptIndex().datLetzteSpeicherung, zuletzt);
    EXPECT_EQ(auswahlAufrufe, 1);
}

TEST(RegelmäßigSpeichernFälligTest, ZähltAngebrocheneMinuten)
{
    const QDateTime t(QDate(2024, 1, 1), QTime(10, 0, 59));
    EXPECT_TRUE(RegelmäßigSpeichernFällig(t, t.addSecs(1), 1)); // 10:00:59 -> 10:01:00
    EXPECT_FALSE(RegelmäßigSpeichernFällig(t, t.addSecs(1), 2));
    EXPECT_FALSE(RegelmäßigSpeichernFällig(t.addSecs(-58), t, 1)); // within 10:00
    EXPECT_FALSE(RegelmäßigSpeichernFällig(t, t.addDays(1), 0));
    EXPECT_FALSE(RegelmäßigSpeichernFällig(QDateTime(), t, 1));
}

} // namespace

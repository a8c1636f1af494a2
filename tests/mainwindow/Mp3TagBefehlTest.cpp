// The main window opens the tag editor for its selection: "Datei-Infos",
// the context menu's item and the double click by BeiDoppelklick.

#include "core/Einstellungen.h"
#include "core/Index.h"
#include "core/Liste.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"
#include "mainwindow/ListenModell.h"
#include "mainwindow/frmMain.h"
#include "media/MedienInfosLesen.h"
#include "media/Mp3TagBefehl_gui.h"
#include "media/frmMp3Tag.h"
#include "platform/Registry.h"
#include "support/Mp3Bauer.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Mp3Bauer;

namespace {

class Mp3TagBefehl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        Registry::DateiSetzen(ordner.filePath(QStringLiteral("k.ini")));
        StandardwerteSetzen();
        einstellungen() = StandardEinstellungen();
        einstellungen().TAGsSoftwareFeldSchreiben = 0;
        Index& idx = hauptIndex();
        idx = Index();
        idx.strDateiTypen = standardwerte().strStandardDateiTypen;
        idx.strDateiTypArten = standardwerte().strStandardDateiTypArten;
        for (const char* titel : {"Eins", "Zwei"}) {
            Id3v2Tag t;
            t.frames = {TextFrame("TIT2", QString::fromLatin1(titel))};
            const QString pfad = DateiSchreiben(ordner, QString::fromLatin1(titel) + ".mp3", t.Bytes() + Frames(Frame(), 20));
            idx.EintragAnhängen(pfad, MedienInfosLesen(idx, pfad, LeereMedienInfo(), QStringLiteral("11"), false,
                                                       QStringLiteral("1"), QStringLiteral("1")));
        }
        idx.bolIndexGeladen = true;
        listenZustand() = ListenZustand();
        listenZustand().bolMarkierungenBehalten = true; // as start-up sets it
        DienstSetzen<MeldungsDienst>([](const Meldung&) { return Antwort::OK; });
        f = std::make_unique<frmMain>();
        f->resize(900, 600);
        f->show();
        f->IndexZustandAnzeigen();
        Mp3TagBefehleVerbinden(f.get());
    }
    void TearDown() override
    {
        if (mp3TagFenster()->isVisible())
            mp3TagFenster()->hide();
        mp3TagFenster()->setParent(nullptr);
        f.reset();
        DienstSetzen<MeldungsDienst>(nullptr);
        hauptIndex() = Index();
        listenZustand() = ListenZustand();
        Registry::DateiSetzen(QString());
    }
    void wählen(const std::vector<int>& zeilen)
    {
        ZeilenAuswählen(*f->lstSongs->selectionModel(), *f->modell(), zeilen);
        f->AuswahlErmitteln();
    }
    // Runs `befehl`; what the editor shows is noted and it is closed.
    QStringList öffnen(const std::function<void()>& befehl)
    {
        QStringList gesehen;
        QTimer::singleShot(0, [&] {
            frmMp3Tag* t = mp3TagFenster();
            if (!t->isVisible())
                return;
            gesehen << t->txtv2Titel->text() << QString::number(t->txtDateiname->count());
            t->cmdOk_Click();
        });
        befehl();
        return gesehen;
    }

    QTemporaryDir ordner;
    std::unique_ptr<frmMain> f;
};

} // namespace

TEST_F(Mp3TagBefehl, DateiInfosContextMenuAndDoubleClickOpenTheEditor)
{
    EXPECT_TRUE(f->cmdMp3TagAnzeigen->isEnabled());
    wählen({0, 1});
    EXPECT_EQ(öffnen([&] { f->BefehlAuslösen(f->cmdMp3TagAnzeigen); }), (QStringList{"Eins", "2"}));
    EXPECT_FALSE(mp3TagFenster()->isVisible());

    wählen({1});
    f->MenüsAktualisieren(false);
    EXPECT_EQ(öffnen([&] { f->mnu_kontext_infos->trigger(); }), (QStringList{"Zwei", "1"}));

    einstellungen().BeiDoppelklick = 3;
    EXPECT_EQ(öffnen([&] { f->lstSongs_DblClick(); }), (QStringList{"Zwei", "1"}));

    // Without a selection nothing opens.
    wählen({});
    EXPECT_TRUE(öffnen([&] { f->BefehlAuslösen(f->cmdMp3TagAnzeigen); }).isEmpty());
}

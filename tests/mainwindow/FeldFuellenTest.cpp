// The field copy dialog: the preview, the answer, the chosen items.

#include "core/Meldungen.h"
#include "media/frmMp3TagFeldFuellen.h"
#include "platform/Klicks.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class FeldFüllen : public ::testing::Test {
protected:
    void SetUp() override
    {
        d.inhalt = [](int i) {
            return i == TagFelder::Genre ? std::pair<QString, QString>{"Rock", ""}
                                         : std::pair<QString, QString>{QStringLiteral("v1-%1").arg(i), "v2"};
        };
        d.show();
    }
    frmMp3TagFeldFüllen d{nullptr};
    QStringList meldungen;
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        meldungen << m.text;
        return Antwort::OK;
    }};
};

} // namespace

TEST_F(FeldFüllen, ListAndPreview)
{
    EXPECT_EQ(d.windowTitle(), "Feld für alle festlegen");
    ASSERT_EQ(d.lstFelder->count(), 7);
    EXPECT_EQ(d.lstFelder->item(4)->text(), "Titelnummer");
    d.txtInhalt->setPlainText(QStringLiteral("alt"));
    d.lstFelder_Click(); // no current item: nothing changes
    EXPECT_EQ(d.txtInhalt->toPlainText(), "alt");
    ZeileKlicken(d.lstFelder, 1);
    EXPECT_EQ(d.txtInhalt->toPlainText(), "ID3v1: 'v1-1'\nID3v2: 'v2'");
    ZeileKlicken(d.lstFelder, TagFelder::Genre);
    EXPECT_EQ(d.txtInhalt->toPlainText(), "ID3v1: 'Rock'\nID3v2: ''");
    ZeileKlicken(d.lstFelder, 1); // a second click takes the field off again, the preview shows it
    EXPECT_EQ(d.txtInhalt->toPlainText(), "ID3v1: 'v1-1'\nID3v2: 'v2'");
}

TEST_F(FeldFüllen, OkNeedsAnItem)
{
    d.lstFelder->clearSelection();
    d.cmdOk->click();
    EXPECT_EQ(meldungen, QStringList{"Bitte wählen Sie mindestens einen Listeneintrag."});
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.bolAngenommen);
    ZeileKlicken(d.lstFelder, 0);
    ZeileKlicken(d.lstFelder, 6);
    d.cmdOk->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.bolAngenommen);
    const auto g = d.Gewählt();
    EXPECT_TRUE(g[0] && g[6] && !g[1] && !g[5]);
}

TEST_F(FeldFüllen, CancelAndCloseRefuse)
{
    d.bolAngenommen = true;
    d.cmdAbbrechen->click();
    EXPECT_FALSE(d.bolAngenommen);
    EXPECT_FALSE(d.isVisible());
    d.show();
    d.bolAngenommen = true;
    d.close();
    EXPECT_FALSE(d.bolAngenommen);
}

#include "SpielerTestHilfen.h"

#include "core/IndexDatei.h"
#include "core/SichereDatei.h"
#include "player/Exportieren.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <sys/stat.h>

namespace {

class ExportierenTest : public SpielerTest {
protected:
    Index idx;
    qint32 a = 0, b = 0, c = 0;
    std::vector<QUrl> geöffnet;
    QByteArray altesPath;

    void SetUp() override
    {
        SpielerTest::SetUp();
        altesPath = qgetenv("PATH");
        DienstSetzen<Shell::UrlÖffnerDienst>([this](const QUrl& u) {
            geöffnet.push_back(u);
            return true;
        });
        MedienInfo m = TagInfo("AC/DC & Co", "Back \"in\" <Black>");
        m.Header_Dauer = 255;
        GenreByteSetzen(m, 17);
        a = idx.EintragAnhängen("/musik/a & b/Song <1>.mp3", m);
        MedienInfo n = TagInfo("", "", "Nur V2", "Titel V2");
        n.Header_Dauer = 100;
        b = idx.EintragAnhängen("/musik/x.mp3", n);
        MedienInfo o = TagInfo("--", "11");
        o.Mp3_ID3v1_Kommentar = "zwei\nZeilen";
        c = idx.EintragAnhängen("/musik/c.mp3", o);
    }
    void TearDown() override
    {
        qputenv("PATH", altesPath);
        DienstSetzen<Shell::UrlÖffnerDienst>(nullptr);
        SichereDatei::FehlerBeiSchreibvorgang(0);
        SichereDatei::FehlerBeimUmbenennen(false);
        SpielerTest::TearDown();
    }

    QByteArray inhalt(qint16 format, const QStringList& spalten, const QString& pfad = "liste.txt",
                      const QString& q = "\"", const QString& t = ";")
    {
        return ExportInhalt(idx, {a, 0, b, 99, c}, pfad, format, q, t, spalten);
    }
    static QByteArray lesen(const QString& pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
    }
    static void schreiben(const QString& pfad, const QByteArray& d)
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(d);
    }
    // A program named like an editor that writes its arguments to `spur` (whole, never half written).
    void editorAnlegen(const QString& bin, const QString& spur)
    {
        QDir().mkpath(bin);
        const QString p = bin + "/mousepad";
        schreiben(p, ("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + spur + ".neu' && /bin/mv '" + spur + ".neu' '" + spur
                      + "'\n")
                         .toUtf8());
        QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

TEST_F(ExportierenTest, WertEinfassenLässtNurLeereUndZeichenfolgenWeg)
{
    for (const char* leer : {"", "   ", "--", " -- ", "...", "__", "**", "=="})
        EXPECT_EQ(WertEinfassen(leer, "\""), "") << leer;
    EXPECT_EQ(WertEinfassen("11", "\""), "\"11\"");
    EXPECT_EQ(WertEinfassen("2222", "\""), "\"2222\"");
    EXPECT_EQ(WertEinfassen("aa", "\""), "\"aa\"");
    EXPECT_EQ(WertEinfassen("-", "\""), "\"-\"");
    EXPECT_EQ(WertEinfassen("-+", "\""), "\"-+\"");
    EXPECT_EQ(WertEinfassen("  Song  ", "\""), "\"Song\"");
    EXPECT_EQ(WertEinfassen("Er sagte \"ja\"", "\""), "\"Er sagte \"\"ja\"\"\"");
    EXPECT_EQ(WertEinfassen(" Song ", ""), "Song");
    EXPECT_EQ(WertEinfassen("--", ""), "");
}

TEST_F(ExportierenTest, TextMitAnführungszeichenUndUnbekannterSpalte)
{
    const QByteArray t = inhalt(ExportText, {"Interpret", "Gibt es nicht", "Titel", "Kommentar"});
    EXPECT_EQ(t, "\xEF\xBB\xBF\"Interpret\";\"Gibt es nicht\";\"Titel\";\"Kommentar\"\r\n"
                 "\"AC/DC & Co\";;\"Back \"\"in\"\" <Black>\";\r\n"
                 ";;;\r\n"
                 ";;\"11\";\"zwei\nZeilen\"\r\n");
}

TEST_F(ExportierenTest, TextOhneAnführungszeichenHältJedenDatensatzInEinerZeile)
{
    const QByteArray t = inhalt(ExportText, {"Titel", "Kommentar", "Dauer"}, "x.csv", "", "\t");
    EXPECT_EQ(t, "\xEF\xBB\xBFTitel\tKommentar\tDauer\r\n"
                 "Back \"in\" <Black>\t\t04:15\r\n"
                 "\t\t01:40\r\n"
                 "11\tzwei Zeilen\t00:00\r\n");
    // No columns: a header and one empty line per entry.
    EXPECT_EQ(ExportInhalt(idx, {a}, "x", ExportText, "", ",", {}), "\xEF\xBB\xBF\r\n\r\n");
}

TEST_F(ExportierenTest, HtmlSeiteGenau)
{
    const QByteArray h = inhalt(ExportHtml, {"Interpret", "Titel", "Unbekannt"}, "x.htm");
    EXPECT_EQ(h, "\xEF\xBB\xBF<html><head><meta charset=\"utf-8\"><title>Kalvero-HTML-Export</title></head><body>\r\n"
                 "<center><font face=\"Arial\"><h2><a href=\"https://kalvero.example/\">Kalvero</a>-HTML-Export</h2>"
                 "</font></center>\r\n"
                 "<table border=\"0\" cellpadding=\"3\" cellspacing=\"1\" width=\"100%\" style=\"font-size: 9pt; "
                 "font-family: Verdana; font-weight: bold\">\r\n"
                 "<tr bgcolor=#dddddd>\r\n"
                 "<td width=\"33%\">Interpret</td>\r\n<td width=\"33%\">Titel</td>\r\n"
                 "<td width=\"33%\">Unbekannt</td>\r\n"
                 "</tr>\r\n"
                 "<tr bgcolor=#ffffff>\r\n<td>AC/DC &amp; Co</td>\r\n<td>Back &quot;in&quot; &lt;Black&gt;</td>\r\n"
                 "<td></td>\r\n</tr>\r\n"
                 "<tr bgcolor=#dddddd>\r\n<td></td>\r\n<td></td>\r\n<td></td>\r\n</tr>\r\n"
                 "<tr bgcolor=#ffffff>\r\n<td>--</td>\r\n<td>11</td>\r\n<td></td>\r\n</tr>\r\n"
                 "</table></body></html>\r\n");
}

TEST_F(ExportierenTest, HtmlBreitenUndKopfOhneSpalten)
{
    const auto breiten = [this](int n) {
        QStringList spalten;
        for (int i = 0; i < n; ++i)
            spalten << (i % 2 ? "Titel" : "Pfad+Dateiname");
        const QString h = QString::fromUtf8(inhalt(ExportHtml, spalten, "x.html"));
        EXPECT_EQ(h.count("<td width="), n);
        return h;
    };
    EXPECT_TRUE(breiten(3).contains("<td width=\"33%\">Pfad+Dateiname</td>"));
    EXPECT_TRUE(breiten(7).contains("<td width=\"14%\">Titel</td>"));
    EXPECT_TRUE(breiten(8).contains("<td width=\"13%\">Titel</td>"));
    EXPECT_TRUE(breiten(6).contains("<td width=\"17%\">"));
    // Values with markup are escaped, the apostrophe too.
    idx.strIndexPfad[size_t(b)] = "/m/it's.mp3";
    EXPECT_TRUE(breiten(1).contains("<td>/m/it&#39;s.mp3</td>"));
    const QString ohne = QString::fromUtf8(inhalt(ExportHtml, {}, "x.htm"));
    EXPECT_TRUE(ohne.contains("<tr bgcolor=#dddddd>\r\n</tr>\r\n<tr bgcolor=#ffffff>\r\n</tr>\r\n"));
}

TEST_F(ExportierenTest, M3uMitUndOhneErweiterteZeilen)
{
    einstellungen().PlaylistFürWinamp = 1;
    EXPECT_EQ(inhalt(ExportPlaylist, {"Titel"}, "/tmp/liste.m3u"),
              "#EXTM3U\r\n"
              "#EXTINF:255,AC/DC & Co - Back \"in\" <Black>\r\n/musik/a & b/Song <1>.mp3\r\n"
              "/musik/x.mp3\r\n"
              "#EXTINF:0,-- - 11\r\n/musik/c.mp3\r\n");
    // "PLS" with another extension, and no extension at all: m3u.
    EXPECT_TRUE(inhalt(ExportPlaylist, {}, "/tmp/listepls").startsWith("#EXTM3U\r\n"));
    EXPECT_TRUE(inhalt(ExportPlaylist, {}, "/tmp/liste.xpls").startsWith("#EXTM3U\r\n"));
    einstellungen().PlaylistFürWinamp = 0;
    EXPECT_EQ(inhalt(ExportPlaylist, {}, "liste.m3u"), "/musik/a & b/Song <1>.mp3\r\n/musik/x.mp3\r\n/musik/c.mp3\r\n");
    // A path holding a line break is written as a file address.
    idx.strIndexPfad[size_t(b)] = "/musik/x\ny.mp3";
    EXPECT_EQ(ExportInhalt(idx, {b}, "l.m3u", ExportPlaylist, "", "", {}), "file:///musik/x%0Ay.mp3\r\n");
}

// Each character with a meaning in HTML is escaped, also when it is the
// only one in a value.
TEST_F(ExportierenTest, HtmlMaskiertJedesZeichenAuchAllein)
{
    const std::pair<const char*, const char*> fälle[] = {
        {"<", "&lt;"}, {">", "&gt;"}, {"&", "&amp;"}, {"\"", "&quot;"}, {"'", "&#39;"}, {"a<b", "a&lt;b"}};
    for (const auto& [wert, maskiert] : fälle) {
        Index i;
        const qint32 e = i.EintragAnhängen("/m/x.mp3", TagInfo("Interpret", wert));
        EXPECT_TRUE(ExportInhalt(i, {e}, "x.htm", ExportHtml, "", "", {"Titel"}).contains(QByteArray("<td>") + maskiert + "</td>"))
            << wert;
    }
}

// A title or artist holding a line break stays on its one line: in an m3u
// the rest would become a path line.
TEST_F(ExportierenTest, ZeilenumbruchImTitelBleibtInSeinerZeile)
{
    einstellungen().PlaylistFürWinamp = 1;
    const std::pair<const char*, const char*> fälle[] = {
        {"Interpret", "Erste\nZweite"}, {"Interpret", "Erste\rZweite"}, {"Interpret", "Erste\r\nZweite"},
        {"Inter\npret", "Titel"},       {"Interpret", "\n/etc/passwd"}};
    for (const auto& [interpret, titel] : fälle) {
        Index i;
        const qint32 e = i.EintragAnhängen("/m/x.mp3", TagInfo(interpret, titel));
        for (const auto& [pfad, zeilen] : {std::pair{"l.m3u", 3}, std::pair{"l.pls", 4}}) {
            const QByteArray inhalt = ExportInhalt(i, {e}, pfad, ExportPlaylist, "", "", {});
            EXPECT_TRUE(inhalt.count('\n') == zeilen && inhalt.count('\r') == zeilen) << inhalt.toStdString();
        }
    }
}

TEST_F(ExportierenTest, PlsInJederSchreibweise)
{
    einstellungen().PlaylistFürWinamp = 1;
    const QByteArray erwartet = "[playlist]\r\n"
                                "File1=/musik/a & b/Song <1>.mp3\r\nTitle1=AC/DC & Co - Back \"in\" <Black>\r\nLength1=255\r\n"
                                "File2=/musik/x.mp3\r\nLength2=100\r\n"
                                "File3=/musik/c.mp3\r\nTitle3=-- - 11\r\nLength3=0\r\n";
    EXPECT_EQ(inhalt(ExportPlaylist, {}, "/tmp/list.pls"), erwartet);
    EXPECT_EQ(inhalt(ExportPlaylist, {}, "/tmp/list.PLS"), erwartet);
    EXPECT_EQ(inhalt(ExportPlaylist, {}, "/tmp/list.Pls"), erwartet);
    einstellungen().PlaylistFürWinamp = 0;
    EXPECT_EQ(inhalt(ExportPlaylist, {}, "list.PLS"), "[playlist]\r\nFile1=/musik/a & b/Song <1>.mp3\r\nLength1=255\r\n"
                                                      "File2=/musik/x.mp3\r\nLength2=100\r\n"
                                                      "File3=/musik/c.mp3\r\nLength3=0\r\n");
}

TEST_F(ExportierenTest, SchreibtSicherUndErsetztDieAlteDatei)
{
    const QString pfad = ordner.filePath("liste.csv");
    schreiben(pfad, "alt");
    QFile::setPermissions(pfad, QFile::ReadOwner); // read-only: replaced all the same
    struct stat vorher;
    ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &vorher), 0);
    antworten = {Antwort::Abbrechen};
    EXPECT_TRUE(ListeExportieren(idx, {a, b, c}, pfad, ExportText, "\"", ",", {"Titel"}));
    EXPECT_EQ(lesen(pfad), ExportInhalt(idx, {a, b, c}, pfad, ExportText, "\"", ",", {"Titel"}));
    struct stat nachher;
    ASSERT_EQ(::stat(QFile::encodeName(pfad).constData(), &nachher), 0);
    EXPECT_NE(vorher.st_ino, nachher.st_ino) << "a new file renamed over the old one";
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files), QStringList({"audacious", "liste.csv"}));
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].knöpfe, Knöpfe::JaNeinAbbrechen);
    EXPECT_EQ(meldungen[0].symbol, Symbol::Frage);
    EXPECT_EQ(meldungen[0].text,
              "Sie können diese Datei mit dem Programm 'Notepad' oder dem verknüpften Programm anzeigen.\n\n"
              "Möchten Sie diese Datei mit 'Notepad' anzeigen?\n"
              " - Klicken Sie auf 'Ja', um die Datei mit Notepad anzuzeigen\n"
              " - Klicken Sie auf 'Nein', um sie mit dem verknüpften Programm anzuzeigen.");
    EXPECT_EQ(statusText(), "Die Datei wurde gespeichert unter dem Dateinamen " + pfad + ".");
    EXPECT_TRUE(geöffnet.empty());
}

// A file that already has the temporary name (the user's own, a link to
// another) stays; the export still replaces its target.
TEST_F(ExportierenTest, BelegterTempNameBleibt)
{
    const QString pfad = ordner.filePath("liste.m3u"), fremd = ordner.filePath("fremd.txt");
    schreiben(pfad, "alt");
    schreiben(fremd, "fremd");
    schreiben(pfad + "~", "eigene Notizen");
    ASSERT_TRUE(QFile::link(fremd, pfad + "~1"));
    ASSERT_TRUE(ListeExportieren(idx, {a}, pfad, ExportPlaylist, "", "", {}));
    EXPECT_NE(lesen(pfad), "alt");
    EXPECT_EQ(lesen(pfad + "~"), "eigene Notizen");
    EXPECT_TRUE(QFileInfo(pfad + "~1").isSymLink());
    EXPECT_EQ(lesen(fremd), "fremd");
    EXPECT_FALSE(QFileInfo::exists(pfad + "~2"));
}

TEST_F(ExportierenTest, FehlerLassenDieAlteDateiUnberührt)
{
    const QString pfad = ordner.filePath("liste.htm");
    schreiben(pfad, "alt");
    SichereDatei::FehlerBeiSchreibvorgang(1);
    EXPECT_FALSE(ListeExportieren(idx, {a}, pfad, ExportHtml, "", "", {"Titel"}));
    SichereDatei::FehlerBeiSchreibvorgang(0);
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].text, "Ein Fehler (Fehler 5, Beschreibung:Schreibfehler) ist beim Exportieren aufgeteten.");
    EXPECT_EQ(meldungen[0].symbol, Symbol::Ausruf);

    SichereDatei::FehlerBeimUmbenennen(true);
    EXPECT_FALSE(ListeExportieren(idx, {a}, pfad, ExportHtml, "", "", {"Titel"}));
    SichereDatei::FehlerBeimUmbenennen(false);
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_EQ(meldungen[1].text,
              "Die Datei '" + pfad + "' konnte nicht gespeichert werden, da die Datei nicht gelöscht werden kann.");
    EXPECT_EQ(lesen(pfad), "alt");
    EXPECT_FALSE(QFile::exists(pfad + "~"));

    // A folder in the way is never replaced.
    const QString ordnerPfad = ordner.filePath("ein ordner.m3u");
    QDir().mkpath(ordnerPfad);
    EXPECT_FALSE(ListeExportieren(idx, {a}, ordnerPfad, ExportPlaylist, "", "", {}));
    EXPECT_TRUE(QFileInfo(ordnerPfad).isDir());
    EXPECT_TRUE(meldungen.back().text.endsWith("da die Datei nicht gelöscht werden kann."));
    // A folder that does not exist.
    EXPECT_FALSE(ListeExportieren(idx, {a}, ordner.filePath("fehlt/liste.m3u"), ExportPlaylist, "", "", {}));
    EXPECT_TRUE(meldungen.back().text.startsWith("Ein Fehler (Fehler 2, Beschreibung:"));
    EXPECT_EQ(meldungen.size(), 4u) << "no question after a failure";
}

TEST_F(ExportierenTest, EinLinkBleibtEinLink)
{
    const QString ziel = ordner.filePath("echt.m3u"), link = ordner.filePath("link.m3u");
    schreiben(ziel, "alt");
    ASSERT_TRUE(QFile::link(ziel, link));
    antworten = {Antwort::Abbrechen};
    EXPECT_TRUE(ListeExportieren(idx, {b}, link, ExportPlaylist, "", "", {}));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(lesen(ziel).endsWith("/musik/x.mp3\r\n"));
}

TEST_F(ExportierenTest, AnzeigenMitEditorOderVerknüpftemProgramm)
{
    const QString pfad = ordner.filePath("liste.txt"), bin = ordner.filePath("bin"), spur = ordner.filePath("spur");
    editorAnlegen(bin, spur);
    qputenv("PATH", bin.toUtf8());

    // "Ja": the editor on PATH, the path its one argument.
    antworten = {Antwort::Ja};
    EXPECT_TRUE(ListeExportieren(idx, {a}, pfad, ExportText, "", ",", {"Titel"}));
    EXPECT_EQ(statusText(), "Die Datei wird angezeigt...");
    QElapsedTimer uhr;
    uhr.start();
    while (lesen(spur) == "<fehlt>" && uhr.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(lesen(spur), (pfad + "\n").toUtf8());
    EXPECT_TRUE(geöffnet.empty());

    // "Nein": the associated program, also when an editor is there.
    antworten = {Antwort::Nein};
    EXPECT_TRUE(ListeExportieren(idx, {a}, pfad, ExportText, "", ",", {"Titel"}));
    ASSERT_EQ(geöffnet.size(), 1u);
    EXPECT_EQ(geöffnet[0], QUrl::fromLocalFile(pfad));

    // "Ja" without any editor: the associated program.
    qputenv("PATH", ordner.filePath("leer").toUtf8());
    EXPECT_EQ(TextEditorFinden(), "");
    antworten = {Antwort::Ja};
    EXPECT_TRUE(ListeExportieren(idx, {a}, pfad, ExportText, "", ",", {"Titel"}));
    ASSERT_EQ(geöffnet.size(), 2u);
    EXPECT_EQ(geöffnet[1], QUrl::fromLocalFile(pfad));
}

// No text editor and no program that opens files: the file is saved, and nothing claims it shows.
TEST_F(ExportierenTest, OhneProgrammZumAnzeigenSagtEsDas)
{
    const QString pfad = ordner.filePath("liste.txt");
    DienstSetzen<Shell::UrlÖffnerDienst>(nullptr); // the plain launcher, not on PATH either
    qputenv("PATH", ordner.filePath("leer").toUtf8());
    const struct {
        Antwort antwort;
        QString meldung;
    } fälle[] = {
        {Antwort::Ja, "Es wurde kein Texteditor gefunden, und das mit der Datei '" + pfad
                          + "' verknüpfte Programm konnte nicht gestartet werden."},
        {Antwort::Nein, "Das mit der Datei '" + pfad + "' verknüpfte Programm konnte nicht gestartet werden."},
    };
    for (const auto& f : fälle) {
        meldungen.clear();
        status.strStatusText.clear();
        antworten = {f.antwort};
        EXPECT_TRUE(ListeExportieren(idx, {a}, pfad, ExportText, "", ",", {"Titel"}));
        EXPECT_EQ(lesen(pfad), ExportInhalt(idx, {a}, pfad, ExportText, "", ",", {"Titel"}));
        EXPECT_EQ(statusText(), "Die Datei konnte nicht angezeigt werden.");
        ASSERT_EQ(meldungen.size(), 2u);
        EXPECT_EQ(std::tuple(meldungen[1].text, meldungen[1].symbol, meldungen[1].knöpfe), std::tuple(f.meldung, Symbol::Information, Knöpfe::OK));
    }
}

// The test tool writes what the export writes.
TEST_F(ExportierenTest, WerkzeugExportiertDieIndexdatei)
{
    const QString werkzeug = QCoreApplication::applicationDirPath() + "/../tools/export";
    if (!QFileInfo(werkzeug).isExecutable())
        GTEST_SKIP() << "tools/export is not built";
    const QString kvx = ordner.filePath("liste.kvx");
    idx.bolIndexGeladen = true;
    ASSERT_TRUE(DateiSpeichern(idx, kvx, false));
    const auto lauf = [&](const QStringList& argumente, QByteArray* fehler = nullptr) {
        QProcess p;
        p.start(werkzeug, QStringList{kvx} + argumente);
        p.waitForFinished(30000);
        if (fehler)
            *fehler = p.readAllStandardError();
        return p.exitCode();
    };
    const QString csv = ordner.filePath("a.csv"), pls = ordner.filePath("a.PLS");
    EXPECT_EQ(lauf({"0", csv, "--spalten", "Interpret,Titel", "--trenner", "\\t", "--anfuehrung", "0"}), 0);
    EXPECT_EQ(lesen(csv), ExportInhalt(idx, {a, b, c}, csv, ExportText, "", "\t", {"Interpret", "Titel"}));
    EXPECT_EQ(lauf({"2", pls}), 0);
    EXPECT_TRUE(lesen(pls).startsWith("[playlist]\r\nFile1=/musik/a & b/Song <1>.mp3\r\n"));
    QByteArray fehler;
    EXPECT_EQ(lauf({"1", ordner.filePath("fehlt/a.htm")}, &fehler), 2);
    EXPECT_TRUE(fehler.contains("ist beim Exportieren aufgeteten.")) << fehler.constData();
    EXPECT_EQ(lauf({"5", csv}), 3);
}

} // namespace

#include "core/Standardwerte.h"

namespace {

Standardwerte& tabellen()
{
    static Standardwerte s;
    return s;
}

const char* const kGenres[145] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk",
    "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise",
    "Alt. Rock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
    "Folk", "Folk/Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic", "Bluegrass",
    "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humor", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove",
    "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle",
    "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore",
    "Terror", "Indie", "BritPop",
    "Punk (133)", // the historical name of 133 is a slur; the number is kept
    "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Thrash Metal",
};

const char* const kTipps[22][2] = {
    {"Dieses Fenster gibt Ihnen bei jedem Start einen neuen Hinweis und verrät Tricks, die Sie vielleicht noch nicht kennen!", nullptr},
    {"Sie können mit dem Kalvero viele verschiedene Datei-Typen verwalten und bearbeiten.", "Fügen Sie diese einfach dem Index hinzu. Klicken Sie dazu im Hauptfenster auf 'Zum Index hinzufügen'."},
    {"Verwenden Sie Datei-TAGs zum Beschreiben des Inhalts einer Datei.", "Wählen Sie einfach im Hauptfenster die Datei(en) und klicken Sie auf 'Datei-Infos'."},
    {"Sie können zu Dateien jetzt auch einen TAG der Version 2 hinzufügen oder diesen ändern.", "Dies bedeutet, daß Sie u.a. jetzt eigene Genre erfassen können und der Eingabeplatz in den TAG-Feldern unbegrenzt ist."},
    {"Die Funktion 'Umbenennen' kann viel mehr als nur umbenennen!", "Sie können damit (entgegen des Namens der Funktion) auch Dateien verschieben, wenn Sie als 'Format' bei 'Nach Index-Feldern verschieben' einen Pfad eingeben."},
    {"Die Funktion 'Umbenennen' kann viel mehr als nur umbenennen!", "Wenn Sie z.B. viele Dateien heruntergeladen haben und diese einen einmaligen Dateinamen erhalten sollen, können Sie die Funktion 'Fortlaufende Dateinamen erstellen' nutzen."},
    {"Einen Datei-TAG einzugeben war nie so einfach wie jetzt!", "Klicken Sie im TAG-Editor einfach auf 'AutoTAG einsztellen' und wählen Sie das Format '%Automatik%'. Von jetzt an setzt 'AutoTAG' TAGs intelligent selbst."},
    {"Verwenden Sie die Funktion 'Zielordner vorschlagen' im Fenster 'Kopieren/Verschieben', um zu kopierende Dateien in dem Dateinamen ähnliche Ordner zu kopieren.", nullptr},
    {"Gibt es eine neue Version dieses Programmes?", "Das können Sie ganz einfach überprüfen: Klicken Sie im Hauptfenster auf 'Info' und dann auf die Internet-Adresse!"},
    {"Sie können schnell eine Indexdatei öffnen, indem Sie im Hauptfenster auf den Dateinamen der Indexdatei (unter dem Programm-Namen) klicken.", nullptr},
    {"Räumen Sie den Index auf, indem Sie zu prüfende Dateien wählen und auf 'Index-Verwaltung' klicken.", nullptr},
    {"Stellen Sie eine individuelle Musik-Zusammenstellung her!", "Der Kalvero merkt sich, was Sie an Musik gehört haben, während das Programm lief. Klicken Sie auf 'AutoDJ' und wählen Sie Musik-Genre und klicken Sie auf 'Weiter'."},
    {"Möchten Sie Ihre Datei-Sammlung als Auflistung verschicken oder in Ihre Tabellenkalkulation einfügen?", "Wählen Sie Dateien und klicken Sie auf 'Exportieren'. Diese Datei können Sie dann auch drucken"},
    {"Dateien von verschiendenen CDs zu verwalten ist nun sehr einfach!", "Fügen Sie einfach die Dateien einmalig zum Index hinzu. Wenn nun die CD mal nicht eingelegt ist, werden Sie dazu aufgefordert."},
    {"Die Such-Funktion wurde verbessert:", "Klicken Sie auf 'Erweiterte Suche'. Hier können Sie mehrere Such-Abfragen kombinieren und Bedingungen wie 'UND'/'ODER' und 'Muß enthalten'/'Darf nicht enthalten' setzen."},
    {"Sichern Sie Ihre Daten!", "In den 'Optionen' könnnen Sie die automatische Speicherung Ihrer Indexdatei aktivieren."},
    {"Sie verwalten viele Dateien und das Programm ist langsamer geworden?", "Ändern Sie in den 'Optionen' die Einstellungen 'Suche nicht aktualisieren bei...' und 'Auswahlliste für Such-Eingaben erstellen'."},
    {"Das Fortschrittsfenster stört Sie?", "Schalten Sie dieses in den 'Optionen' einfach aus."},
    {"Sie können die Geschwindigkeit des Hinzufügens von Dateien verbessern, indem Sie Einstellungen ausschalten!", "Klicken Sie in den 'Optionen' auf 'Datei-TAGs'."},
    {"Nutzen Sie Tastenkombinationen!", "[STRG+A] markiert alle Dateien, [ENTF] entfernt einen Index-Eintrag."},
    {"Nutzen Sie Tastenkombinationen!", "[EINGABE] führt die Standardaktion für eine Datei aus, [UMSCHALT+EINGABE] leert zuvor die Playliste Ihres Audioplayers (sofern unterstützt)."},
    {"Ist Ihr Computer an ein Netzwerk angeschlossen?", "Fügen Sie einfach Dateien über das Netzwerk hinzu und verwalten Sie diese."},
};

FarbProfil profil(const char* name, std::initializer_list<std::array<int, 3>> farben, qint16 unterstreichen)
{
    FarbProfil p;
    p.Name = QString::fromUtf8(name);
    int i = 0;
    for (const auto& f : farben)
        p.Farben[i++] = RGBFarbe(f[0], f[1], f[2]);
    p.Unterstreichen = unterstreichen;
    return p;
}

} // namespace

void StandardwerteSetzen()
{
    Standardwerte& s = tabellen();

    s.LeereMedienInfo = MedienInfo();
    s.LeereMedienInfo.Datei_Größe = -1;
    s.LeereMedienInfo.Datei_Typ = 0;
    s.LeereMedienInfo.Mp3_ID3v1_Vorhanden = 2;
    s.LeereMedienInfo.Mp3_ID3v2_Vorhanden = 2;

    s.FarbProfile[1] = profil("Standard (hell, grau-blau)",
        {{0, 0, 192}, {238, 238, 238}, {0, 0, 128}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {128, 0, 0}}, 0);
    s.FarbProfile[2] = profil("Abend/Disco (dunkel, schwarz-orange)",
        {{255, 128, 0}, {64, 64, 64}, {255, 255, 255}, {0, 0, 128}, {224, 224, 224}, {224, 224, 224}, {192, 0, 0}}, 0);
    s.FarbProfile[3] = profil("Gute Laune (farbenfroh, organge-rot)",
        {{128, 0, 0}, {255, 239, 221}, {15, 15, 15}, {255, 201, 147}, {0, 0, 0}, {0, 0, 0}, {0, 64, 128}}, 0);
    s.FarbProfile[4] = profil("Dunkle Nacht (sehr dunkel, schwarz-grau)",
        {{255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {175, 175, 175}}, 0);
    s.FarbProfile[5] = profil("Cool (hell, blau-weiss)",
        {{255, 255, 255}, {135, 172, 218}, {255, 255, 255}, {135, 172, 218}, {255, 255, 255}, {255, 255, 255}, {255, 255, 128}}, 0);

    s.strStandardDateiTypen = {"mp3=1", "mp2=1", "mp1=1", "wma=1", "wmf=1", "wav=1", "gif=0",
                               "jpg=0", "bmp=0", "aac=1", "vqf=1", "jpeg=0", "*=0"};
    s.strStandardDateiTypArten = {"110", "110", "110", "010", "010", "010", "001",
                                  "001", "001", "110", "010", "001", "000"};

    s.strAutoTagStandardFormate = {
        "%Automatik%",
        "\\%Titel%",
        "\\%Interpret% - %Titel%",
        "\\%Titelnummer% - %Interpret% - %Titel%",
        "\\%Titelnummer% - %Interpret% - %Album% - %Titel%",
        "\\%Interpret%\\%Titel%",
        "\\%Interpret%\\%Interpret% - %Titel%",
        "\\%Interpret%\\%Titelnummer% - %Interpret% - %Titel%",
        "\\%Interpret%\\%Titelnummer% - %Interpret% - %Album% - %Titel%",
        "\\%Interpret% - %Album%\\%Titel%",
        "\\%Interpret% - %Album%\\%Interpret% - %Titel%",
        "\\%Interpret% - %Album%\\%Titelnummer% - %Interpret% - %Titel%",
        "\\%Interpret% - %Album%\\%Titelnummer% - %Interpret% - %Album% - %Titel%",
        "\\%Interpret%\\%Album%\\%Titel%",
        "\\%Interpret%\\%Album%\\%Interpret% - %Titel%",
        "\\%Interpret%\\%Album%\\%Titelnummer% - %Interpret% - %Titel%",
        "\\%Interpret%\\%Album%\\%Titelnummer% - %Interpret% - %Album% - %Titel%",
        "\\%Interpret%\\%Interpret% - %Album%\\%Titel%",
        "\\%Interpret%\\%Interpret% - %Album%\\%Interpret% - %Titel%",
        "\\%Interpret%\\%Interpret% - %Album%\\%Titelnummer% - %Interpret% - %Titel%",
        "\\%Interpret%\\%Interpret% - %Album%\\%Titelnummer% - %Interpret% - %Album% - %Titel%",
        "\\%interpret% - %album% - %titel%",
        "\\%interpret%_%titel%",
    };

    const char* const spalten[30] = {
        "Nummer", "Pfad", "Dateiname", "Interpret", "Titel", "Album", "Jahr", "Track", "Genre", "Kommentar",
        "Größe", "Bitrate", "Dauer", "Frequenz", "Frames", "Wechselmedium", "Hinzufüge-Datum", "Pfad+Dateiname",
        "Benutzerdefiniert", "Abspiel-Datum", "Abspiel-Häufigkeit", "Interpret-ID3v2", "Titel-ID3v2", "Album-ID3v2",
        "Jahr-ID3v2", "Track-ID3v2", "Genre-ID3v2", "Kommentar-ID3v2", "ID3v2-TAG-Version", "ID3v2-TAG-Größe",
    };
    for (int i = 1; i <= 30; ++i) {
        s.strSpaltenNamen[size_t(i)] = QString::fromUtf8(spalten[i - 1]);
        s.lngSpaltenBreiten[size_t(i)] = (i >= 3 && i <= 6) ? 1400 : 0;
    }

    for (int n = 0; n < 145; ++n)
        s.strGenres[size_t(n) + 1] = QString::fromUtf8(kGenres[n]);

    s.strTipps.clear();
    for (const auto& t : kTipps) {
        QString tipp = QString::fromUtf8(t[0]);
        if (t[1])
            tipp += QStringLiteral("\r\n") + QString::fromUtf8(t[1]);
        s.strTipps << tipp;
    }
}

const Standardwerte& standardwerte()
{
    static const bool gefüllt = (StandardwerteSetzen(), true);
    (void)gefüllt;
    return tabellen();
}

#pragma once
// The program's built-in tables, filled once at start-up and never changed.

#include "core/MedienInfo.h"

#include <QString>
#include <QStringList>
#include <array>

// A Windows colour value: red in the low byte, then green, then blue.
constexpr qint32 RGBFarbe(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct FarbProfil {
    QString Name;
    qint32 Farben[7] = {}; // link, link background, list text, list background, heading, description, used link
    qint16 Unterstreichen = 0;
};

struct Standardwerte {
    MedienInfo LeereMedienInfo;
    std::array<FarbProfil, 6> FarbProfile;         // 1..5
    QStringList strStandardDateiTypen;             // 13, 0-based here
    QStringList strStandardDateiTypArten;
    QStringList strAutoTagStandardFormate;         // 23
    std::array<QString, 31> strSpaltenNamen;       // 1..30
    std::array<qint32, 31> lngSpaltenBreiten{};    // 1..30, twips
    std::array<QString, 146> strGenres;            // 1..145: genre n is strGenres[n + 1]
    QStringList strTipps;                          // 22, 0-based here: tip n is strTipps[n - 1]

    // Name of genre byte n, "" when it has none (145 and above, 255).
    QString GenreName(int n) const { return n >= 0 && n <= 144 ? strGenres[size_t(n) + 1] : QString(); }
    int AnzahlSpalten() const { return 30; }
};

// Fills the tables (idempotent).
void StandardwerteSetzen();
const Standardwerte& standardwerte();

// Shortcut for the blank record (size -1, type 0, both presence codes 2).
inline const MedienInfo& LeereMedienInfo() { return standardwerte().LeereMedienInfo; }

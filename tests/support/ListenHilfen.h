#pragma once
// Small index builders for the list, search and sort tests.

#include "core/Index.h"
#include "core/Standardwerte.h"

#include <functional>

// An entry with an ID3v1 tag of artist, title and album.
inline MedienInfo Lied(const QString& interpret, const QString& titel, const QString& album = QString())
{
    MedienInfo m = LeereMedienInfo();
    m.Mp3_ID3v1_Vorhanden = 1;
    m.Mp3_ID3v1_Interpret = interpret;
    m.Mp3_ID3v1_Titel = titel;
    m.Mp3_ID3v1_Album = album;
    return m;
}

inline qint32 Hinzu(Index& idx, const QString& pfad, MedienInfo m = LeereMedienInfo(),
                    const std::function<void(MedienInfo&)>& ändern = {})
{
    if (ändern)
        ändern(m);
    return idx.EintragAnhängen(pfad, m);
}

// The field's value in display form ("1") or sort form ("").
QString Feldwert(const Index& idx, qint32 eintrag, const QString& feld, const QString& modus = QStringLiteral("1"),
                 qint16* art = nullptr);

#pragma once
// Reading what a media file tells about itself into its index record.

#include "core/Index.h"
#include "core/MedienInfo.h"

#include <QString>

// Builds the record of `strDatei`, starting from a copy of `udtAlt`.
// strTAGsLesen: two flag characters (ID3v1, ID3v2); strHeaderLesen and
// strDateiInfosLesen: "1" or "0". The managed types of `index` decide
// `Datei_Typ`. Fields not read keep the values of `udtAlt`; failing steps are
// passed over, the call reports no failure. A missing or unreadable file
// keeps its tag and header fields (a missing one gets size -1).
MedienInfo MedienInfosLesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                            const QString& strTAGsLesen, bool bolZeilenumbrücheBehalten,
                            const QString& strHeaderLesen, const QString& strDateiInfosLesen);

// The index loader's re-read of an incomplete entry (EintragLeserDienst):
// the given tags, and the header and file information by `strHeaderLesen`.
MedienInfo MedienInfosNachlesen(const Index& index, const QString& strDatei, const MedienInfo& udtAlt,
                                const QString& strTAGsLesen, const QString& strHeaderLesen);

#pragma once
// Small helpers for tests around index files: reading a file's bytes,
// writing an index file, and answering questions from a script.

#include "core/Index.h"
#include "core/IndexDatei.h"
#include "core/Meldungen.h"
#include "core/Standardwerte.h"

#include <QFile>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>

namespace testhilfe {

// The bytes of a file; "<fehlt>" when it cannot be read.
inline QByteArray DateiInhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

// Writes an index file whose entries are the given paths (blank records).
inline void IndexDateiAnlegen(const QString& pfad, const QStringList& einträge)
{
    Index idx;
    idx.bolIndexGeladen = true;
    for (const QString& e : einträge)
        idx.EintragAnhängen(e, LeereMedienInfo());
    ASSERT_TRUE(DateiSpeichern(idx, pfad, false));
}

// Records every message box; questions take the scripted answers in turn, and
// a question without one fails the test. Every answer must be used up.
struct Fragenskript {
    std::deque<Antwort> antworten;
    QStringList meldungen; // every text shown
    QStringList fragen;    // the texts that asked
    DienstErsetzen<MeldungsDienst> dienst{[this](const Meldung& m) {
        meldungen << m.text;
        if (m.knöpfe == Knöpfe::OK)
            return Antwort::OK;
        fragen << m.text;
        if (antworten.empty()) {
            ADD_FAILURE() << "unexpected question: " << m.text.toStdString();
            return Antwort::Nein;
        }
        const Antwort a = antworten.front();
        antworten.pop_front();
        return a;
    }};
    ~Fragenskript() { EXPECT_TRUE(antworten.empty()) << "a question was not asked"; }
};

} // namespace testhilfe

#pragma once
// The status typewriter: a short text typed into the main window's caption
// two characters every 15 ms after an optional delay, held 2.5 s, then the
// normal caption returns. The main window owns one and shows its captions.

#include "platform/Dienste.h"
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class StatusSchreiber : public QObject {
    Q_OBJECT
public:
    explicit StatusSchreiber(QObject* parent = nullptr);

    // Where captions go, and what the normal caption is.
    std::function<void(const QString&)> titelSetzen;
    std::function<QString()> normalerTitel;

    // delay 0: at once (the caption is not reset first); > 0: after that many
    // ms; < 0: only stores the text.
    void Zeigen(const QString& strMeldung, qint32 lngVerzögerung);

    QTimer tmrTimer1; // typing (15 ms) and holding (2500 ms)
    QTimer tmrTimer2; // the delay
    QString strStatusText;
    QString strStatusPosition = QStringLiteral("0");

    void tmrTimer1_Timer();
    void tmrTimer2_Timer();
};

// The program's status line (the main window installs its own writer).
struct StatusDienst {
    using Typ = StatusSchreiber*;
};
void StatusMeldungZeigen(const QString& strMeldung, qint32 lngVerzögerung);

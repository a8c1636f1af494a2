#include "core/StatusMeldung.h"

namespace {
}

StatusSchreiber::StatusSchreiber(QObject* parent) : QObject(parent)
{
    tmrTimer1.setInterval(25);
    tmrTimer2.setInterval(25);
    connect(&tmrTimer1, &QTimer::timeout, this, &StatusSchreiber::tmrTimer1_Timer);
    connect(&tmrTimer2, &QTimer::timeout, this, &StatusSchreiber::tmrTimer2_Timer);
}

void StatusSchreiber::Zeigen(const QString& strMeldung, qint32 lngVerzögerung)
{
    tmrTimer1.stop();
    tmrTimer2.stop();
    if (lngVerzögerung != 0 && titelSetzen && normalerTitel)
        titelSetzen(normalerTitel());
    strStatusText = strMeldung;
    strStatusPosition = QStringLiteral("0");
    if (lngVerzögerung == 0) {
        tmrTimer2_Timer();
    } else if (lngVerzögerung > 0) {
        tmrTimer2.setInterval(lngVerzögerung);
        tmrTimer2.start();
    }
}

void StatusSchreiber::tmrTimer2_Timer()
{
    tmrTimer2.stop();
    tmrTimer1.stop();
    tmrTimer1.setInterval(15);
    tmrTimer1.start();
}

void StatusSchreiber::tmrTimer1_Timer()
{
    const int pos = strStatusPosition.toInt() + 2;
    strStatusPosition = QString::number(pos);
    if (pos <= strStatusText.size()) {
        if (titelSetzen)
            titelSetzen(strStatusText.left(pos));
        return;
    }
    if (tmrTimer1.interval() < 20) {
        if (titelSetzen)
            titelSetzen(strStatusText);
        tmrTimer1.stop();
        tmrTimer1.setInterval(2500);
        tmrTimer1.start();
        return;
    }
    tmrTimer1.stop();
    if (titelSetzen && normalerTitel)
        titelSetzen(normalerTitel());
}


void StatusMeldungZeigen(const QString& strMeldung, qint32 lngVerzögerung)
{
    if (Dienst<StatusDienst>())
        Dienst<StatusDienst>()->Zeigen(strMeldung, lngVerzögerung);
}

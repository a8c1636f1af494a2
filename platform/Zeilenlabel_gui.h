#pragma once
// A label of one line whose height never changes: a text too long for it is
// cut with "…" when drawn, and line breaks show as blanks. text() keeps the
// whole text; nothing around the label moves whatever it is given.

#include <QLabel>

class Zeilenlabel : public QLabel {
public:
    explicit Zeilenlabel(QWidget* parent = nullptr, Qt::TextElideMode kürzen = Qt::ElideRight);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text as drawn at the label's present width.
    QString Angezeigt() const;
    // While the text is cut, its tooltip shows it whole.
    void GanzAlsTooltip(bool an) { m_ganzAlsTooltip = an; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    int zeilenhöhe() const;
    Qt::TextElideMode m_kürzen;
    bool m_ganzAlsTooltip = false;
};

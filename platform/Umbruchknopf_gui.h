#pragma once
// A check box or option button whose caption wraps to the width it is
// given, as a word-wrapping label does: a long caption never widens its
// window. The whole control, caption included, takes the click; text(),
// the mnemonic and the keyboard work as for the plain control.

#include <QCheckBox>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>
#include <type_traits>

template <class Knopf>
class Umbrechend : public Knopf {
    static_assert(std::is_base_of_v<QCheckBox, Knopf> || std::is_base_of_v<QRadioButton, Knopf>);
    static constexpr bool kRund = std::is_base_of_v<QRadioButton, Knopf>;

public:
    explicit Umbrechend(const QString& text, QWidget* parent = nullptr) : Knopf(text, parent)
    {
        QSizePolicy p(QSizePolicy::Preferred, QSizePolicy::Minimum);
        p.setHeightForWidth(true);
        this->setSizePolicy(p);
    }

    bool hasHeightForWidth() const override { return true; }

    int heightForWidth(int breite) const override
    {
        const int text = textRaum(breite - textLinks()).height();
        return std::max(einzeilig().height(), text + innenAbstand());
    }

    QSize sizeHint() const override
    {
        // A caption up to about sixty characters stays on one line.
        const int breite = std::min(einzeilig().width(), textLinks() + this->fontMetrics().averageCharWidth() * 60);
        return {breite, heightForWidth(breite)};
    }

    QSize minimumSizeHint() const override
    {
        // As narrow as the longest word.
        return {textLinks() + textRaum(1).width(), einzeilig().height()};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        opt.rect = QRect(0, 0, this->width(), einzeilig().height());
        QStyleOptionButton zeichen = opt;
        zeichen.rect = this->style()->subElementRect(
            kRund ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, this);
        p.drawPrimitive(kRund ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, zeichen);
        const QRect text(textLinks(), innenAbstand() / 2, this->width() - textLinks(), this->height());
        p.drawItemText(text, textFlags() | Qt::AlignLeft | Qt::AlignTop, this->palette(), this->isEnabled(),
                       this->text(), QPalette::WindowText);
        if (this->hasFocus()) {
            QStyleOptionFocusRect fokus;
            fokus.initFrom(this);
            fokus.rect = textRaum(text.width()).translated(text.topLeft()).adjusted(-1, 0, 1, 0);
            p.drawPrimitive(QStyle::PE_FrameFocusRect, fokus);
        }
    }

    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }

private:
    QSize einzeilig() const { return Knopf::sizeHint(); }
    int innenAbstand() const { return std::max(0, einzeilig().height() - this->fontMetrics().height()); }
    int textFlags() const
    {
        const bool zeigen = this->style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this);
        return Qt::TextWordWrap | (zeigen ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    }
    // Where the caption starts: behind the indicator and its spacing.
    int textLinks() const
    {
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        opt.rect = QRect(0, 0, einzeilig().width(), einzeilig().height());
        return this->style()
            ->subElementRect(kRund ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, this)
            .left();
    }
    QRect textRaum(int breite) const
    {
        return this->fontMetrics().boundingRect(QRect(0, 0, std::max(1, breite), 100000), textFlags(),
                                                this->text());
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/text/TLabel.h"

// A label whose caption marks a keyboard mnemonic with "&". Beside its font it keeps the font's
// colour, which the text colour it draws in follows, except while the form's values are applied.
class TStyledLabel : public TLabel
{
    Q_OBJECT

public:
    // A font as the form stores it: the face and its colour.
    struct StoredFont
    {
        QFont font;
        QColor color;
    };

    TStyledLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent,
                 Qt::Alignment alignment = Qt::AlignLeft);

    QColor fontColor() const { return m_fontColor; }
    // Outside loading the label takes the colour to draw in, sizes itself and repaints.
    void setFontColor(const QColor &color);

    // A click from the keyboard or an assistive tool: the same sequence as a press and release over the label.
    void performClick() { click(); }

Q_SIGNALS:
    // A left press and release over the label.
    void clicked();

protected:
    // Applies the form's font: its colour becomes the text colour only at the end, and only then
    // does the label size itself.
    void loadFont(const StoredFont &stored);

    virtual void click();

    int textFlags() const override;
    QSize captionSize() const override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Enter and Space click a label that has the keyboard focus.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_fontColor;
    bool m_loading = false;
    bool m_pressed = false;
};

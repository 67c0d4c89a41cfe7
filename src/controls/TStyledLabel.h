#pragma once

#include "TLabel.h"

// A label with an extended painting model (raised, recessed or shadowed text, a hover colour) that
// marks a keyboard mnemonic with "&" in its caption. Beside its font it keeps the font's colour,
// which the text colour it draws in follows, except while the form's values are being applied.
class TStyledLabel : public TLabel
{
    Q_OBJECT

public:
    enum TextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
    Q_ENUM(TextStyle)

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

    TextStyle textStyle() const { return m_textStyle; }
    void setTextStyle(TextStyle style);
    // An invalid colour draws nothing for that layer.
    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &color);
    QColor highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor &color);
    int shadowDepth() const { return m_shadowDepth; }
    void setShadowDepth(int depth);

    // While the pointer is over an enabled fly-by label, its font takes the fly-by colour.
    bool isFlyByEnabled() const { return m_flyByEnabled; }
    void setFlyByEnabled(bool enabled) { m_flyByEnabled = enabled; }
    QColor flyByColor() const { return m_flyByColor; }
    void setFlyByColor(const QColor &color) { m_flyByColor = color; }

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
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void drawCaption(QPainter &painter, QPoint offset, const QColor &color) const;

    QColor m_fontColor;
    QColor m_colorBeforeFlyBy;
    QColor m_shadowColor;
    QColor m_highlightColor;
    QColor m_flyByColor;
    TextStyle m_textStyle = tsNormal;
    int m_shadowDepth = 2;
    bool m_flyByEnabled = false;
    bool m_loading = false;
    bool m_pressed = false;
};

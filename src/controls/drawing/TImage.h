// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QWidget>

#include <optional>
#include <utility>

// An image control: shows a picture, or a bitmap of its own size that code
// draws text on. Texts drawn are remembered in order, for inspection. Without
// a picture the bitmap is kept as its fill and texts and drawn when painted:
// a few texts take a few hundred bytes where the bitmap would take 4 bytes a pixel.
class TImage : public QWidget
{
    Q_OBJECT

public:
    struct TextRun
    {
        QPoint position;
        QColor color;
        QString text;
        QFont font;
        QColor background;
    };

    TImage(const QString &name, const QRect &bounds, QWidget *parent);

    // Shows a picture and takes its size.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // On a screen with more than one pixel to a point, the picture is drawn from the
    // icon's image for the screen's density instead of being enlarged.
    void setDensePicture(const QIcon &icon);

    // Fills the whole bitmap (made at the control's size on first use) and forgets earlier texts.
    void fill(const QColor &color);
    // Draws a text with its top-left corner at position, on an opaque background.
    // NUL characters stay in the text remembered but draw as nothing: no glyph, no width.
    void textOut(QPoint position, const QString &text, const QFont &font, const QColor &color,
                 const QColor &background);
    static int textWidth(const QString &text, const QFont &font);

    const QList<TextRun> &runs() const { return m_runs; }
    // The texts drawn, one line per row of runs from the top, NUL characters left out:
    // what a reader of the picture sees, for copying and for assistive tools.
    QStringList textLines() const;

    // Lets the Tab key reach the texts drawn and the arrow keys and the mouse choose one line of
    // them, which shows selected; the picture is unchanged while no line is chosen.
    void setLinesSelectable(bool selectable);
    // The chosen line, an index into textLines(); -1 for none.
    int selectedLine() const { return m_selectedLine; }
    void setSelectedLine(int line);
    // The chosen line's text; empty when none is chosen.
    QString selectedText() const;
    // Where the chosen line starts and ends in textLines() joined by line feeds; both 0 when none is chosen.
    std::pair<int, int> selectedRange() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static void draw(QPainter &painter, const TextRun &run);
    // The runs in the order they read: by row from the top, then as drawn.
    QList<TextRun> readingOrder() const;
    // The top of each row of runs, from the top.
    QList<int> rowTops() const;
    int rowAt(int y) const;
    void paintSelectedLine(QPainter &painter) const;

    QImage m_picture;
    QIcon m_densePicture;
    std::optional<QColor> m_fill;
    QList<TextRun> m_runs;
    bool m_linesSelectable = false;
    int m_selectedLine = -1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QWidget>

#include <optional>

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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static void draw(QPainter &painter, const TextRun &run);

    QImage m_picture;
    std::optional<QColor> m_fill;
    QList<TextRun> m_runs;
};

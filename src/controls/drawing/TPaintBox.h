// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLine>
#include <QList>
#include <QWidget>

// A drawing surface with a pen that keeps its position between drawings.
// What is drawn stays until clear(), kept as the lines themselves and drawn
// over whatever lies beneath the widget when it paints: a sweep of the memory
// graph is a few hundred lines, where a bitmap of the surface would take
// 4 bytes a pixel.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    TPaintBox(const QString &name, const QRect &bounds, QWidget *parent);

    QColor penColor() const { return m_penColor; }
    void setPenColor(const QColor &color);

    QPoint penPosition() const { return m_pen; }
    void moveTo(QPoint point);
    void lineTo(QPoint point);

    // Wipes everything drawn and repaints at once; the pen stays where it is.
    void clear();

    // Lines drawn since the last clear, in order.
    const QList<QLine> &segments() const { return m_segments; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The pixels a line covers, clipped to the surface.
    QRect area(const QLine &line) const;

    QPoint m_pen;
    QColor m_penColor = Qt::black;
    QList<QLine> m_segments;
    QList<QRgb> m_segmentColors; // the pen's colour for each segment
};

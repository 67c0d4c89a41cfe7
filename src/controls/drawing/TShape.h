// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// A rectangle with a one-pixel outline and a solid or hatched fill.
// A hatched fill lets what lies beneath show between its lines.
class TShape : public QWidget
{
    Q_OBJECT

public:
    TShape(const QString &name, const QRect &bounds, const QColor &brushColor, Qt::BrushStyle brushStyle,
           QWidget *parent);

    QColor brushColor() const { return m_brushColor; }
    Qt::BrushStyle brushStyle() const { return m_brushStyle; }
    QColor penColor() const { return m_penColor; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void render();

    QImage m_rendered;
    QColor m_brushColor;
    Qt::BrushStyle m_brushStyle;
    QColor m_penColor = Qt::black;
};

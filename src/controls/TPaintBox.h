#pragma once

#include <QImage>
#include <QLine>
#include <QList>
#include <QWidget>

// A drawing surface with a pen that keeps its position between drawings.
// What is drawn stays on a surface of its own until clear(); the widget
// shows that surface over whatever lies beneath it.
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
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage blankSurface() const;
    bool surfaceFits() const;
    void remakeSurface();
    void drawSegment(const QLine &line);

    QImage m_surface;
    QPoint m_pen;
    QColor m_penColor = Qt::black;
    QList<QLine> m_segments;
};

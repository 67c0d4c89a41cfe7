#pragma once

#include <QWidget>

class JoinedText;

// A label that shows its caption as plain text and sizes itself to it,
// keeping its left edge (its right edge when right-justified).
class TLabel : public QWidget
{
    Q_OBJECT

public:
    TLabel(const QString &name, const QRect &bounds, QString caption, QWidget *parent,
           Qt::Alignment alignment = Qt::AlignLeft);

    // A caption label: the window's font, drawn red.
    static TLabel *captionLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent);

    QString caption() const { return m_caption; }
    // Replaces the caption, resizing and repainting only when it differs.
    void setCaption(const QString &caption);
    // A caption with texts from outside in it: caption() is its plain text, the label draws its shown text.
    void setCaption(const JoinedText &text);
    // The caption as drawn.
    QString shownText() const { return m_shown; }

    bool isRightJustified() const { return m_rightJustified; }

    QColor textColor() const;
    void setTextColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

    // How the caption is laid out when drawn and measured.
    virtual int textFlags() const;
    // The size the caption takes when drawn.
    virtual QSize captionSize() const;
    void adjustSizeToCaption();

private:
    QString m_caption;
    QString m_shown;
    bool m_rightJustified = false;
};

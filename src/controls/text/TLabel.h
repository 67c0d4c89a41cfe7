// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include <utility>

class JoinedText;

// A label that shows its caption as plain text and sizes itself to it,
// keeping its left edge (its right edge when right-justified). A caption that
// runs past the frame of the box it stands in ends in "…" there, and its
// tooltip shows it whole.
class TLabel : public QWidget
{
    Q_OBJECT

public:
    // While one exists, a label that is not shown leaves sizing itself to its caption until it is
    // first shown or asked (ensureSized): a window builds its hidden pages without shaping their
    // texts, which loads every glyph they use and the fonts that hold them. Where it ends, every
    // label stands where it would have stood all along.
    class DeferSizing
    {
    public:
        DeferSizing() { ++s_depth; }
        ~DeferSizing() { --s_depth; }
        DeferSizing(const DeferSizing &) = delete;
        DeferSizing &operator=(const DeferSizing &) = delete;
    };

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

    // Whether the caption is cut at its box's frame.
    bool isElided() const;
    // The whole caption as the tooltip shows it; empty while nothing is cut.
    QString toolTipText() const;

    // A value label whose text the mouse can select and the Tab key reaches; it looks the same as before
    // until something is selected. Tab selects it whole, which marks the focus without moving any text.
    void setSelectable(bool selectable);
    bool isSelectable() const { return m_selectable; }
    // The selected characters, as [start, end) positions in the caption; empty when nothing is selected.
    std::pair<int, int> selection() const { return {m_selectionStart, m_selectionEnd}; }
    void setSelection(int start, int end);
    QString selectedText() const;

    // Takes the size of its caption now, if that was left for later.
    void ensureSized();

    // The caption label that names this value for assistive tools; null for a label that names itself.
    const TLabel *nameLabel() const { return m_nameLabel; }
    void setNameLabel(const TLabel *label) { m_nameLabel = label; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    // How the caption is laid out when drawn and measured.
    virtual int textFlags() const;
    // The size the caption takes when drawn.
    virtual QSize captionSize() const;
    QSize lineSize(const QString &text) const;
    void adjustSizeToCaption();

private:
    void sizeToCaption();
    // The part of the label inside its parent's frame, in the label's own coordinates.
    QRect shownRect() const;
    // Mouse selections go where a middle click pastes from.
    void offerSelection() const;
    // The caption position nearest to a point on the label.
    int positionAt(QPointF point) const;
    void paintSelection(QPainter &painter) const;
    void setTexts(const QString &caption, const QString &shown);

    QString m_caption;
    QString m_shown;
    bool m_rightJustified = false;
    bool m_selectable = false;
    int m_selectionStart = 0;
    int m_selectionEnd = 0;
    int m_selectionAnchor = 0;
    QPointer<const TLabel> m_nameLabel;
    bool m_sizePending = false;
    // Labels live on the user-interface thread only.
    static inline int s_depth = 0;
};

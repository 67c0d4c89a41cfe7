// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls/text/TStyledLabel.h"

class ShellSource;

// A label that acts as a hyperlink: underlined, with a pointing hand, it asks the desktop shell to open
// its URL (or its caption, when the URL is blank) on a click, and turns to its visited colour once the
// shell has opened it.
class TUrlLabel : public TStyledLabel
{
    Q_OBJECT

public:
    // The URL and font are the form's; the links are drawn in the font's colour until first visited.
    TUrlLabel(ShellSource &shell, const QString &name, const QRect &bounds, const StoredFont &font,
              const QString &caption, QString url, QWidget *parent);

    QString url() const { return m_url; }
    // Stores the URL only: the label neither resizes nor repaints.
    void setUrl(const QString &url) { m_url = url; }

    bool isVisited() const { return m_visited; }
    void setVisited(bool visited);
    QColor visitedColor() const { return m_visitedColor; }
    void setVisitedColor(const QColor &color);
    QColor unvisitedColor() const { return m_unvisitedColor; }
    void setUnvisitedColor(const QColor &color);

protected:
    void click() override;
    // The focus, which only the Tab key gives a link, shows as the style's focus frame.
    void paintEvent(QPaintEvent *event) override;

private:
    void applyLinkColor();

    ShellSource &m_shell;
    QString m_url;
    QColor m_visitedColor;
    QColor m_unvisitedColor;
    bool m_visited = false;
};

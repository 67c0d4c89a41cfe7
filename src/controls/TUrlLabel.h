#pragma once

#include "TStyledLabel.h"

class ShellSource;

// A label that opens its URL (or its caption) through the desktop shell when clicked.
class TUrlLabel : public TStyledLabel
{
    Q_OBJECT

public:
    TUrlLabel(ShellSource &shell, const QString &name, const QRect &bounds, const QString &caption,
              QWidget *parent);

    QString url() const { return m_url; }
    void setUrl(const QString &url) { m_url = url; }

    bool isVisited() const { return m_visited; }

private:
    ShellSource &m_shell;
    QString m_url;
    bool m_visited = false;
};

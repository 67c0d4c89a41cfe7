#include "TUrlLabel.h"

#include "platform/ShellSource.h"

TUrlLabel::TUrlLabel(ShellSource &shell, const QString &name, const QRect &bounds, const QString &caption,
                     QWidget *parent)
    : TStyledLabel(name, bounds, caption, parent)
    , m_shell(shell)
{
    setCursor(Qt::PointingHandCursor);
}

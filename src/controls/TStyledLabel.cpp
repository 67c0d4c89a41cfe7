#include "TStyledLabel.h"

TStyledLabel::TStyledLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent,
                           Qt::Alignment alignment)
    : TLabel(name, bounds, caption, parent, alignment)
{
    adjustSizeToCaption();
}

int TStyledLabel::textFlags() const
{
    return TLabel::textFlags() | Qt::TextShowMnemonic;
}

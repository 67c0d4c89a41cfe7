#pragma once

#include "TLabel.h"

// A label that draws "&" as a mnemonic marker, as the links on the About page do.
class TStyledLabel : public TLabel
{
    Q_OBJECT

public:
    TStyledLabel(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent,
                 Qt::Alignment alignment = Qt::AlignLeft);

protected:
    int textFlags() const override;
};

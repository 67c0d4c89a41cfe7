// SPDX-License-Identifier: GPL-3.0-or-later
#include "TGroupBox.h"

TGroupBox::TGroupBox(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
{
    setObjectName(name);
    setGeometry(bounds);
}

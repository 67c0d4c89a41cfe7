// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class TGroupBox : public QGroupBox
{
    Q_OBJECT

public:
    TGroupBox(const QString &name, const QRect &bounds, const QString &caption, QWidget *parent);
};

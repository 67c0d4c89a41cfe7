// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// For start-up measurements: ends the program as soon as the watched window
// has been painted once, so a whole run times start to first paint.
class FirstPaintProbe : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *EnvironmentVariable = "PELZORA_QUIT_AFTER_FIRST_PAINT";

    explicit FirstPaintProbe(QObject *watched);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// A plain, unsorted list of text lines with a fixed line height.
class TListBox : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int ItemHeight = 14;

    TListBox(const QString &name, const QRect &bounds, QWidget *parent);

    QStringList lines() const;
    // Throws Failure when the list cannot take another line.
    void appendLine(const QString &line);
    // Empties the list and fills it again.
    void setLines(const QStringList &lines);

protected:
    bool event(QEvent *event) override;
};

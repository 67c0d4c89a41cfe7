// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrimarySelection.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QString &lastOffered()
{
    static QString offered;
    return offered;
}

} // namespace

void PrimarySelection::offer(const QString &text)
{
    lastOffered() = text;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

QString PrimarySelection::text()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : lastOffered();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class TFormMain;
class QWidget;

// What the window does beyond showing its pages: copying what it shows (the context menu of every
// page, Ctrl+C for one value and Ctrl+Shift+C for the whole report) and its keys for changing page
// and closing.
class WindowActions : public QObject
{
    Q_OBJECT

public:
    explicit WindowActions(TFormMain &window);

    // The text a control holds at a point on it, or where it has the focus when no point is given:
    // a label's selection or its whole caption, the processor report's chosen line or all its lines, a list's item,
    // what the graph describes. Empty for a control that holds no value.
    static QString valueText(const QWidget *control, std::optional<QPoint> at = std::nullopt);
    // Plain text on the clipboard and, where there is one, the selection the middle button pastes;
    // NUL characters left out.
    static void putOnClipboard(QString text);

    // Ctrl+C: the value of the focused control, else of the control under the pointer.
    void copyValue();
    // Ctrl+Shift+C: every fact the window holds, as text.
    void copyAll();
    // The same, fit for sharing: without the host name, addresses, serial numbers and user names.
    void copyAllRedacted();
    // The whole report in the language the window does not speak, for a reader of the other.
    void copyAllInOtherLanguage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addKeys(const QList<QKeySequence> &keys, const std::function<void()> &run);
    void showContextMenu(QWidget *target, std::optional<QPoint> at, QPoint globalPosition);
    // Pages in a ring: past the last comes the first.
    void stepPage(int step);
    void showPage(int index);

    TFormMain &m_window;
};

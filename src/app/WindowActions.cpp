// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowActions.h"

#include "UnitFormMain.h"
#include "Wording.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drawing/TImage.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/text/PrimarySelection.h"
#include "controls/text/TLabel.h"
#include "report/ReportBuilder.h"
#include "report/ReportRedactor.h"
#include "report/TextReportWriter.h"
#include "report/WindowFactReader.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>

using namespace Qt::StringLiterals;

namespace {

const QKeySequence CopyAllKey(Qt::CTRL | Qt::SHIFT | Qt::Key_C);

// The list a control belongs to: the list itself or the viewport its items are drawn on.
const QListWidget *listOf(const QWidget *control)
{
    if (const auto *list = qobject_cast<const QListWidget *>(control))
        return list;
    const auto *list = qobject_cast<const QListWidget *>(control->parentWidget());
    return list && list->viewport() == control ? list : nullptr;
}

// The item under a point, else the current one.
QString listItemText(const QListWidget &list, const QWidget *control, std::optional<QPoint> at)
{
    const QListWidgetItem *item = at ? list.itemAt(list.viewport()->mapFrom(control, *at)) : nullptr;
    if (!item)
        item = list.currentItem();
    return item ? item->text() : QString();
}

QString labelText(const TLabel &label)
{
    const QString selected = label.selectedText();
    return selected.isEmpty() ? label.caption() : selected;
}

} // namespace

WindowActions::WindowActions(TFormMain &window)
    : QObject(&window)
    , m_window(window)
{
    addKeys(QKeySequence::keyBindings(QKeySequence::Copy), [this] { copyValue(); });
    addKeys({CopyAllKey}, [this] { copyAll(); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, [this] { stepPage(1); });
    // Once only: a shifted Tab arrives as Backtab, which Qt also tries as Ctrl+Shift+Tab, and a second
    // spelling of the same keys makes the shortcut ambiguous, so that it does nothing.
    addKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
            [this] { stepPage(-1); });
    for (int page = 0; page < window.notebook()->pageCount() && page < 9; ++page)
        addKeys({QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + page))}, [this, page] { showPage(page); });
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { m_window.close(); });
    window.installEventFilter(this);
}

void WindowActions::addKeys(const QList<QKeySequence> &keys, const std::function<void()> &run)
{
    auto *action = new QAction(&m_window);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, run);
    m_window.addAction(action);
}

QString WindowActions::valueText(const QWidget *control, std::optional<QPoint> at)
{
    if (!control)
        return {};
    if (const auto *label = qobject_cast<const TLabel *>(control))
        return labelText(*label);
    if (const auto *image = qobject_cast<const TImage *>(control)) {
        const QString line = image->selectedText();
        return line.isEmpty() ? image->textLines().join(u'\n') : line;
    }
    if (const QListWidget *list = listOf(control))
        return listItemText(*list, control, at);
    if (const auto *selector = qobject_cast<const TDriveComboBox *>(control))
        return selector->currentText();
    if (const auto *bar = qobject_cast<const QProgressBar *>(control))
        return u"%1 %"_s.arg(bar->value());
    // The graph: what it shows, as it describes itself.
    return control->accessibleDescription();
}

void WindowActions::putOnClipboard(QString text)
{
    text.remove(QChar(u'\0'));
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
    PrimarySelection::offer(text);
}

void WindowActions::copyValue()
{
    QString text = valueText(m_window.focusWidget());
    if (text.isEmpty()) {
        const QPoint pointer = m_window.mapFromGlobal(QCursor::pos());
        if (QWidget *hovered = m_window.rect().contains(pointer) ? m_window.childAt(pointer) : nullptr)
            text = valueText(hovered, hovered->mapFrom(&m_window, pointer));
    }
    if (!text.isEmpty())
        putOnClipboard(text);
}

void WindowActions::copyAll()
{
    putOnClipboard(TextReportWriter::write(ReportBuilder::build(WindowFactReader::read(m_window))));
}

void WindowActions::copyAllInOtherLanguage()
{
    const Wording words = Wording::of(UiLanguage::other(UiLanguage::current()));
    putOnClipboard(TextReportWriter::write(ReportBuilder::build(WindowFactReader::read(m_window, words))));
}

void WindowActions::copyAllRedacted()
{
    SystemFacts facts = ReportBuilder::build(WindowFactReader::read(m_window));
    ReportRedactor::redact(facts);
    putOnClipboard(TextReportWriter::write(facts));
}

bool WindowActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto *request = static_cast<QContextMenuEvent *>(event);
    if (request->reason() == QContextMenuEvent::Keyboard) {
        showContextMenu(m_window.focusWidget(), std::nullopt, request->globalPos());
    } else {
        QWidget *target = m_window.childAt(request->pos());
        showContextMenu(target, target ? std::optional(target->mapFrom(&m_window, request->pos())) : std::nullopt,
                        request->globalPos());
    }
    return true;
}

void WindowActions::showContextMenu(QWidget *target, std::optional<QPoint> at, QPoint globalPosition)
{
    // Taken now: the value under the pointer when the menu opened, not when an entry is chosen.
    const QString value = valueText(target, at);
    auto *menu = new QMenu(&m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *copy = menu->addAction(tr("复制"), menu, [value] { putOnClipboard(value); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!value.isEmpty());
    QAction *copyAllAction = menu->addAction(tr("复制全部"), this, &WindowActions::copyAll);
    copyAllAction->setShortcut(CopyAllKey);
    menu->addAction(tr("复制全部（隐去个人信息）"), this, &WindowActions::copyAllRedacted);
    //: The whole report in the language the window does not speak: English in the Chinese window, Chinese in the
    //: English one.
    menu->addAction(tr("复制全部（英文）", "in the other language"), this, &WindowActions::copyAllInOtherLanguage);
    menu->popup(globalPosition);
}

void WindowActions::stepPage(int step)
{
    const int count = m_window.notebook()->pageCount();
    showPage((m_window.notebook()->pageIndex() + step + count) % count);
}

void WindowActions::showPage(int index)
{
    // As a click on the tab: the page-change handler runs only for a real change.
    m_window.notebook()->setPageIndex(index);
}

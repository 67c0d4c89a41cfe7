// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleControls.h"

#include "controls/drawing/TImage.h"
#include "controls/drawing/TPaintBox.h"
#include "controls/drawing/TShape.h"
#include "controls/text/TLabel.h"
#include "controls/text/TStyledLabel.h"
#include "controls/text/TUrlLabel.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A caption as shown: a lone "&" marks a mnemonic and is not shown, "&&" shows one "&".
QString withoutMnemonics(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && ++i == caption.size())
            break;
        shown += caption.at(i);
    }
    return shown;
}

// A control that shows one piece of text, read whole or in parts; no selection unless a subclass has one.
class AccessibleTextControl : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    AccessibleTextControl(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    virtual QString fullText() const = 0;

    using QAccessibleWidget::text;
    QString text(int startOffset, int endOffset) const override
    {
        return fullText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(fullText().size()); }

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }

    // Every line of the text is one font height below the last, from the control's top left.
    QRect characterRect(int offset) const override
    {
        const QString text = fullText();
        if (offset < 0 || offset >= text.size())
            return {};
        const QFontMetrics metrics(widget()->font());
        const qsizetype lineStart = text.lastIndexOf(u'\n', offset - 1) + 1;
        const int line = int(text.first(lineStart).count(u'\n'));
        const int x = metrics.horizontalAdvance(text.mid(lineStart, offset - lineStart));
        const QRect local(x, line * metrics.height(), metrics.horizontalAdvance(text.at(offset)), metrics.height());
        return local.translated(widget()->mapToGlobal(QPoint(0, 0)));
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }

    void scrollToSubstring(int, int) override { }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }
};

// A label names itself with its caption; a value label is named by its caption label and reads as its value.
class AccessibleLabel final : public AccessibleTextControl
{
public:
    explicit AccessibleLabel(TLabel *label)
        : AccessibleTextControl(label, qobject_cast<TUrlLabel *>(label) ? QAccessible::Link : QAccessible::StaticText)
    {
    }

    // Where the label stands with its caption, also on a page not shown yet.
    QRect rect() const override
    {
        label()->ensureSized();
        return AccessibleTextControl::rect();
    }

    QString fullText() const override
    {
        const QString caption = label()->caption();
        return qobject_cast<const TStyledLabel *>(label()) ? withoutMnemonics(caption) : caption;
    }

    QString text(QAccessible::Text type) const override
    {
        const TLabel *name = label()->nameLabel();
        switch (type) {
        case QAccessible::Name:
            if (!widget()->accessibleName().isEmpty())
                return widget()->accessibleName();
            return name ? name->caption() : fullText();
        case QAccessible::Value:
            return name ? fullText() : QString();
        default:
            return QAccessibleWidget::text(type);
        }
    }
    using AccessibleTextControl::text;

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (link())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (link() && actionName == pressAction())
            link()->performClick();
        else
            QAccessibleWidget::doAction(actionName);
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        const std::pair<int, int> selected = label()->selection();
        const bool exists = selectionIndex == 0 && selected.first != selected.second;
        *startOffset = exists ? selected.first : 0;
        *endOffset = exists ? selected.second : 0;
    }
    int selectionCount() const override
    {
        const std::pair<int, int> selected = label()->selection();
        return selected.first != selected.second ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { label()->setSelection(0, 0); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        if (label()->isSelectable())
            label()->setSelection(std::min(startOffset, endOffset), std::max(startOffset, endOffset));
    }
    int cursorPosition() const override { return label()->selection().second; }

private:
    TLabel *label() const { return static_cast<TLabel *>(widget()); }
    TUrlLabel *link() const { return qobject_cast<TUrlLabel *>(widget()); }
};

// An image reads as the lines of text drawn on it; a picture without text as its name alone.
class AccessibleImage final : public AccessibleTextControl
{
public:
    explicit AccessibleImage(TImage *image)
        : AccessibleTextControl(image, QAccessible::Graphic)
    {
    }

    QAccessible::Role role() const override
    {
        return fullText().isEmpty() ? QAccessible::Graphic : QAccessible::StaticText;
    }

    QString fullText() const override { return image()->textLines().join(u'\n'); }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return fullText();
        return QAccessibleWidget::text(type);
    }
    using AccessibleTextControl::text;

    // The chosen line is the selection.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        const std::pair<int, int> line = image()->selectedRange();
        const bool exists = selectionIndex == 0 && line.first != line.second;
        *startOffset = exists ? line.first : 0;
        *endOffset = exists ? line.second : 0;
    }
    int selectionCount() const override { return image()->selectedLine() < 0 ? 0 : 1; }
    int cursorPosition() const override { return image()->selectedRange().first; }

private:
    TImage *image() const { return static_cast<TImage *>(widget()); }
};

QAccessibleInterface *controlInterface(const QString &className, QObject *object)
{
    if (className == u"TLabel"_s)
        return new AccessibleLabel(static_cast<TLabel *>(object));
    if (className == u"TImage"_s)
        return new AccessibleImage(static_cast<TImage *>(object));
    if (className == u"TPaintBox"_s)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Chart);
    if (className == u"TShape"_s)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

void AccessibleControls::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

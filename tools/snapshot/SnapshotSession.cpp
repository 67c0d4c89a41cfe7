// SPDX-License-Identifier: GPL-3.0-or-later
#include "SnapshotSession.h"

#include "StateDump.h"
#include "app/UnitFormMain.h"
#include "controls/TTabbedNotebook.h"
#include "controls/drives/TDriveComboBox.h"
#include "controls/text/TLabel.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "platform/linux/LinuxPlatform.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw StepError(message.toStdString());
}

} // namespace

SnapshotSession::SnapshotSession(std::unique_ptr<FakePlatform> fake, const QDir &outputDirectory)
    : m_fake(fake.get())
    , m_output(outputDirectory)
    , m_failureReport([this](const QString &message) { m_reports.append(message); })
{
    if (fake)
        m_platform = std::move(fake);
    else // Waits for every source that answers within the time limit, so a dump shows the answers of the moment.
        m_platform = std::make_unique<LinuxPlatform>(u"/"_s, QueryPatience::answerOfTheMoment());
    m_window = std::make_unique<TFormMain>(*m_platform, m_failureReport);
    m_window->show();
}

SnapshotSession::~SnapshotSession() = default;

QJsonArray SnapshotSession::defaultSteps()
{
    QJsonArray steps{QJsonObject{{u"wait"_s, 1500}}, QJsonObject{{u"dump"_s, u"state"_s}}};
    for (int page = 0; page < 7; ++page) {
        steps.append(QJsonObject{{u"page"_s, page}});
        steps.append(QJsonObject{{u"wait"_s, 150}});
        steps.append(QJsonObject{{u"shot"_s, u"page-%1"_s.arg(page)}});
    }
    return steps;
}

void SnapshotSession::run(const QJsonArray &steps)
{
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (!steps.at(i).isObject())
            fail(u"step %1: expected an object"_s.arg(i));
        try {
            runStep(steps.at(i).toObject());
        } catch (const StepError &error) {
            fail(u"step %1: %2"_s.arg(i).arg(QString::fromStdString(error.what())));
        } catch (const FixtureError &error) {
            fail(u"step %1: %2"_s.arg(i).arg(QString::fromStdString(error.what())));
        }
    }
}

void SnapshotSession::runStep(const QJsonObject &step)
{
    // A context menu step names the entry to choose beside the control.
    if (step.contains(u"contextMenu"_s) && step.size() == 2 && step.contains(u"choose"_s)) {
        chooseFromContextMenu(step.value(u"contextMenu"_s), step.value(u"choose"_s));
        return;
    }
    if (step.size() != 1)
        fail(u"a step has exactly one key (wait, page, pick, click, focus, key, fixture, dump or shot), "
             "or \"contextMenu\" and \"choose\""_s);
    const QString kind = step.begin().key();
    const QJsonValue argument = step.begin().value();
    if (kind == u"wait"_s) {
        if (!argument.isDouble() || argument.toInt(-1) < 0)
            fail(u"\"wait\" needs a number of milliseconds"_s);
        wait(argument.toInt());
    } else if (kind == u"page"_s) {
        changePage(argument);
    } else if (kind == u"pick"_s) {
        pickDrive(argument);
    } else if (kind == u"click"_s) {
        click(argument);
    } else if (kind == u"focus"_s) {
        focus(argument);
    } else if (kind == u"key"_s) {
        pressKeys(argument);
    } else if (kind == u"fixture"_s) {
        applyFixture(argument);
    } else if (kind == u"dump"_s) {
        writeDump(outputPath(argument, u".json"_s));
    } else if (kind == u"shot"_s) {
        writeShot(outputPath(argument, u".png"_s));
    } else {
        fail(u"unknown step \"%1\""_s.arg(kind));
    }
}

void SnapshotSession::wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void SnapshotSession::changePage(const QJsonValue &page)
{
    const int index = page.toInt(-1);
    if (!page.isDouble() || index < 0 || index >= m_window->notebook()->pageCount())
        fail(u"\"page\" needs a page number from 0 to %1"_s.arg(m_window->notebook()->pageCount() - 1));
    m_window->notebook()->setPageIndex(index);
    QApplication::processEvents();
}

void SnapshotSession::pickDrive(const QJsonValue &letter)
{
    const QString text = letter.toString();
    if (!letter.isString() || text.size() != 1)
        fail(u"\"pick\" needs one drive letter"_s);
    auto *selector = m_window->findChild<TDriveComboBox *>(u"DriveComboBox1"_s);
    const int index = selector->findText(text.toLower() + u':', Qt::MatchStartsWith);
    if (index < 0)
        fail(u"the drive selector lists no drive \"%1\""_s.arg(text));
    selector->pickItem(index);
    QApplication::processEvents();
}

QWidget *SnapshotSession::control(const QJsonValue &name, const QString &purpose) const
{
    auto *target = name.isString() ? m_window->findChild<QWidget *>(name.toString()) : nullptr;
    if (!target)
        fail(u"no control named \"%1\" to %2"_s.arg(name.toString(), purpose));
    // Aimed at where a label stands with its caption.
    if (auto *label = qobject_cast<TLabel *>(target))
        label->ensureSized();
    return target;
}

void SnapshotSession::click(const QJsonValue &name)
{
    QWidget *target = control(name, u"click"_s);
    const QPointF local = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

void SnapshotSession::focus(const QJsonValue &name)
{
    control(name, u"focus"_s)->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

// Keys go where a user's keys go: through the window's shortcuts, then to the focused control.
// Shortcuts answer only in the active window.
void SnapshotSession::pressKeys(const QJsonValue &keys)
{
    const QKeySequence sequence = QKeySequence::fromString(keys.toString(), QKeySequence::PortableText);
    bool known = keys.isString() && !sequence.isEmpty();
    for (int i = 0; known && i < sequence.count(); ++i)
        known = sequence[i].key() != Qt::Key_unknown;
    if (!known)
        fail(u"\"key\" needs a key sequence such as \"ctrl+c\", not \"%1\""_s.arg(keys.toString()));
    if (!m_window->isActiveWindow()) {
        m_window->activateWindow();
        QApplication::processEvents();
    }
    QWidget *focused = m_window->focusWidget();
    QTest::keySequence(focused ? focused : m_window.get(), sequence);
    QApplication::processEvents();
}

void SnapshotSession::chooseFromContextMenu(const QJsonValue &name, const QJsonValue &entry)
{
    QWidget *target = control(name, u"open a context menu over"_s);
    const QPoint local = target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
    QApplication::sendEvent(target, &request);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        fail(u"no context menu opened over \"%1\""_s.arg(name.toString()));
    QAction *chosen = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == entry.toString())
            chosen = action;
    menu->close();
    if (!chosen || !chosen->isEnabled())
        fail(u"the context menu over \"%1\" offers no \"%2\""_s.arg(name.toString(), entry.toString()));
    chosen->trigger();
    QApplication::processEvents();
}

void SnapshotSession::applyFixture(const QJsonValue &fixture)
{
    if (!m_fake)
        fail(u"\"fixture\" needs the fake machine (run with --fixture)"_s);
    if (!fixture.isObject())
        fail(u"\"fixture\" needs an object"_s);
    FixtureLoader(u"fixture step"_s).apply(fixture.toObject(), m_fake->machine());
    if (fixture.toObject().contains(u"drives"_s))
        m_fake->drivesChanged();
}

QString SnapshotSession::outputPath(const QJsonValue &name, const QString &suffix) const
{
    const QString text = name.toString();
    if (!name.isString() || text.isEmpty() || text.contains(u'/') || text.startsWith(u'.'))
        fail(u"an output name must be a plain file name"_s);
    return m_output.filePath(text + suffix);
}

QJsonObject SnapshotSession::dump() const
{
    return StateDump::capture(*m_window, *m_platform, m_fake ? &m_fake->machine() : nullptr, m_reports);
}

void SnapshotSession::writeDump(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(QJsonDocument(dump()).toJson(QJsonDocument::Indented)) < 0)
        fail(u"cannot write %1: %2"_s.arg(path, file.errorString()));
}

void SnapshotSession::writeShot(const QString &path) const
{
    if (!m_window->grab().save(path, "PNG"))
        fail(u"cannot write %1"_s.arg(path));
}

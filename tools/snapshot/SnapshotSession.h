// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FailureReport.h"

#include <QDir>
#include <QJsonArray>
#include <QStringList>

#include <memory>
#include <stdexcept>

class FakePlatform;
class QWidget;
class Platform;
class TFormMain;

// A step that cannot be performed; the message says which and why.
class StepError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The real window, shown headless against the Linux backend or a fake
// machine, driven by steps as a user would drive it.
class SnapshotSession
{
public:
    // Without a fake machine the session runs against the Linux backend.
    SnapshotSession(std::unique_ptr<FakePlatform> fake, const QDir &outputDirectory);
    ~SnapshotSession();

    static QJsonArray defaultSteps();

    void run(const QJsonArray &steps);
    void runStep(const QJsonObject &step);

    TFormMain &window() { return *m_window; }
    QJsonObject dump() const;
    const QStringList &reports() const { return m_reports; }

private:
    void wait(int milliseconds);
    void changePage(const QJsonValue &page);
    void pickDrive(const QJsonValue &letter);
    void click(const QJsonValue &name);
    void focus(const QJsonValue &name);
    void pressKeys(const QJsonValue &keys);
    void chooseFromContextMenu(const QJsonValue &name, const QJsonValue &entry);
    QWidget *control(const QJsonValue &name, const QString &purpose) const;
    void applyFixture(const QJsonValue &fixture);
    void writeDump(const QString &name) const;
    void writeShot(const QString &name) const;
    QString outputPath(const QJsonValue &name, const QString &suffix) const;

    std::unique_ptr<Platform> m_platform;
    FakePlatform *m_fake;
    QDir m_output;
    QStringList m_reports;
    FailureReport m_failureReport;
    std::unique_ptr<TFormMain> m_window;
};

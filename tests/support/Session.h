// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"
#include "snapshot/SnapshotSession.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTemporaryDir>

#include <memory>

// The real window on a fake machine described by a JSON fixture, driven in
// this process through the snapshot harness.
class Session
{
public:
    explicit Session(const QByteArray &fixtureJson = "{}")
    {
        QJsonParseError error{};
        const QJsonDocument fixture = QJsonDocument::fromJson(fixtureJson, &error);
        if (error.error != QJsonParseError::NoError)
            qFatal("test fixture: %s", qPrintable(error.errorString()));
        FakeMachine machine;
        FixtureLoader(QStringLiteral("test fixture")).apply(fixture.object(), machine);
        m_session = std::make_unique<SnapshotSession>(std::make_unique<FakePlatform>(std::move(machine)),
                                                      QDir(m_out.path()));
    }

    SnapshotSession &operator*() { return *m_session; }
    SnapshotSession *operator->() { return m_session.get(); }

    void steps(const QByteArray &json)
    {
        QJsonParseError error{};
        const QJsonDocument steps = QJsonDocument::fromJson(json, &error);
        if (error.error != QJsonParseError::NoError)
            qFatal("test steps: %s", qPrintable(error.errorString()));
        m_session->run(steps.array());
    }
    void wait(int milliseconds) { m_session->runStep({{QStringLiteral("wait"), milliseconds}}); }
    void page(int index) { m_session->runStep({{QStringLiteral("page"), index}}); }

    QJsonObject dump() const { return m_session->dump(); }
    QJsonObject control(const QString &name) const
    {
        return dump().value(QStringLiteral("controls")).toObject().value(name).toObject();
    }
    QString text(const QString &name) const { return control(name).value(QStringLiteral("text")).toString(); }

private:
    QTemporaryDir m_out;
    std::unique_ptr<SnapshotSession> m_session;
};

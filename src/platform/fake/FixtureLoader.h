// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <stdexcept>

struct FakeMachine;

// A fixture that cannot be used; the message names the source, the key and the fault.
class FixtureError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the JSON fixture format into a fake machine. Every key is optional;
// a key that is present replaces that part of the machine.
class FixtureLoader
{
public:
    explicit FixtureLoader(QString sourceName);

    static FakeMachine loadFile(const QString &path);
    // The text of a fixture file; sourceName stands for the file in messages.
    static FakeMachine load(const QByteArray &json, const QString &sourceName);
    void apply(const QJsonObject &fixture, FakeMachine &machine) const;

private:
    QString m_sourceName;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What the program was asked to do. Read before any application object
// exists, so that the options that print something need no display.
class CommandLine
{
public:
    enum class Action { OpenWindow, Help, Version, TextReport, JsonReport, Error };

    // Exit status of a command line the program cannot follow.
    static constexpr int UsageError = 2;

    explicit CommandLine(const QStringList &arguments);

    static QStringList arguments(int argc, char *argv[]);

    Action action() const { return m_action; }
    // Runs an action other than OpenWindow and returns the process's exit status.
    int run(int argc, char *argv[]) const;

private:
    void addOptions();
    Action decide(const QStringList &arguments);
    int report() const;
    QString helpText() const;
    static QString programName();

    QCommandLineParser m_parser;
    Action m_action = Action::OpenWindow;
    QString m_error;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UiLanguage.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What the program was asked to do. Read before any application object
// exists, so that the options that print something need no display.
class CommandLine
{
public:
    enum class Action { OpenWindow, Help, Version, Report, NoDisplay, Error };
    enum class Format { Text, Json, Markdown };

    // Exit status of a command line the program cannot follow.
    static constexpr int UsageError = 2;
    // Exit status of a window that has no display to open on.
    static constexpr int NoDisplayError = 1;
    // The one line said when there is no display.
    static const QString NoDisplayMessage;

    explicit CommandLine(const QStringList &arguments);

    static QStringList arguments(int argc, char *argv[]);

    Action action() const { return m_action; }
    // The language --lang asks for; nullopt when the environment decides.
    std::optional<UiLanguage::Language> language() const { return m_language; }
    // The language asked for, else the environment's.
    UiLanguage::Language chosenLanguage() const;
    Format format() const { return m_format; }
    bool redacted() const { return m_redact; }
    // Runs an action other than OpenWindow and returns the process's exit status.
    int run(int argc, char *argv[]) const;

private:
    void addOptions();
    Action decide(const QStringList &arguments);
    bool setFormat(const QString &name);
    int report() const;
    QString helpText() const;
    static QString programName();
    // Whether the window has somewhere to open: a display in the environment, or a platform named.
    bool hasDisplay() const;

    QCommandLineParser m_parser;
    Action m_action = Action::OpenWindow;
    std::optional<UiLanguage::Language> m_language;
    Format m_format = Format::Text;
    bool m_redact = false;
    QString m_error;
};

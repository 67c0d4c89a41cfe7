// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "SystemReport.h"
#include "UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString ReportOption = u"report"_s;
const QString TextFormat = u"text"_s;
const QString JsonFormat = u"json"_s;

// The options Qt's own application objects take; they pass through to them.
const QStringList QtValueOptions{
    u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,      u"qwindowgeometry"_s,
    u"geometry"_s, u"qwindowtitle"_s,       u"title"_s,         u"qwindowicon"_s, u"icon"_s,
    u"style"_s,    u"stylesheet"_s,         u"session"_s,       u"display"_s,     u"name"_s};
const QStringList QtFlagOptions{u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s};

// "--report" alone means the text form; the parser knows only options that always take a value.
QStringList withReportFormat(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments.at(i) != u"--"_s; ++i)
        if (arguments.at(i) == u"--report"_s || arguments.at(i) == u"-report"_s)
            arguments[i] = u"--report="_s + TextFormat;
    return arguments;
}

// Writes all of the bytes, or says on standard error why it could not.
bool writeOut(FILE *stream, const QByteArray &bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    if (std::fflush(stream) == 0 && written)
        return true;
    const int error = errno;
    std::fprintf(stderr, "pelzora: cannot write to standard output: %s\n", std::strerror(error));
    return false;
}

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
{
    addOptions();
    m_action = decide(arguments);
}

QStringList CommandLine::arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void CommandLine::addOptions()
{
    m_parser.setApplicationDescription(u"Shows the facts of the machine it runs on: processor, memory, drives, "
                                       u"services and programs, printers, network and uptime."_s);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption({ReportOption,
                        u"Print every fact to standard output instead of opening the window: "
                        u"--report for text, --report=json for JSON."_s,
                        u"format"_s});
    for (const QString &name : QtValueOptions) {
        QCommandLineOption option(name, QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    for (const QString &name : QtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
}

CommandLine::Action CommandLine::decide(const QStringList &arguments)
{
    if (!m_parser.parse(withReportFormat(arguments))) {
        m_error = m_parser.errorText();
        return Action::Error;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        m_error = u"Unexpected argument '%1'."_s.arg(m_parser.positionalArguments().constFirst());
        return Action::Error;
    }
    if (m_parser.isSet(u"help"_s) || m_parser.isSet(u"help-all"_s))
        return Action::Help;
    if (m_parser.isSet(u"version"_s))
        return Action::Version;
    if (!m_parser.isSet(ReportOption))
        return Action::OpenWindow;
    const QString format = m_parser.value(ReportOption);
    if (format == TextFormat)
        return Action::TextReport;
    if (format == JsonFormat)
        return Action::JsonReport;
    m_error = u"Unknown report format '%1': give --report or --report=json."_s.arg(format);
    return Action::Error;
}

int CommandLine::run(int argc, char *argv[]) const
{
    // No display: the core application alone, which also names the program in the help.
    const QCoreApplication application(argc, argv);
    switch (m_action) {
    case Action::Help:
        return writeOut(stdout, helpText().toLocal8Bit()) ? 0 : 1;
    case Action::Version:
        return writeOut(stdout, (TFormMain::ProgramTitle + u' ' + TFormMain::Version + u'\n').toLocal8Bit()) ? 0 : 1;
    case Action::TextReport:
    case Action::JsonReport:
        return report();
    case Action::Error:
    case Action::OpenWindow:
        break;
    }
    // The usage line is the help's first line.
    const QString usage = helpText().section(u'\n', 0, 0);
    std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(programName()), qPrintable(m_error), qPrintable(usage));
    return UsageError;
}

QString CommandLine::programName()
{
    return QFileInfo(QCoreApplication::arguments().value(0, u"pelzora"_s)).fileName();
}

// The parser's help names the program as it was started, path and all; people read its name.
QString CommandLine::helpText() const
{
    QString text = m_parser.helpText();
    const QString started = QCoreApplication::arguments().value(0);
    const qsizetype usageEnd = text.indexOf(u'\n');
    const qsizetype at = text.indexOf(started);
    if (!started.isEmpty() && at >= 0 && at < usageEnd)
        text.replace(at, started.size(), programName());
    return text;
}

int CommandLine::report() const
{
    // A reader that goes away is a failed write, reported as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    // Never destroyed, and held where it stays reachable to the end: a domain
    // that did not answer in time may still be asking it.
    static LinuxPlatform *const platform = new LinuxPlatform(u"/"_s, QueryPatience::answerOfTheMoment());
    const SystemReport report = SystemReport::fromPlatform(*platform);
    const QByteArray bytes = m_action == Action::JsonReport ? report.toJson() : report.toText().toUtf8();
    return writeOut(stdout, bytes) ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "UnitFormMain.h"
#include "platform/linux/LinuxPlatform.h"
#include "report/JsonReportWriter.h"
#include "report/MarkdownReportWriter.h"
#include "report/PlatformFactReader.h"
#include "report/ReportBuilder.h"
#include "report/ReportRedactor.h"
#include "report/TextReportWriter.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

const QString CommandLine::NoDisplayMessage =
    u"no display to open the window on; pelzora --report prints the facts without one"_s;

namespace {

const QString ReportOption = u"report"_s;
const QString LanguageOption = u"lang"_s;
const QString RedactOption = u"redact"_s;
const QString TextFormat = u"text"_s;
const QString JsonFormat = u"json"_s;
const QString MarkdownFormat = u"markdown"_s;

// The options Qt's own application objects take; they pass through to them.
const QStringList QtValueOptions{
    u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,      u"qwindowgeometry"_s,
    u"geometry"_s, u"qwindowtitle"_s,       u"title"_s,         u"qwindowicon"_s, u"icon"_s,
    u"style"_s,    u"stylesheet"_s,         u"session"_s,       u"display"_s,     u"name"_s};
const QStringList QtFlagOptions{u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s};

// "--report" alone means the text form, "--report json" the form after it; the
// parser knows only options whose value is joined to them or always given.
QStringList withReportFormat(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments.at(i) != u"--"_s; ++i) {
        if (arguments.at(i) != u"--report"_s && arguments.at(i) != u"-report"_s)
            continue;
        const bool formatFollows = i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(u'-');
        arguments[i] = u"--report="_s + (formatFollows ? arguments.takeAt(i + 1) : TextFormat);
    }
    return arguments;
}

// Writes all of the bytes, or says on standard error why it could not. A reader
// that has gone ends the program as it ends the system's own tools: by the
// signal, silently.
bool writeOut(FILE *stream, const QByteArray &bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    if (std::fflush(stream) == 0 && written)
        return true;
    const int error = errno;
    if (error == EPIPE) {
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
        return false;
    }
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
                                       u"services and programs, printers, network, uptime and the system itself."_s);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption({ReportOption,
                        u"Print every fact to standard output instead of opening the window: "
                        u"--report for text, --report json (or --report=json) for JSON, "
                        u"--report markdown for Markdown."_s,
                        u"format"_s});
    m_parser.addOption({LanguageOption,
                        u"Speak zh (Simplified Chinese) or en (English), in the window and the report, "
                        u"whatever the desktop's language."_s,
                        u"language"_s});
    m_parser.addOption({RedactOption,
                        u"With --report: replace the host name, addresses, serial numbers, UUIDs and user names "
                        u"with placeholders, for sharing."_s});
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

bool CommandLine::setFormat(const QString &name)
{
    if (name == TextFormat)
        m_format = Format::Text;
    else if (name == JsonFormat)
        m_format = Format::Json;
    else if (name == MarkdownFormat)
        m_format = Format::Markdown;
    else
        return false;
    return true;
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
    if (m_parser.isSet(LanguageOption)) {
        m_language = UiLanguage::fromName(m_parser.value(LanguageOption));
        if (!m_language) {
            m_error = u"Unknown language '%1': give --lang=zh or --lang=en."_s.arg(m_parser.value(LanguageOption));
            return Action::Error;
        }
    }
    if (m_parser.isSet(u"help"_s) || m_parser.isSet(u"help-all"_s))
        return Action::Help;
    if (m_parser.isSet(u"version"_s))
        return Action::Version;
    m_redact = m_parser.isSet(RedactOption);
    if (!m_parser.isSet(ReportOption)) {
        if (m_redact) {
            m_error = u"--redact goes with --report."_s;
            return Action::Error;
        }
        return hasDisplay() ? Action::OpenWindow : Action::NoDisplay;
    }
    const QString format = m_parser.value(ReportOption);
    if (setFormat(format))
        return Action::Report;
    m_error = u"Unknown report format '%1': the formats are text, json and markdown."_s.arg(format);
    return Action::Error;
}

UiLanguage::Language CommandLine::chosenLanguage() const
{
    return m_language.value_or(UiLanguage::fromEnvironment());
}

bool CommandLine::hasDisplay() const
{
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    return m_parser.isSet(u"platform"_s);
}

int CommandLine::run(int argc, char *argv[]) const
{
    // No display: the core application alone, which also names the program in the help.
    const QCoreApplication application(argc, argv);
    UiLanguage::install(chosenLanguage());
    switch (m_action) {
    case Action::Help:
        return writeOut(stdout, helpText().toLocal8Bit()) ? 0 : 1;
    case Action::Version:
        return writeOut(stdout, (TFormMain::ProgramTitle + u' ' + TFormMain::Version + u'\n').toLocal8Bit()) ? 0 : 1;
    case Action::Report:
        return report();
    case Action::NoDisplay:
        std::fprintf(stderr, "%s: %s\n", qPrintable(programName()), qPrintable(NoDisplayMessage));
        return NoDisplayError;
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
    // Never destroyed, and held where it stays reachable to the end: a source
    // that did not answer in time may still be asking it.
    static LinuxPlatform *const platform = new LinuxPlatform(u"/"_s, QueryPatience::answerOfTheMoment());
    SystemFacts facts = ReportBuilder::build(PlatformFactReader::read(*platform));
    if (m_redact)
        ReportRedactor::redact(facts);
    QByteArray bytes;
    switch (m_format) {
    case Format::Json:
        bytes = JsonReportWriter::write(facts);
        break;
    case Format::Markdown:
        bytes = MarkdownReportWriter::write(facts).toUtf8();
        break;
    case Format::Text:
        bytes = TextReportWriter::write(facts).toUtf8();
        break;
    }
    return writeOut(stdout, bytes) ? 0 : 1;
}

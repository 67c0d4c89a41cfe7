// SPDX-License-Identifier: GPL-3.0-or-later
#include "SnapshotSession.h"
#include "app/UiLanguage.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FixtureLoader.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

int usageError(const QString &message)
{
    std::fprintf(stderr, "pelzora-snapshot: %s\n", qPrintable(message));
    return 2;
}

QJsonArray readSteps(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StepError((u"%1: cannot read the steps: %2"_s.arg(path, file.errorString())).toStdString());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        throw StepError((u"%1: malformed JSON at offset %2: %3"_s.arg(path).arg(error.offset).arg(error.errorString()))
                            .toStdString());
    if (!document.isArray())
        throw StepError((u"%1: the steps must be a JSON array"_s.arg(path)).toStdString());
    return document.array();
}

// Qt takes the device-pixel ratio only before the application starts, so --scale
// is read from the command line as given and handed on as Qt's scale factor.
// Gives what is wrong with it, or nothing.
QString takeScale(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        QByteArray value;
        if (argument == "--scale")
            value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        else if (argument.startsWith("--scale="))
            value = argument.mid(8);
        else
            continue;
        bool isNumber = false;
        const double ratio = value.toDouble(&isNumber);
        if (!isNumber || !(ratio >= 0.5 && ratio <= 8))
            return u"--scale needs a device-pixel ratio from 0.5 to 8, not \"%1\""_s.arg(QString::fromLocal8Bit(value));
        qputenv("QT_SCALE_FACTOR", value);
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    // Headless unless told otherwise: the window is real, the screen is not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private runtime directory where the session has none, so Qt keeps quiet about it.
    QTemporaryDir runtimeDirectory;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDirectory.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDirectory.path()));
    if (const QString scaleError = takeScale(argc, argv); !scaleError.isEmpty())
        return usageError(scaleError);
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"pelzora-snapshot"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Runs Pelzora's window headless, performs steps and writes state dumps and "
                                     "pictures."_s);
    parser.addHelpOption();
    const QCommandLineOption fixtureOption(u"fixture"_s, u"Use the fake machine described in FILE."_s, u"FILE"_s);
    const QCommandLineOption stepsOption(u"steps"_s, u"Perform the steps in FILE."_s, u"FILE"_s);
    const QCommandLineOption outOption(u"out"_s, u"Write dumps and pictures into DIR."_s, u"DIR"_s);
    const QCommandLineOption scaleOption(u"scale"_s,
                                         u"Render at device-pixel ratio F: pictures are F times the window's size, "
                                         "the state dumps stay in the window's own pixels."_s,
                                         u"F"_s);
    const QCommandLineOption languageOption(u"lang"_s,
                                            u"Speak zh or en; without it the language follows the environment, "
                                            "as the program's does."_s,
                                            u"language"_s);
    parser.addOptions({fixtureOption, stepsOption, outOption, scaleOption, languageOption});
    if (!parser.parse(QApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(u"help"_s)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.isSet(outOption))
        return usageError(u"--out DIR is required"_s);
    if (!parser.positionalArguments().isEmpty())
        return usageError(u"unexpected argument \"%1\""_s.arg(parser.positionalArguments().constFirst()));

    UiLanguage::Language language = UiLanguage::fromEnvironment();
    if (parser.isSet(languageOption)) {
        const std::optional<UiLanguage::Language> named = UiLanguage::fromName(parser.value(languageOption));
        if (!named)
            return usageError(u"--lang needs zh or en, not \"%1\""_s.arg(parser.value(languageOption)));
        language = *named;
    }
    UiLanguage::install(language);

    // Absolute: picking a drive changes the process's current directory.
    const QDir out(QDir(parser.value(outOption)).absolutePath());
    if (!QDir().mkpath(out.path()))
        return usageError(u"cannot create %1"_s.arg(out.path()));

    try {
        std::unique_ptr<FakePlatform> fake;
        if (parser.isSet(fixtureOption))
            fake = std::make_unique<FakePlatform>(FixtureLoader::loadFile(parser.value(fixtureOption)));
        const QJsonArray steps = parser.isSet(stepsOption) ? readSteps(parser.value(stepsOption))
                                                           : SnapshotSession::defaultSteps();
        SnapshotSession session(std::move(fake), out);
        session.run(steps);
    } catch (const FixtureError &error) {
        return usageError(QString::fromStdString(error.what()));
    } catch (const StepError &error) {
        return usageError(QString::fromStdString(error.what()));
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <chrono>

class Platform;
class TFormMain;

// Every fact the seven pages show, in page order, with what the pages hold but
// do not draw; as text for people or as JSON for tools. A source that fails or
// does not answer leaves its part out and the report says so; the rest stays.
class SystemReport
{
public:
    // How long the command line waits for one domain of the machine (the print
    // server, the drives, ...) before it reports that domain as missing.
    static constexpr std::chrono::milliseconds SourceTimeLimit{2000};

    // Facts as the window shows them now, plus what its pages hold but do not draw.
    static SystemReport fromWindow(const TFormMain &window);
    // Facts read straight from the platform, for the command line (no window, no display).
    // Each domain is asked on a thread of its own; one that has not answered within
    // the time limit is left running, so the platform must outlive the process's work.
    static SystemReport fromPlatform(Platform &platform, std::chrono::milliseconds timeLimit = SourceTimeLimit);

    // One line per fact, each the page's caption and the value as the page shows it;
    // control characters shown as their pictures (U+2400...), NUL characters left out.
    QString toText() const;
    // Numbers as numbers, sizes in bytes, uptime in seconds; every string escaped.
    QByteArray toJson() const;

    // The parts the report had to leave out, and why.
    QStringList missing() const;

    class Section;

private:
    SystemReport() = default;
    void add(const Section &section);

    QStringList m_lines;
    QJsonObject m_json;
};

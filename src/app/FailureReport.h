// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Where a failure that escapes a handler ends up: by default a critical
// message box with the failure's message, after which the program goes on.
class FailureReport
{
public:
    using Sink = std::function<void(const QString &message)>;

    FailureReport();
    explicit FailureReport(Sink sink);

    void report(const QString &message) const;

private:
    Sink m_sink;
};

#pragma once

#include <QByteArray>
#include <QString>

class Platform;
class TFormMain;

// Every fact the seven pages show, in page order, with what the pages hold but
// do not draw; as text for people or as JSON for tools.
class SystemReport
{
public:
    // Facts as the window shows them now, plus what its pages hold but do not draw.
    static SystemReport fromWindow(const TFormMain &window);
    // Facts read straight from the platform, for the command line (no window, no display).
    static SystemReport fromPlatform(Platform &platform);

    QString toText() const;
    QByteArray toJson() const;

private:
    QString m_text;
};

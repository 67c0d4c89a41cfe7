// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ShellSource;

// Page 6: the program's icon, title, version and two links.
class AboutPage : public QWidget
{
    Q_OBJECT

public:
    static const QString HomePageAddress;
    static const QString ContactAddress;
    // The version label's design text; start-up fills in the version.
    static const QString VersionCaption;

    AboutPage(ShellSource &shell, QWidget *parent);
};

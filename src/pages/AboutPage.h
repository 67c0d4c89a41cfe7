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

    AboutPage(ShellSource &shell, QWidget *parent);
};

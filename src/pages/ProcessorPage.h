#pragma once

#include <QWidget>

class CpuidSource;
class TImage;

// Page 0: a report on the processor, drawn once as red labels and black values.
class ProcessorPage : public QWidget
{
    Q_OBJECT

public:
    ProcessorPage(CpuidSource &cpu, QWidget *parent);

    // Draws the whole report from the top, in the window's font.
    void drawReport();

    // A register as four characters, lowest byte first; zero bytes stay NUL characters.
    static QString registerText(quint32 value);
    // Leaf 1's EAX, then leaf 3's EDX and ECX, as six groups of four hex digits.
    static QString serialText(quint32 signature, quint32 high, quint32 low);

private:
    void writeLine(const QString &label, const QString &value);
    void drawIdentification();
    void drawFeatures();
    void drawExtendedFunctions();

    CpuidSource &m_cpu;
    TImage *m_image;
    QFont m_reportFont;
    int m_linePosition = 0;
};

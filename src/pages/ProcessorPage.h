// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Wording.h"

#include <QWidget>

class CpuidSource;
class ProcessorSource;
class TImage;
struct ProcessorIdentity;

// Page 0: a report on the processor, drawn once as red labels and black values.
class ProcessorPage : public QWidget
{
    Q_OBJECT

public:
    ProcessorPage(CpuidSource &cpu, ProcessorSource &processor, QWidget *parent);

    // One line of the report: a red label followed by a black value, either may be empty.
    struct ReportLine
    {
        QString label;
        QString value;
    };

    // Draws the whole report from the top, in the window's font.
    void drawReport();
    bool hasCpuid() const;
    const CpuidSource &cpu() const { return m_cpu; }
    // The lines last drawn; none before the first drawing.
    const QList<ReportLine> &lines() const { return m_lines; }
    // The report's lines as the processor answers now: the identification
    // instruction's report, or where there is none the processor's identity.
    static QList<ReportLine> reportLines(const CpuidSource &cpu, const ProcessorSource &processor,
                                         const Wording &words = Wording::shown());
    // The identification instruction's report alone.
    static QList<ReportLine> reportLines(const CpuidSource &cpu, const Wording &words = Wording::shown());
    // The page's report as it would be drawn in a language.
    QList<ReportLine> reportLines(const Wording &words) const;
    // Whether the report is the processor's identity rather than the identification instruction's.
    static bool reportsIdentity(bool hasCpuid, const ProcessorIdentity &identity);
    ProcessorIdentity identity() const;

    // A register as four characters, lowest byte first; zero bytes stay NUL characters.
    static QString registerText(quint32 value);
    // Leaf 1's EAX, then leaf 3's EDX and ECX, as six groups of four hex digits.
    static QString serialText(quint32 signature, quint32 high, quint32 low);

private:
    void writeLine(const ReportLine &line);
    static void addIdentification(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words);
    static void addFeatures(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words);
    static void addExtendedFunctions(const CpuidSource &cpu, QList<ReportLine> &lines, const Wording &words);

    CpuidSource &m_cpu;
    ProcessorSource &m_processor;
    TImage *m_image;
    QFont m_reportFont;
    int m_linePosition = 0;
    QList<ReportLine> m_lines;
};

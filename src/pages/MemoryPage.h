// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MemorySource.h"

#include <QWidget>

#include <optional>

class QProgressBar;
class TLabel;
class TPaintBox;

// Page 1: memory figures, the load bar and a scrolling graph of the share in use.
class MemoryPage : public QWidget
{
    Q_OBJECT

public:
    MemoryPage(MemorySource &memory, QWidget *parent);

    // The memory-status tick: four sizes, the load text and the bar.
    void refreshFigures();
    // The graph tick: one segment of each line at the drawing column.
    void extendGraph();
    // Back to the left edge with an empty graph, on every change of page.
    void restartGraph();
    // The physical line is drawn white, the page-file line red.
    void setPenColors();

    int graphColumn() const { return m_graphColumn; }
    // The figures the labels show; nullopt before the first reading.
    const std::optional<MemoryStatus> &shownStatus() const { return m_shownStatus; }
    // The load label's text: "37 %".
    static QString loadText(quint32 memoryLoad);

    // A sweep draws the columns 0 to 309; the last three of the 313 are never drawn.
    static constexpr int SweepWidth = 310;

private:
    void moveToBottomLeft();
    // Tells assistive tools the shares the graph shows now: "物理内存 37 %, 虚拟内存 21 %".
    void describeGraph(const MemoryStatus &status);

    MemorySource &m_memory;
    TLabel *m_totalPhys;
    TLabel *m_availPhys;
    TLabel *m_totalPageFile;
    TLabel *m_availPageFile;
    TLabel *m_load;
    QProgressBar *m_loadBar;
    TPaintBox *m_physicalLine;
    TPaintBox *m_pageFileLine;
    int m_graphColumn = 0;
    std::optional<MemoryStatus> m_shownStatus;
};

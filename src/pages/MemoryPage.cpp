// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryPage.h"

#include "MegabyteText.h"
#include "controls/TGroupBox.h"
#include "controls/drawing/TPaintBox.h"
#include "controls/drawing/TShape.h"
#include "controls/text/TLabel.h"
#include "platform/Failure.h"
#include "platform/MemorySource.h"

#include <QProgressBar>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The graph's row for a share available: 0 (the top edge) when nothing is
// available, the surface's height when all is. Throws where there is no row.
int graphRow(quint64 available, quint64 total, int height)
{
    if (total == 0)
        throw Failure(u"no share of a total of 0"_s);
    const double row = std::trunc(double(available) / double(total) * height);
    if (row > std::numeric_limits<int>::max())
        throw Failure(u"graph row %1 out of range"_s.arg(row));
    return int(row);
}

// The share of a total in use, in whole per cent; 0 of nothing.
quint64 percentInUse(quint64 available, quint64 total)
{
    if (total == 0)
        return 0;
    const quint64 used = total - qMin(available, total);
    if (used <= std::numeric_limits<quint64>::max() / 100)
        return used * 100 / total;
    return quint64(double(used) / double(total) * 100);
}

} // namespace

MemoryPage::MemoryPage(MemorySource &memory, QWidget *parent)
    : QWidget(parent)
    , m_memory(memory)
{
    auto *sizes = new TGroupBox(u"GroupBox1"_s, QRect(8, 16, 345, 89), QString(), this);
    TLabel::captionLabel(u"Label1"_s, QRect(16, 16, 110, 14), u"Total Physical Memory:"_s, sizes);
    m_totalPhys = new TLabel(u"Label2"_s, QRect(152, 16, 6, 14), u"0"_s, sizes);
    TLabel::captionLabel(u"Label3"_s, QRect(16, 32, 127, 14), u"Availible Physical Memory:"_s, sizes);
    m_availPhys = new TLabel(u"Label4"_s, QRect(152, 32, 6, 14), u"0"_s, sizes);
    TLabel::captionLabel(u"Label5"_s, QRect(16, 48, 113, 14), u"Total Page File Memory:"_s, sizes);
    m_totalPageFile = new TLabel(u"Label6"_s, QRect(152, 48, 6, 14), u"0"_s, sizes);
    TLabel::captionLabel(u"Label7"_s, QRect(16, 64, 130, 14), u"Availible Page File Memory:"_s, sizes);
    m_availPageFile = new TLabel(u"Label8"_s, QRect(152, 64, 6, 14), u"0"_s, sizes);

    auto *load = new TGroupBox(u"GroupBox2"_s, QRect(8, 112, 345, 73), QString(), this);
    TLabel::captionLabel(u"Label9"_s, QRect(16, 16, 80, 14), u"Loaded Memory:"_s, load);
    m_load = new TLabel(u"Label10"_s, QRect(104, 16, 19, 14), u"0 %"_s, load);
    m_loadBar = new QProgressBar(load);
    m_loadBar->setObjectName(u"ProgressBar1"_s);
    m_loadBar->setGeometry(48, 40, 241, 17);
    m_loadBar->setRange(0, 100);
    m_loadBar->setValue(0);
    m_loadBar->setTextVisible(false);

    // The graph: black background, grey grid over it, then the two lines on top.
    auto *graph = new TGroupBox(u"GroupBox3"_s, QRect(8, 192, 345, 145), QString(), this);
    const QRect plot(16, 24, 313, 89);
    new TShape(u"Shape2"_s, plot, Qt::black, Qt::SolidPattern, graph);
    new TShape(u"Shape1"_s, plot, QColor(128, 128, 128), Qt::CrossPattern, graph);
    m_physicalLine = new TPaintBox(u"PaintBox1"_s, plot, graph);
    m_pageFileLine = new TPaintBox(u"PaintBox2"_s, plot, graph);
    new TShape(u"Shape3"_s, QRect(16, 120, 9, 9), Qt::white, Qt::SolidPattern, graph);
    new TShape(u"Shape4"_s, QRect(144, 120, 9, 9), QColor(255, 0, 0), Qt::SolidPattern, graph);
    new TLabel(u"Label11"_s, QRect(32, 118, 81, 14), u"Physical Memory"_s, graph);
    new TLabel(u"Label12"_s, QRect(160, 118, 84, 14), u"Page File Memory"_s, graph);
}

void MemoryPage::setPenColors()
{
    m_physicalLine->setPenColor(Qt::white);
    m_pageFileLine->setPenColor(QColor(255, 0, 0));
}

void MemoryPage::refreshFigures()
{
    const MemoryStatus status = m_memory.globalMemoryStatus();
    // The texts follow from the figures alone: the same figures need no new texts.
    if (status == m_shownStatus)
        return;
    m_totalPhys->setCaption(megabyteText(status.totalPhys));
    m_availPhys->setCaption(megabyteText(status.availPhys));
    m_totalPageFile->setCaption(megabyteText(status.totalPageFile));
    m_availPageFile->setCaption(megabyteText(status.availPageFile));
    m_load->setCaption(loadText(status.memoryLoad));
    // A bar takes no position beyond its range; it stands full there.
    m_loadBar->setValue(int(qMin(status.memoryLoad, quint32(m_loadBar->maximum()))));
    m_shownStatus = status;
}

QString MemoryPage::loadText(quint32 memoryLoad)
{
    return QString::number(memoryLoad) + u" %"_s;
}

void MemoryPage::extendGraph()
{
    const MemoryStatus status = m_memory.globalMemoryStatus();
    describeGraph(status);
    m_physicalLine->lineTo({m_graphColumn, graphRow(status.availPhys, status.totalPhys, m_physicalLine->height())});
    m_pageFileLine->lineTo(
        {m_graphColumn, graphRow(status.availPageFile, status.totalPageFile, m_pageFileLine->height())});
    if (++m_graphColumn < SweepWidth)
        return;
    m_graphColumn = 0;
    m_physicalLine->clear();
    m_pageFileLine->clear();
    window()->repaint();
    moveToBottomLeft();
}

void MemoryPage::restartGraph()
{
    m_graphColumn = 0;
    // Each clear repaints at once, so no paint of the boxes is left pending after it.
    m_physicalLine->clear();
    m_pageFileLine->clear();
    moveToBottomLeft();
}

void MemoryPage::moveToBottomLeft()
{
    m_physicalLine->moveTo({0, m_physicalLine->height()});
    m_pageFileLine->moveTo({0, m_pageFileLine->height()});
}

void MemoryPage::describeGraph(const MemoryStatus &status)
{
    const QString description = tr("物理内存 %1 %, 虚拟内存 %2 %")
                                    .arg(percentInUse(status.availPhys, status.totalPhys))
                                    .arg(percentInUse(status.availPageFile, status.totalPageFile));
    if (description == m_physicalLine->accessibleDescription())
        return;
    for (QWidget *graph : {m_physicalLine->parentWidget(), static_cast<QWidget *>(m_physicalLine),
                           static_cast<QWidget *>(m_pageFileLine)})
        graph->setAccessibleDescription(description);
}

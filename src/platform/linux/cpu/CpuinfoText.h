// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

// The text of /proc/cpuinfo: blocks of "key : value" lines parted by blank
// lines. Each architecture writes keys of its own, and some in more than one
// spelling over the years ("Model Name" and "model name"), so keys are
// compared without regard to case.
class CpuinfoText
{
public:
    struct Field
    {
        QString key;
        QString value;
    };
    using Block = QList<Field>;

    // Lines without a colon are left out; bytes that are not UTF-8 read as U+FFFD.
    static CpuinfoText parse(QByteArrayView text);

    const QList<Block> &blocks() const { return m_blocks; }
    // The blocks that describe one processor each: those with a numbered "processor" line.
    QList<Block> processors() const;

    // The value of key in block; empty where the block has no such line.
    static QString value(const Block &block, QStringView key);
    static bool has(const Block &block, QStringView key);
    // The first value of key anywhere in the text.
    QString first(QStringView key) const;

private:
    QList<Block> m_blocks;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>

// A file kept open and read again from its start at each read: the kernel
// makes /proc files afresh on every read, and reusing the descriptor saves
// an open and a close per query.
class RereadFile
{
public:
    explicit RereadFile(const QString &path);

    // The whole file as it reads now; valid until the next read. Throws
    // Failure when the file cannot be opened or read.
    QByteArrayView read();

    // The /proc files read this way are a few kilobytes; anything far larger is not one of them.
    static constexpr qsizetype MaximumSize = 1 << 20;

private:
    QFile m_file;
    QByteArray m_buffer;
};

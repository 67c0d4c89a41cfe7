// SPDX-License-Identifier: GPL-3.0-or-later
#include "RereadFile.h"

#include "platform/Failure.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

using namespace Qt::StringLiterals;

RereadFile::RereadFile(const QString &path)
    : m_file(path)
    , m_buffer(4096, Qt::Uninitialized)
{
}

QByteArrayView RereadFile::read()
{
    // Opened at the first read, so a file missing at start-up can still come later.
    if (!m_file.isOpen() && !m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw Failure(u"cannot open %1: %2"_s.arg(m_file.fileName(), m_file.errorString()));
    for (;;) {
        // One read from offset 0: a second one at an offset would make a /proc file twice.
        const ssize_t length = ::pread(m_file.handle(), m_buffer.data(), size_t(m_buffer.size()), 0);
        if (length < 0) {
            if (errno == EINTR)
                continue;
            throw Failure(u"cannot read %1: %2"_s.arg(m_file.fileName(), QString::fromLocal8Bit(std::strerror(errno))));
        }
        if (length < m_buffer.size())
            return QByteArrayView(m_buffer.constData(), length);
        if (m_buffer.size() >= MaximumSize)
            throw Failure(u"%1 is larger than %2 bytes"_s.arg(m_file.fileName()).arg(MaximumSize));
        m_buffer.resize(m_buffer.size() * 2);
    }
}

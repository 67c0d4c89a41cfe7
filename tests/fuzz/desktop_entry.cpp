// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/software/DesktopEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The text written with the format's string escapes, as a desktop file editor saves it.
QByteArray escaped(QByteArrayView text)
{
    QByteArray result;
    for (const char c : text) {
        switch (c) {
        case ' ':
            result += "\\s";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\\':
            result += "\\\\";
            break;
        default:
            result += c;
        }
    }
    return result;
}

// Any name, escaped, reads back as itself.
void checkEscapesRoundTrip(QByteArrayView name)
{
    // Vertical tab and form feed have no escape: a value cannot end in them.
    if (name.isEmpty() || name.contains('\v') || name.contains('\f'))
        return;
    const QByteArray file = "[Desktop Entry]\nType=Application\nName=" + escaped(name) + "\n";
    require(DesktopEntry::name(file) == QString::fromUtf8(name));
}

} // namespace

// A .desktop file of an installed application.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray contents(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QString> name = DesktopEntry::name(contents))
        require(!name->isEmpty()); // an empty name must read as none
    checkEscapesRoundTrip(QByteArrayView(contents).first(qMin<qsizetype>(contents.size(), 64)));
    return 0;
}

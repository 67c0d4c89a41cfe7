// SPDX-License-Identifier: GPL-3.0-or-later
#include "PpdDefaults.h"

#include "platform/PrinterSource.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The value of a main-keyword line such as "*DefaultResolution: 600dpi".
std::optional<QByteArray> valueOf(const QByteArray &line, QByteArrayView keyword)
{
    if (!line.startsWith(keyword))
        return std::nullopt;
    return line.sliced(keyword.size()).trimmed();
}

// Colour models are named by the drivers (RGB, CMYK, Gray, KGray, Black...);
// the grey and black ones print monochrome.
qint16 colorModeOf(const QByteArray &colorModel)
{
    const QByteArray model = colorModel.toLower();
    for (const char *monochrome : {"gray", "grey", "black", "mono"})
        if (model.contains(monochrome))
            return DeviceMode::Monochrome;
    return DeviceMode::Color;
}

} // namespace

PpdDefaults PpdDefaults::parse(QByteArrayView ppd)
{
    PpdDefaults defaults;
    for (const QByteArray &line : ppd.toByteArray().split('\n')) {
        if (!defaults.m_colorMode)
            if (const std::optional<QByteArray> model = valueOf(line, "*DefaultColorModel:");
                model && !model->isEmpty())
                defaults.m_colorMode = colorModeOf(*model);
        if (!defaults.m_resolution)
            if (const std::optional<QByteArray> resolution = valueOf(line, "*DefaultResolution:"))
                defaults.m_resolution = parseResolution(*resolution);
    }
    return defaults;
}

std::optional<QSize> PpdDefaults::parseResolution(QByteArrayView text)
{
    // Anchored to the whole text: "$" alone would also take a text ending in a newline. Never
    // destroyed: the printers' thread may still be reading a PPD while the process exits.
    static const QRegularExpression &pattern = *new QRegularExpression(
        QRegularExpression::anchoredPattern(u"([1-9][0-9]{0,5})(?:x([1-9][0-9]{0,5}))?dpi"_s));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    if (!match.hasMatch())
        return std::nullopt;
    const int x = match.captured(1).toInt();
    return QSize(x, match.hasCaptured(2) ? match.captured(2).toInt() : x);
}

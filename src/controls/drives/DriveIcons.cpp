// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveIcons.h"

#include "controls/drawing/ScreenImage.h"

#include <QBitmap>

namespace {

constexpr int IconWidth = 16;
constexpr int IconHeight = 11;

// The 16 standard colours, each with the character that paints it below.
struct PaletteEntry
{
    char key;
    QRgb color;
};

constexpr PaletteEntry Palette[] = {
    {'k', qRgb(0, 0, 0)},       {'m', qRgb(128, 0, 0)},   {'t', qRgb(0, 128, 0)},   {'.', qRgb(128, 128, 0)},
    {'n', qRgb(0, 0, 128)},     {'p', qRgb(128, 0, 128)}, {'e', qRgb(0, 128, 128)}, {'s', qRgb(192, 192, 192)},
    {'g', qRgb(128, 128, 128)}, {'r', qRgb(255, 0, 0)},   {'G', qRgb(0, 255, 0)},   {'y', qRgb(255, 255, 0)},
    {'b', qRgb(0, 0, 255)},     {'f', qRgb(255, 0, 255)}, {'c', qRgb(0, 255, 255)}, {'w', qRgb(255, 255, 255)},
};

using PixelRows = std::array<const char *, IconHeight>;

// Olive ('.') is the transparent colour of every picture.
constexpr PixelRows Pictures[DriveIcons::KindCount] = {
    // FLOPPY: a drive bay with its disk slot and a green light.
    PixelRows{"................", "................", "..kkkkkkkkkkkk..", ".kwwwwwwwwwwwwsk", ".kwssssssssssssk",
              ".kwskkkkkkkkgssk", ".kwsssssssssssGk", ".kssssssssssssgk", ".kgggggggggggggk", "..kkkkkkkkkkkkk.",
              "................"},
    // HARD: a closed drive with its light.
    PixelRows{"................", "................", "..kkkkkkkkkkkk..", ".kwwwwwwwwwwwwsk", ".kwssssssssssssk",
              ".kwssssssssssssk", ".kwsssssssssGGsk", ".kssssssssssssgk", ".kgggggggggggggk", "..kkkkkkkkkkkkk.",
              "................"},
    // NETWORK: the drive on a cable.
    PixelRows{"..kkkkkkkkkkkk..", ".kwwwwwwwwwwwwsk", ".kwssssssssssssk", ".kwsssssssssGGsk", ".kssssssssssssgk",
              ".kgggggggggggggk", "..kkkkkkkkkkkkk.", ".......kk.......", ".kkkkkkkkkkkkkk.", ".......kk.......",
              "................"},
    // CDROM: a disc with its centre hole.
    PixelRows{".....kkkkkk.....", "...kkwwwwsskk...", "..kwwwwcwsssgk..", ".kwwwcwwwwsssgk.", ".kwwcwwkkwwsssk.",
              ".kwwwwwk.kwwwsk.", ".ksswwwkkwwwcsk.", ".kgssswwwwwcwgk.", "..kgsssswwwwgk..", "...kkgggsggkk...",
              ".....kkkkkk....."},
    // RAM: a memory module with its chips and contacts.
    PixelRows{"................", "................", "tttttttttttttttt", "tkkttkkttkkttkkt", "tkkttkkttkkttkkt",
              "tkkttkkttkkttkkt", "tttttttttttttttt", "tytytytytytytytt", "................", "................",
              "................"},
};

int paletteIndex(char key)
{
    for (int i = 0; i < int(std::size(Palette)); ++i)
        if (Palette[i].key == key)
            return i;
    qFatal("drive picture: no colour '%c'", key);
}

QPixmap withoutTransparentColor(const QImage &picture)
{
    const QImage colors = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb transparent = colors.pixel(0, colors.height() - 1);
    QPixmap pixmap = QPixmap::fromImage(colors);
    pixmap.setMask(QBitmap::fromImage(colors.createMaskFromColor(transparent, Qt::MaskInColor)));
    return pixmap;
}

} // namespace

DriveIcons::DriveIcons()
{
    for (int kind = 0; kind < KindCount; ++kind)
        m_pixmaps.at(kind) = withoutTransparentColor(picture(Kind(kind)));
}

QImage DriveIcons::picture(Kind kind)
{
    QImage image(IconWidth, IconHeight, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (const PaletteEntry &entry : Palette)
        colors.append(entry.color);
    image.setColorTable(colors);
    const PixelRows &rows = Pictures[kind];
    for (int y = 0; y < IconHeight; ++y)
        for (int x = 0; x < IconWidth; ++x)
            image.setPixel(x, y, uint(paletteIndex(rows.at(y)[x])));
    return image;
}

QPixmap DriveIcons::atRatio(const QPixmap &icon, qreal ratio)
{
    if (icon.devicePixelRatio() == ratio)
        return icon;
    const QSize size = ScreenImage::pixelSize(icon.deviceIndependentSize().toSize(), ratio);
    QPixmap sharp = icon.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    sharp.setDevicePixelRatio(ratio);
    return sharp;
}

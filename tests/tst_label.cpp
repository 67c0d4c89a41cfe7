// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowActions.h"
#include "controls/TGroupBox.h"
#include "controls/text/FormFonts.h"
#include "controls/text/TLabel.h"
#include "controls/text/ToolTipText.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

QImage blank(QSize size, qreal scale)
{
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

// Where the image is inked: the pixels clearly darker than the white behind.
QList<QPoint> ink(const QImage &image)
{
    QList<QPoint> inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 192)
                inked.append(QPoint(x, y));
    return inked;
}

// The label as it draws itself, on white, with room below it to show what it would cut off.
QImage drawnLabel(TLabel &label, qreal scale)
{
    QImage image = blank(label.size() + QSize(0, 10), scale);
    label.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

} // namespace

class tst_Label : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void descendersAndUnderscoresStayInside_data();
    void descendersAndUnderscoresStayInside();
    void longValueEndsAtTheFrameAndReadsWhole();
    void tabSelectsTheWholeValueAndKeepsItWhole();
};

void tst_Label::descendersAndUnderscoresStayInside_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("scale");
    for (const qreal scale : {1.0, 2.0}) {
        QTest::addRow("gy_pq at %g", scale) << u"gy_pq"_s << scale;
        // A Chinese fallback font moves the baseline down.
        QTest::addRow("printer name at %g", scale) << u"Office_Colour_Laser: 彩色"_s << scale;
    }
}

void tst_Label::descendersAndUnderscoresStayInside()
{
    QFETCH(QString, text);
    QFETCH(qreal, scale);
    QWidget page;
    page.setFont(FormFonts::windowFont());
    TLabel label(u"Value"_s, QRect(8, 168, 58, 14), text, &page);
    // The same text where the label draws it, with nothing to bound it.
    QImage free = blank(label.size() + QSize(0, 10), scale);
    {
        QPainter painter(&free);
        painter.setFont(label.font());
        painter.drawText(QRect(QPoint(0, 0), free.deviceIndependentSize().toSize()), Qt::AlignTop | Qt::TextSingleLine,
                         label.shownText());
    }
    const QList<QPoint> freeInk = ink(free);
    QVERIFY(!freeInk.isEmpty());
    for (const QPoint &pixel : freeInk)
        QVERIFY2(pixel.y() < label.height() * scale, qPrintable(u"ink below the label at row %1"_s.arg(pixel.y())));
    QCOMPARE(ink(drawnLabel(label, scale)), freeInk);
}

void tst_Label::longValueEndsAtTheFrameAndReadsWhole()
{
    QWidget page;
    page.setFont(FormFonts::windowFont());
    page.resize(361, 327);
    TGroupBox box(u"GroupBox5"_s, QRect(8, 24, 345, 153), u"HDD"_s, &page);
    TLabel fits(u"Label14"_s, QRect(128, 72, 58, 14), u"Label =    VolSer = 0A1B2C3D"_s, &box);
    QVERIFY(!fits.isElided());
    QCOMPARE(fits.toolTipText(), QString());

    const QString whole = u"Label = gy_pq_Backup_WWW   VolSer = 0A1B2C3D"_s;
    TLabel cut(u"Label16"_s, QRect(128, 56, 58, 14), whole, &box);
    cut.setSelectable(true);
    QVERIFY(cut.isElided());
    QCOMPARE(cut.width(), qCeil(QFontMetricsF(cut.font()).horizontalAdvance(whole))); // sized to it all
    QCOMPARE(cut.toolTipText(), whole);
    page.show();
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), cut.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&cut, &hover);
    QCOMPARE(ToolTipText::plainText(QToolTip::text()), whole);
    QCOMPARE(WindowActions::valueText(&cut), whole);
    // Inked up to the frame's inside, "…" last, and nothing beyond.
    const int room = box.contentsRect().right() + 1 - cut.x();
    int rightmost = -1;
    for (const QPoint &pixel : ink(drawnLabel(cut, 1)))
        rightmost = std::max(rightmost, pixel.x());
    QVERIFY2(rightmost < room && rightmost >= room - 12,
             qPrintable(u"ink ends at %1 of %2"_s.arg(rightmost).arg(room)));
}

void tst_Label::tabSelectsTheWholeValueAndKeepsItWhole()
{
    QWidget page;
    page.setFont(FormFonts::windowFont());
    TLabel value(u"Label31"_s, QRect(16, 40, 58, 14), u"运行时间: 0 天 0 小时 0 分 9 秒"_s, &page);
    value.setSelectable(true);
    QVERIFY(value.focusPolicy() & Qt::TabFocus);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    value.clearFocus(); // the window gave it the focus on showing
    value.setFocus(Qt::TabFocusReason);
    QCOMPARE(value.selectedText(), value.caption());
    value.setCaption(u"运行时间: 0 天 0 小时 0 分 10 秒"_s);
    QCOMPARE(value.selectedText(), value.caption());
    // A part the user chose stays that part.
    value.setSelection(0, 5);
    value.setCaption(u"运行时间: 0 天 0 小时 0 分 11 秒"_s);
    QCOMPARE(value.selectedText(), u"运行时间:"_s);
}

QTEST_MAIN(tst_Label)
#include "tst_label.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/printers/CupsPrinterFacts.h"
#include "platform/linux/printers/PpdDefaults.h"

#include <QTest>

#include "platform/linux/printers/CupsLibrary.h"

#include <cups/cups.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct DeleteIpp
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};

// One printer's attributes as the scheduler answers them; empty texts and
// zero numbers leave an attribute out.
std::unique_ptr<ipp_t, DeleteIpp> attributes(const char *colorMode, int colorSupported, int printerType,
                                             ipp_res_t units = IPP_RES_PER_INCH, int x = 0, int y = 0)
{
    std::unique_ptr<ipp_t, DeleteIpp> ipp(ippNew());
    if (*colorMode)
        ippAddString(ipp.get(), IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "print-color-mode-default", nullptr, colorMode);
    if (colorSupported >= 0)
        ippAddBoolean(ipp.get(), IPP_TAG_PRINTER, "color-supported", char(colorSupported));
    if (printerType)
        ippAddInteger(ipp.get(), IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-type", printerType);
    if (x)
        ippAddResolution(ipp.get(), IPP_TAG_PRINTER, "printer-resolution-default", units, x, y);
    return ipp;
}

} // namespace

class tst_CupsPrinterFacts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceMode_data();
    void deviceMode();
    void resolution_data();
    void resolution();
    void ppdFillsOnlyWhatIsMissing();
};

void tst_CupsPrinterFacts::deviceMode_data()
{
    QTest::addColumn<QByteArray>("colorMode");
    QTest::addColumn<int>("colorSupported"); // -1: not stated
    QTest::addColumn<int>("printerType");
    QTest::addColumn<int>("dmColor");
    QTest::addColumn<bool>("colorFlag");
    QTest::newRow("colour") << QByteArray("color") << 1 << 0 << 2 << true;
    QTest::newRow("monochrome default, colour printer") << QByteArray("monochrome") << 1 << 0 << 1 << true;
    QTest::newRow("monochrome printer") << QByteArray("monochrome") << 0 << 0 << 1 << false;
    QTest::newRow("auto on a colour printer") << QByteArray("auto") << 1 << 0 << 2 << true;
    QTest::newRow("auto on a monochrome printer") << QByteArray("auto") << 0 << 0 << 1 << false;
    QTest::newRow("bi-level") << QByteArray("bi-level") << 1 << 0 << 1 << true;
    QTest::newRow("colour bit of the printer type")
        << QByteArray("color") << -1 << int(CUPS_PRINTER_COLOR) << 2 << true;
    QTest::newRow("printer type without it") << QByteArray("color") << -1 << int(CUPS_PRINTER_BW) << 2 << false;
    QTest::newRow("nothing stated") << QByteArray() << -1 << 0 << 0 << false;
}

void tst_CupsPrinterFacts::deviceMode()
{
    QFETCH(QByteArray, colorMode);
    QFETCH(int, colorSupported);
    QFETCH(int, printerType);
    QFETCH(int, dmColor);
    QFETCH(bool, colorFlag);
    const auto ipp = attributes(colorMode.constData(), colorSupported, printerType);
    const DeviceMode mode = CupsPrinterFacts::fromAttributes(*CupsLibrary::instance(), ipp.get()).deviceMode();
    QCOMPARE(int(mode.dmColor), dmColor);
    QCOMPARE(mode.dmFields, colorFlag ? DeviceMode::ColorField : 0u);
}

void tst_CupsPrinterFacts::resolution_data()
{
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QSize>("dpi"); // invalid: none
    QTest::newRow("per inch") << int(IPP_RES_PER_INCH) << 1200 << 600 << QSize(1200, 600);
    QTest::newRow("per centimetre") << int(IPP_RES_PER_CM) << 118 << 236 << QSize(300, 599);
    QTest::newRow("not stated") << int(IPP_RES_PER_INCH) << 0 << 0 << QSize();
    QTest::newRow("negative") << int(IPP_RES_PER_INCH) << 600 << -600 << QSize();
    QTest::newRow("beyond any printer") << int(IPP_RES_PER_CM) << 2147483647 << 600 << QSize();
}

void tst_CupsPrinterFacts::resolution()
{
    QFETCH(int, units);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QSize, dpi);
    const auto ipp = attributes("color", 1, 0, ipp_res_t(units), x, y);
    const CupsPrinterFacts facts = CupsPrinterFacts::fromAttributes(*CupsLibrary::instance(), ipp.get());
    QCOMPARE(facts.hasResolution(), dpi.isValid());
    QCOMPARE(facts.resolution().value_or(QSize()), dpi);
}

void tst_CupsPrinterFacts::ppdFillsOnlyWhatIsMissing()
{
    const PpdDefaults ppd = PpdDefaults::parse(
        "*PPD-Adobe: \"4.3\"\n*DefaultColorModel: Gray\n*DefaultResolution: 300dpi\n");

    const auto silent = attributes("", 1, 0);
    CupsPrinterFacts completed = CupsPrinterFacts::fromAttributes(*CupsLibrary::instance(), silent.get());
    QVERIFY(!completed.hasColorMode());
    completed.complete(ppd);
    QCOMPARE(completed.deviceMode().dmColor, DeviceMode::Monochrome);
    QCOMPARE(completed.resolution().value_or(QSize()), QSize(300, 300));

    const auto stated = attributes("color", 1, 0, IPP_RES_PER_INCH, 600, 600);
    CupsPrinterFacts kept = CupsPrinterFacts::fromAttributes(*CupsLibrary::instance(), stated.get());
    kept.complete(ppd);
    QCOMPARE(kept.deviceMode().dmColor, DeviceMode::Color);
    QCOMPARE(kept.resolution().value_or(QSize()), QSize(600, 600));
}

QTEST_MAIN(tst_CupsPrinterFacts)
#include "tst_cupsprinterfacts.moc"

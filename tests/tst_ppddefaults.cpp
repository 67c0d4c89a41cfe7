// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PrinterSource.h"
#include "platform/linux/printers/PpdDefaults.h"
#include "support/TestData.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray ppdFile(const QString &name)
{
    return testData(u"printers/"_s + name);
}

} // namespace

class tst_PpdDefaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsOfRealFiles_data();
    void defaultsOfRealFiles();
    void colourModels_data();
    void colourModels();
    void resolutions_data();
    void resolutions();
    void resolutionIsTheWholeText();
};

void tst_PpdDefaults::defaultsOfRealFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<int>("colorMode"); // 0: none stated
    QTest::addColumn<QSize>("resolution");
    for (const bool crlf : {false, true}) {
        const char *const ending = crlf ? " (CR LF)" : "";
        QTest::addRow("colour 600%s", ending)
            << u"colour-600.ppd"_s << crlf << int(DeviceMode::Color) << QSize(600, 600);
        QTest::addRow("grey 600%s", ending)
            << u"colour-600-grey.ppd"_s << crlf << int(DeviceMode::Monochrome) << QSize(600, 600);
        QTest::addRow("colour 1200x600%s", ending)
            << u"colour-1200x600.ppd"_s << crlf << int(DeviceMode::Color) << QSize(1200, 600);
        QTest::addRow("mono 300%s", ending) << u"mono-300.ppd"_s << crlf << 0 << QSize(300, 300);
    }
}

void tst_PpdDefaults::defaultsOfRealFiles()
{
    QFETCH(QString, file);
    QFETCH(bool, crlf);
    QFETCH(int, colorMode);
    QFETCH(QSize, resolution);
    QByteArray ppd = ppdFile(file);
    if (crlf)
        ppd.replace("\n", "\r\n");
    const PpdDefaults defaults = PpdDefaults::parse(ppd);
    QCOMPARE(int(defaults.colorMode().value_or(0)), colorMode);
    QCOMPARE(defaults.resolution().value_or(QSize()), resolution);
}

void tst_PpdDefaults::colourModels_data()
{
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<int>("colorMode");
    for (const char *colour : {"RGB", "CMYK", "KCMY", "CMY", "Color", "RGBW"})
        QTest::newRow(colour) << QByteArray(colour) << int(DeviceMode::Color);
    for (const char *mono : {"Gray", "KGray", "Grayscale", "Grey", "Black", "Monochrome", "gray16"})
        QTest::newRow(mono) << QByteArray(mono) << int(DeviceMode::Monochrome);
}

void tst_PpdDefaults::colourModels()
{
    QFETCH(QByteArray, model);
    QFETCH(int, colorMode);
    const PpdDefaults defaults = PpdDefaults::parse("*PPD-Adobe: \"4.3\"\n*DefaultColorModel: " + model + "\n");
    QCOMPARE(int(defaults.colorMode().value_or(0)), colorMode);
}

void tst_PpdDefaults::resolutions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QSize>("resolution"); // invalid: none
    QTest::newRow("square") << QByteArray("600dpi") << QSize(600, 600);
    QTest::newRow("across and down") << QByteArray("1200x600dpi") << QSize(1200, 600);
    QTest::newRow("no unit") << QByteArray("600") << QSize();
    QTest::newRow("per centimetre") << QByteArray("236dpcm") << QSize();
    QTest::newRow("zero") << QByteArray("0dpi") << QSize();
    QTest::newRow("zero down") << QByteArray("600x0dpi") << QSize();
    QTest::newRow("negative") << QByteArray("-600dpi") << QSize();
    QTest::newRow("too large") << QByteArray("99999999999dpi") << QSize();
    QTest::newRow("empty") << QByteArray() << QSize();
}

void tst_PpdDefaults::resolutions()
{
    QFETCH(QByteArray, text);
    QFETCH(QSize, resolution);
    const std::optional<QSize> parsed = PpdDefaults::parseResolution(text);
    QCOMPARE(parsed.value_or(QSize()), resolution);
    const PpdDefaults defaults = PpdDefaults::parse("*PPD-Adobe: \"4.3\"\n*DefaultResolution: " + text + "\n");
    QCOMPARE(defaults.resolution().value_or(QSize()), resolution);
}

// Found by fuzzing: a newline after the unit was taken as part of the resolution.
void tst_PpdDefaults::resolutionIsTheWholeText()
{
    QCOMPARE(PpdDefaults::parseResolution("600dpi\n"), std::nullopt);
    QCOMPARE(PpdDefaults::parseResolution("1200x600dpi\n\n"), std::nullopt);
}

QTEST_MAIN(tst_PpdDefaults)
#include "tst_ppddefaults.moc"

#include "pages/UPub_Version.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_UPub_Version : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replacesEveryPlaceholder();
    void replacesEveryPlaceholder_data();
};

void tst_UPub_Version::replacesEveryPlaceholder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no placeholder") << u"Pelzora (Ver)"_s << u"2.5"_s << u"Pelzora (Ver)"_s;
    QTest::newRow("empty text") << QString() << u"2.5"_s << QString();
    QTest::newRow("form caption") << u"(Ver $V$)"_s << u"2.5"_s << u"(Ver 2.5)"_s;
    QTest::newRow("lower-case v") << u"(Ver $v$)"_s << u"2.5"_s << u"(Ver 2.5)"_s;
    QTest::newRow("two placeholders") << u"$V$ and $v$"_s << u"2.5"_s << u"2.5 and 2.5"_s;
    QTest::newRow("adjacent placeholders") << u"$V$$V$"_s << u"1"_s << u"11"_s;
    QTest::newRow("letters around keep their case") << u"vER $V$ Ver"_s << u"2.5"_s << u"vER 2.5 Ver"_s;
    QTest::newRow("incomplete placeholder") << u"$V $V$ V$"_s << u"2.5"_s << u"$V 2.5 V$"_s;
    QTest::newRow("version holding the placeholder") << u"a $V$ b $V$"_s << u"x$V$y"_s << u"a x$V$y b x$V$y"_s;
    QTest::newRow("version completing a placeholder") << u"$V$V$"_s << u"$"_s << u"$V$"_s;
    QTest::newRow("empty version") << u"(Ver $V$)"_s << QString() << u"(Ver )"_s;
}

void tst_UPub_Version::replacesEveryPlaceholder()
{
    QFETCH(QString, text);
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceVersionPlaceholder(text, version), expected);
}

QTEST_APPLESS_MAIN(tst_UPub_Version)
#include "tst_upub_version.moc"

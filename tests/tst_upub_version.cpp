// SPDX-License-Identifier: GPL-3.0-or-later
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
    QTest::newRow("no placeholder") << u"vER (Ver $V)"_s << u"2.5"_s << u"vER (Ver $V)"_s;
    QTest::newRow("form caption") << u"(Ver $V$)"_s << u"2.5"_s << u"(Ver 2.5)"_s;
    QTest::newRow("lower-case v") << u"(Ver $v$)"_s << u"2.5"_s << u"(Ver 2.5)"_s;
    QTest::newRow("two placeholders") << u"$V$$v$ and $V$"_s << u"1"_s << u"11 and 1"_s;
    QTest::newRow("version holding the placeholder") << u"a $V$ b $v$"_s << u"x$V$"_s << u"a x$V$ b x$V$"_s;
    QTest::newRow("version completing a placeholder") << u"$V$V$"_s << u"$"_s << u"$V$"_s;
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

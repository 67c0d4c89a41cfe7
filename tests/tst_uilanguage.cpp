// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UiLanguage.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;
using Language = UiLanguage::Language;

class tst_UiLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choosesTheFirstOfEnglishAndChinese_data();
    void choosesTheFirstOfEnglishAndChinese();
    void followsTheEnvironment_data();
    void followsTheEnvironment();
    void namesOnlyZhAndEn();
};

void tst_UiLanguage::choosesTheFirstOfEnglishAndChinese_data()
{
    QTest::addColumn<QStringList>("languages");
    QTest::addColumn<Language>("expected");
    QTest::newRow("none") << QStringList() << Language::Chinese;
    QTest::newRow("C") << QStringList{u"C"_s} << Language::Chinese;
    QTest::newRow("English") << QStringList{u"en-US"_s, u"en"_s} << Language::English;
    QTest::newRow("quotes") << QStringList{u"en-quot"_s} << Language::English;
    QTest::newRow("French, then English") << QStringList{u"fr"_s, u"fr-FR"_s, u"en"_s} << Language::English;
    QTest::newRow("Chinese before English") << QStringList{u"zh-CN"_s, u"en"_s} << Language::Chinese;
    QTest::newRow("Traditional Chinese") << QStringList{u"zh-TW"_s, u"zh-Hant-TW"_s} << Language::Chinese;
    QTest::newRow("unknown and empty") << QStringList{u"xx"_s, QString(), u"C"_s} << Language::Chinese;
    QTest::newRow("not a prefix") << QStringList{u"eng"_s, u"zhx"_s} << Language::Chinese;
}

void tst_UiLanguage::choosesTheFirstOfEnglishAndChinese()
{
    QFETCH(QStringList, languages);
    QFETCH(Language, expected);
    QCOMPARE(UiLanguage::fromUiLanguages(languages), expected);
}

void tst_UiLanguage::followsTheEnvironment_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset") << QStringList() << u"zh"_s;
    QTest::newRow("C.UTF-8") << QStringList{u"LANG=C.UTF-8"_s} << u"zh"_s;
    QTest::newRow("POSIX") << QStringList{u"LC_ALL=POSIX"_s} << u"zh"_s;
    QTest::newRow("zh_CN") << QStringList{u"LANG=zh_CN.UTF-8"_s} << u"zh"_s;
    QTest::newRow("en_US") << QStringList{u"LANG=en_US.UTF-8"_s} << u"en"_s;
    QTest::newRow("LC_ALL over LANG") << QStringList{u"LANG=zh_CN.UTF-8"_s, u"LC_ALL=en_GB.UTF-8"_s} << u"en"_s;
    QTest::newRow("LC_MESSAGES over LANG")
        << QStringList{u"LANG=zh_CN.UTF-8"_s, u"LC_MESSAGES=en_US.UTF-8"_s} << u"en"_s;
    QTest::newRow("LANGUAGE with empty entries")
        << QStringList{u"LANGUAGE=::fr:en"_s, u"LANG=zh_CN.UTF-8"_s} << u"en"_s;
    QTest::newRow("LANGUAGE, Chinese first") << QStringList{u"LANGUAGE=zh_CN:en"_s, u"LANG=en_US.UTF-8"_s} << u"zh"_s;
    QTest::newRow("zh_TW") << QStringList{u"LANG=zh_TW.UTF-8"_s} << u"zh"_s;
    QTest::newRow("unknown locale") << QStringList{u"LANG=xx_YY.UTF-8"_s} << u"zh"_s;
    QTest::newRow("LANGUAGE en@quot") << QStringList{u"LANGUAGE=en@quot"_s, u"LANG=zh_CN.UTF-8"_s} << u"en"_s;
    QTest::newRow("unreadable locale") << QStringList{u"LANG=@@@"_s, u"LC_ALL=.UTF-8"_s} << u"zh"_s;
    QTest::newRow("English with a modifier") << QStringList{u"LC_ALL=en_US.ISO-8859-15@euro"_s} << u"en"_s;
}

// The system locale is read once per process, so each case is a process of its own.
void tst_UiLanguage::followsTheEnvironment()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, expected);
    QProcess child;
    QStringList variables{u"QT_QPA_PLATFORM=offscreen"_s};
    variables << environment;
    child.setEnvironment(variables);
    child.start(QStringLiteral(PELZORA_SELF), {u"--print-language"_s});
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), expected);
}

void tst_UiLanguage::namesOnlyZhAndEn()
{
    QCOMPARE(UiLanguage::fromName(u"zh"_s), Language::Chinese);
    QCOMPARE(UiLanguage::fromName(u"en"_s), Language::English);
    QCOMPARE(UiLanguage::fromName(u"de"_s), std::nullopt);
    QCOMPARE(UiLanguage::fromName(QString()), std::nullopt);
    QVERIFY(UiLanguage::translator(Language::English));
    QVERIFY(!UiLanguage::translator(Language::Chinese));
}

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--print-language") == 0) {
        std::puts(qPrintable(UiLanguage::name(UiLanguage::fromEnvironment())));
        return 0;
    }
    QCoreApplication application(argc, argv);
    tst_UiLanguage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uilanguage.moc"

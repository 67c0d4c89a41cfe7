// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/lists/ProgramIcon.h"

#include <QFile>
#include <QPixmap>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProgramIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEverySizeWithoutImageFormatPlugins();
};

void tst_ProgramIcon::readsEverySizeWithoutImageFormatPlugins()
{
    Q_INIT_RESOURCE(pelzora);
    const QIcon icon = ProgramIcon::icon({16, 32, 48});
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    const QImage dense = ProgramIcon::image(64);
    QFile maps(u"/proc/self/maps"_s);
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("/imageformats/"));
    // The same pixels as Qt's readers give, which ask the plug-ins first.
    QCOMPARE(dense, QImage(u":/icons/pelzora-64.png"_s));
    // Both through a pixmap: converting one back from the screen's format need not be exact.
    QCOMPARE(icon.pixmap(QSize(16, 16)).toImage(), QPixmap::fromImage(QImage(u":/icons/pelzora-16.png"_s)).toImage());
}

QTEST_MAIN(tst_ProgramIcon)
#include "tst_programicon.moc"

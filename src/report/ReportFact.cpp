// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportFact.h"

#include <QHash>

using namespace Qt::StringLiterals;

QString ReportGap::reasonName(Reason reason)
{
    switch (reason) {
    case Reason::NoAnswer:
        return u"noAnswer"_s;
    case Reason::Failed:
        return u"failed"_s;
    case Reason::Absent:
        return u"absent"_s;
    case Reason::NotShownYet:
        return u"notShownYet"_s;
    }
    return u"failed"_s;
}

QString ReportGap::text(const Wording &words) const
{
    const QString text = words.translate(Context, source);
    return argument.isNull() ? text : text.arg(argument);
}

ReportGap ReportGap::fromFailure(const QString &message)
{
    // The messages of the program's own failures (TPrinter, PrinterPage, the printer sources).
    static const QHash<QString, ReportGap> Known{
        {u"There is no default printer currently selected"_s,
         {Reason::Absent, QT_TRANSLATE_NOOP("ReportGap", "没有默认打印机")}},
        {u"Printer selected is not valid"_s, {Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "所选打印机无效")}},
        {u"Printer index out of range"_s, {Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "所选打印机无效")}},
        {u"The printer's device mode cannot be read"_s,
         {Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "无法读取打印机的设置")}},
        {u"The print server has not answered"_s,
         {Reason::NoAnswer, QT_TRANSLATE_NOOP("ReportGap", "打印服务没有回答")}},
    };
    return Known.value(message, {Reason::Failed, QT_TRANSLATE_NOOP("ReportGap", "读取失败")});
}

ReportGap ReportGap::noAnswer(std::chrono::milliseconds timeLimit)
{
    const qint64 milliseconds = timeLimit.count();
    if (milliseconds % 1000 == 0)
        return {Reason::NoAnswer, QT_TRANSLATE_NOOP("ReportGap", "%1 秒内没有回答"),
                QString::number(milliseconds / 1000)};
    return {Reason::NoAnswer, QT_TRANSLATE_NOOP("ReportGap", "%1 毫秒内没有回答"), QString::number(milliseconds)};
}

#include "SystemReport.h"

#include "UnitFormMain.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

// A short form of the report: the processor's lines and each value label after its caption.
SystemReport SystemReport::fromWindow(const TFormMain &window)
{
    SystemReport report;
    QStringList lines;
    if (const auto *processor = window.findChild<const TImage *>(u"Img_Info"_s))
        lines = processor->textLines();
    for (const TLabel *label : window.findChildren<const TLabel *>())
        if (const TLabel *caption = label->nameLabel())
            lines.append(caption->caption() + u' ' + label->caption());
    report.m_text = lines.join(u'\n').remove(QChar(u'\0')) + u'\n';
    return report;
}

SystemReport SystemReport::fromPlatform(Platform &)
{
    return {};
}

QString SystemReport::toText() const
{
    return m_text;
}

QByteArray SystemReport::toJson() const
{
    return QJsonDocument(QJsonObject{{u"text"_s, m_text}}).toJson();
}

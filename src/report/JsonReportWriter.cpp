// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonReportWriter.h"

#include "PlainText.h"
#include "SystemFacts.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

constexpr int IndentWidth = 2;

// Members written in the order given, which QJsonObject (sorted by key) cannot keep.
class JsonText
{
public:
    void openObject() { open(u'{'); }
    void closeObject() { close(u'}'); }
    void openArray() { open(u'['); }
    void closeArray() { close(u']'); }

    void key(const QString &name)
    {
        separate();
        m_text += PlainText::jsonString(name) + u": "_s;
        m_afterKey = true;
    }
    void value(const QJsonValue &value)
    {
        if (!value.isArray() && !value.isObject())
            separate();
        switch (value.type()) {
        case QJsonValue::Bool:
            m_text += value.toBool() ? u"true"_s : u"false"_s;
            break;
        case QJsonValue::Double:
            m_text += number(value);
            break;
        case QJsonValue::String:
            m_text += PlainText::jsonString(value.toString());
            break;
        case QJsonValue::Array:
            openArray();
            for (const QJsonValue element : value.toArray())
                this->value(element);
            closeArray();
            break;
        case QJsonValue::Object: {
            openObject();
            const QJsonObject object = value.toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                key(it.key());
                this->value(it.value());
            }
            closeObject();
            break;
        }
        default:
            m_text += u"null"_s;
        }
    }

    QByteArray bytes() const { return (m_text + u'\n').toUtf8(); }

private:
    // Whole numbers whole, to the last digit of 64 bits; anything else as a double.
    static QString number(const QJsonValue &number)
    {
        const qint64 whole = number.toInteger(0);
        if (number.toInteger(1) == whole)
            return QString::number(whole);
        return QString::number(number.toDouble(), 'g', 17);
    }

    void open(QChar bracket)
    {
        separate();
        m_text += bracket;
        ++m_depth;
        m_first = true;
    }
    void close(QChar bracket)
    {
        --m_depth;
        if (!m_first)
            newLine();
        m_text += bracket;
        m_first = false;
    }
    // Before a member or element: the comma after the one before, and a new line.
    void separate()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (!m_first)
            m_text += u',';
        if (m_depth > 0)
            newLine();
        m_first = false;
    }
    void newLine() { m_text += u'\n' + QString(qsizetype{m_depth} * IndentWidth, u' '); }

    QString m_text;
    int m_depth = 0;
    bool m_first = true;
    bool m_afterKey = false;
};

void writeFact(JsonText &json, const ReportFact &fact)
{
    json.key(fact.key);
    json.value(fact.value);
    if (!fact.textKey.isEmpty()) {
        json.key(fact.textKey);
        json.value(fact.value.isNull() ? QJsonValue() : QJsonValue(fact.text));
    }
}

void writeList(JsonText &json, const ReportList &list)
{
    json.key(list.key);
    if (list.gap) {
        json.value(QJsonValue());
        return;
    }
    json.openArray();
    for (const ReportRow &row : list.rows) {
        json.openObject();
        for (const ReportFact &fact : row.facts)
            if (fact.forTools())
                writeFact(json, fact);
        json.closeObject();
    }
    json.closeArray();
}

void writeSection(JsonText &json, const SystemFacts &facts, const ReportSection &section)
{
    json.key(section.key);
    json.openObject();
    for (const ReportSection::Entry &entry : section.entries) {
        if (const auto *fact = std::get_if<ReportFact>(&entry)) {
            if (fact->forTools())
                writeFact(json, *fact);
        } else {
            writeList(json, std::get<ReportList>(entry));
        }
    }
    const QJsonArray missing = facts.missing(section);
    if (!missing.isEmpty()) {
        json.key(u"missing"_s);
        json.value(missing);
    }
    json.closeObject();
}

} // namespace

QByteArray JsonReportWriter::write(const SystemFacts &facts)
{
    JsonText json;
    json.openObject();
    json.key(u"schemaVersion"_s);
    json.value(SystemFacts::SchemaVersion);
    json.key(u"program"_s);
    json.value(facts.program);
    json.key(u"version"_s);
    json.value(facts.version);
    json.key(u"generatedAt"_s);
    json.value(SystemFacts::isoTime(facts.takenAt));
    json.key(u"hostName"_s);
    json.value(facts.hostName.isEmpty() ? QJsonValue() : QJsonValue(facts.hostName));
    json.key(u"redacted"_s);
    json.value(facts.redacted);
    for (const ReportSection &section : facts.sections)
        writeSection(json, facts, section);
    json.closeObject();
    return json.bytes();
}

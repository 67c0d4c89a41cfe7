// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportRedactor.h"

#include "SystemFacts.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Pattern
{
    QString kind;
    QRegularExpression expression;
};

// Checked in this order: a MAC address would otherwise read as an IPv6 address,
// and a UUID's groups as other numbers.
const QList<Pattern> &patterns()
{
    static const QString Edge = u"(?<![0-9A-Za-z:.])"_s;
    static const QString End = u"(?![0-9A-Za-z:])"_s;
    static const QString Hex = u"[0-9A-Fa-f]{1,4}"_s;
    static const QList<Pattern> All{
        {u"uuid"_s,
         QRegularExpression(
             u"(?<![0-9A-Za-z-])[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"
             u"(?![0-9A-Za-z-])"_s)},
        {u"mac"_s, QRegularExpression(Edge + u"[0-9A-Fa-f]{2}(?:[:-][0-9A-Fa-f]{2}){5}"_s + End)},
        {u"ip"_s,
         QRegularExpression(Edge + u"(?:(?:%1:){7}%1|(?:%1(?::%1){0,6})?::(?:%1(?::%1){0,6})?)"_s.arg(Hex)
                            + u"(?:%[0-9A-Za-z]+)?"_s + End)},
        {u"ip"_s,
         QRegularExpression(Edge + u"(?:(?:25[0-5]|2[0-4]\\d|1?\\d?\\d)\\.){3}(?:25[0-5]|2[0-4]\\d|1?\\d?\\d)"_s
                            + u"(?![0-9A-Za-z.])"_s)},
    };
    return All;
}

// The directories whose next part is a user's name.
const QRegularExpression &userDirectories()
{
    static const QRegularExpression Expression(u"(?<=/home/|/media/|/var/home/|/Users/|\\\\Users\\\\)[^/\\\\\\s]+"_s);
    return Expression;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

void ReportRedactor::redact(SystemFacts &facts)
{
    ReportRedactor redactor;
    redactor.collect(facts);
    const auto redact = [&redactor](QString &text) {
        text = redactor.redacted(text);
    };
    redact(facts.hostName);
    facts.forEachFact([&redact](ReportFact &fact) {
        if (fact.personal == Personal::Verbatim)
            return;
        redact(fact.text);
        SystemFacts::changeStrings(fact.value, redact);
    });
    facts.redacted = true;
}

void ReportRedactor::collect(SystemFacts &facts)
{
    if (!facts.hostName.isEmpty())
        m_literals.insert(facts.hostName, placeholder(u"host"_s, facts.hostName));
    facts.forEachFact([this](ReportFact &fact) {
        const QString value = fact.value.isString() ? fact.value.toString() : fact.text;
        if (value.isEmpty())
            return;
        if (fact.personal == Personal::HostName)
            m_literals.insert(value, placeholder(u"host"_s, value));
        else if (fact.personal == Personal::Serial)
            m_literals.insert(value, placeholder(u"serial"_s, value));
    });
}

QString ReportRedactor::placeholder(const QString &kind, const QString &value)
{
    const QString key = kind + u'\n' + value;
    const auto known = m_placeholders.constFind(key);
    if (known != m_placeholders.cend())
        return *known;
    QString name = u"<%1-%2>"_s.arg(kind).arg(++m_counts[kind]);
    m_placeholders.insert(key, name);
    return name;
}

QString ReportRedactor::redacted(const QString &text)
{
    return replacePatterns(replaceLiterals(text));
}

// Each known value wherever it stands as a whole word, the longest first.
QString ReportRedactor::replaceLiterals(const QString &text) const
{
    QStringList values = m_literals.keys();
    std::sort(values.begin(), values.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QString result = text;
    for (const QString &value : std::as_const(values)) {
        qsizetype from = 0;
        while ((from = result.indexOf(value, from)) >= 0) {
            const qsizetype end = from + value.size();
            const bool whole = (from == 0 || !isWordCharacter(result.at(from - 1)))
                && (end == result.size() || !isWordCharacter(result.at(end)));
            if (!whole) {
                from = end;
                continue;
            }
            const QString &name = m_literals.value(value);
            result.replace(from, value.size(), name);
            from += name.size();
        }
    }
    return result;
}

QString ReportRedactor::replacePatterns(const QString &text)
{
    QString result = text;
    const auto replaceAll = [this, &result](const QString &kind, const QRegularExpression &expression) {
        QString out;
        qsizetype last = 0;
        for (const QRegularExpressionMatch &match : expression.globalMatch(result)) {
            out += result.mid(last, match.capturedStart() - last) + placeholder(kind, match.captured());
            last = match.capturedEnd();
        }
        result = out + result.mid(last);
    };
    for (const Pattern &pattern : patterns())
        replaceAll(pattern.kind, pattern.expression);
    replaceAll(u"user"_s, userDirectories());
    return result;
}

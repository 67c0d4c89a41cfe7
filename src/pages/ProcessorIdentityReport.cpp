// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessorIdentityReport.h"

#include "platform/ProcessorSource.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

using ReportLine = ProcessorPage::ReportLine;

const QString Item = u"   - "_s;
// Where a value too long for its line goes on, under the values above it.
const QString Continuation = u"     "_s;

// Advance widths of Arial (Helvetica's metrics) for the printable ASCII characters, in thousandths of an em.
constexpr std::array<short, 95> AsciiWidths{
    278, 278, 355, 556, 556, 889, 667, 222, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 222, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr int FontPixels = 11;

int charWidth(QChar c)
{
    const char16_t code = c.unicode();
    int thousandths = 1000; // Chinese and anything else: a full em
    if (code >= 0x20 && code < 0x7F)
        thousandths = AsciiWidths[code - 0x20];
    else if (code == u'×')
        thousandths = 584;
    // Whole pixels, rounded up: a hinted glyph may take the next pixel.
    return (thousandths * FontPixels + 999) / 1000;
}

// How many of text's characters fit in room pixels; one at least, so a line always moves on.
qsizetype fittingLength(QStringView text, int room)
{
    qsizetype length = 0;
    for (int width = 0; length < text.size(); ++length) {
        width += charWidth(text.at(length));
        if (width > room)
            break;
    }
    return qMax(length, qsizetype(1));
}

QString hex(quint64 value, int digits = 0)
{
    return u"0x%1"_s.arg(value, digits, 16, QChar(u'0'));
}

QString captionOf(const QString &key, const Wording &words)
{
    // Registers and fields named as the architectures' manuals name them are no words to translate.
    static const QHash<QString, const char *> captions{
        {u"mvendorid"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "制造商ID")},
        {u"marchid"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "架构ID")},
        {u"mimpid"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "实现ID")},
        {u"isa"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "指令集")},
        {u"family"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "系列")},
        {u"cores"_s, QT_TRANSLATE_NOOP("ProcessorIdentityReport", "核心")},
        {u"mmu"_s, "MMU"},
        {u"prid"_s, "PRID"},
        {u"midr"_s, "MIDR_EL1"},
        {u"hwcap"_s, "HWCAP"},
        {u"hwcap2"_s, "HWCAP2"}};
    const char *caption = captions.value(key);
    return caption ? words.translate("ProcessorIdentityReport", caption) : key;
}

// A name the table did not know is its raw id; say so, and show the id.
QString nameOrId(const QString &name, const QString &id, const Wording &words)
{
    return !id.isEmpty() && name == id ? words.translate("ProcessorIdentityReport", "未知 (%1)").arg(id) : name;
}

// One value per cluster, or one for all when they agree.
QString perCluster(const QList<ProcessorCluster> &clusters,
                   const std::function<QString(const ProcessorCluster &)> &text)
{
    QStringList values;
    for (const ProcessorCluster &cluster : clusters)
        values.append(text(cluster));
    const bool agree = std::all_of(values.cbegin(), values.cend(),
                                   [&values](const QString &value) { return value == values.constFirst(); });
    return agree ? values.value(0) : values.join(u" / "_s);
}

// Text broken at its blanks into lines no wider than width pixels, the first firstWidth; a word
// wider than a line is cut.
QStringList wrapped(const QString &text, int firstWidth, int width)
{
    QStringList lines{QString()};
    int room = firstWidth;
    for (QString word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString joined = lines.constLast().isEmpty() ? word : lines.constLast() + u' ' + word;
        if (ProcessorIdentityReport::textWidth(joined) <= room) {
            lines.last() = joined;
            continue;
        }
        if (!lines.constLast().isEmpty()) {
            lines.append(QString());
            room = width;
        }
        while (ProcessorIdentityReport::textWidth(word) > room) {
            const qsizetype fits = fittingLength(word, room);
            lines.last() = word.left(fits);
            word = word.mid(fits);
            lines.append(QString());
            room = width;
        }
        lines.last() = word;
    }
    return lines;
}

class Lines
{
public:
    // A red caption and its black value; continued on value lines of their own when too long.
    void fact(const QString &caption, const QString &value)
    {
        if (value.isEmpty())
            return;
        const QString label = Item + caption + u": "_s;
        const int width = ProcessorIdentityReport::LineWidth;
        const QStringList parts = wrapped(value, width - ProcessorIdentityReport::textWidth(label),
                                          width - ProcessorIdentityReport::textWidth(Continuation));
        m_lines.append({label, parts.constFirst()});
        for (qsizetype i = 1; i < parts.size(); ++i)
            m_lines.append({QString(), Continuation + parts.at(i)});
    }
    // After a blank line, a heading and its items packed into black lines, as the x86 report draws its brand.
    void list(const QString &heading, const QStringList &items)
    {
        if (items.isEmpty())
            return;
        m_lines.append(ReportLine());
        m_lines.append({heading, QString()});
        const int width = ProcessorIdentityReport::LineWidth - ProcessorIdentityReport::textWidth(Item);
        for (const QString &line : wrapped(items.join(u' '), width, width))
            m_lines.append({QString(), Item + line});
    }
    void title(const Wording &words)
    {
        m_lines.append({words.translate("ProcessorIdentityReport", "处理器"), QString()});
    }

    qsizetype size() const { return m_lines.size(); }
    // Keeps the blank line, the heading and as many items as fit in room lines, the last ending in "…".
    void shortenList(qsizetype room)
    {
        if (m_lines.size() <= room)
            return;
        if (room < 3) {
            m_lines.clear();
            return;
        }
        m_lines.resize(room);
        QString &last = m_lines.last().value;
        while (ProcessorIdentityReport::textWidth(last + u" …"_s) > ProcessorIdentityReport::LineWidth
               && last.contains(u' '))
            last.truncate(last.lastIndexOf(u' '));
        last += u" …"_s;
    }
    QList<ReportLine> take() { return std::move(m_lines); }

private:
    QList<ReportLine> m_lines;
};

void addVendorAndModel(Lines &lines, const ProcessorIdentity &identity, const Wording &words)
{
    const QList<ProcessorCluster> &clusters = identity.clusters;
    const QString vendorCaption = words.translate("ProcessorIdentityReport", "制造商");
    const QString modelCaption = words.translate("ProcessorIdentityReport", "型号");
    if (clusters.isEmpty()) {
        lines.fact(vendorCaption, nameOrId(identity.vendor, identity.detail(u"mvendorid"_s), words));
        lines.fact(modelCaption, identity.model);
        return;
    }
    QStringList vendors, models;
    for (const ProcessorCluster &cluster : clusters) {
        vendors.append(nameOrId(cluster.vendor, hex(cluster.implementer, 2), words));
        models.append(nameOrId(cluster.model, hex(cluster.part, 3), words));
    }
    vendors.removeDuplicates();
    models.removeDuplicates();
    lines.fact(vendorCaption, vendors.join(u" + "_s));
    lines.fact(words.translate("ProcessorIdentityReport", "制造商ID"),
               perCluster(clusters, [](const ProcessorCluster &c) { return hex(c.implementer, 2); }));
    // A name the kernel gives wins over the cores' names.
    QStringList coreModels;
    for (const ProcessorCluster &cluster : clusters)
        if (!coreModels.contains(cluster.model))
            coreModels.append(cluster.model);
    lines.fact(modelCaption, identity.model == coreModels.join(u" + "_s) ? models.join(u" + "_s) : identity.model);
}

void addClusters(Lines &lines, const QList<ProcessorCluster> &clusters, const Wording &words)
{
    if (clusters.isEmpty())
        return;
    lines.fact(words.translate("ProcessorIdentityReport", "部件号"),
               perCluster(clusters, [](const ProcessorCluster &c) { return hex(c.part, 3); }));
    lines.fact(words.translate("ProcessorIdentityReport", "变体"),
               perCluster(clusters, [](const ProcessorCluster &c) { return hex(c.variant); }));
    lines.fact(words.translate("ProcessorIdentityReport", "修订号"),
               perCluster(clusters, [](const ProcessorCluster &c) { return QString::number(c.revision); }));
    QStringList cores;
    for (const ProcessorCluster &cluster : clusters)
        cores.append(u"%1 × %2"_s.arg(cluster.cores).arg(cluster.model));
    lines.fact(words.translate("ProcessorIdentityReport", "核心"), cores.join(u" + "_s));
}

} // namespace

int ProcessorIdentityReport::textWidth(QStringView text)
{
    int width = 0;
    for (const QChar c : text)
        width += charWidth(c);
    return width;
}

QList<ProcessorPage::ReportLine> ProcessorIdentityReport::lines(const ProcessorIdentity &identity, const Wording &words)
{
    Lines facts;
    facts.title(words);
    facts.fact(words.translate("ProcessorIdentityReport", "架构"), identity.architecture);
    addVendorAndModel(facts, identity, words);
    addClusters(facts, identity.clusters, words);
    for (const ProcessorDetail &detail : identity.details)
        facts.fact(captionOf(detail.key, words),
                   detail.value.isEmpty() ? words.translate("ProcessorIdentityReport", "空") : detail.value);
    if (identity.logicalProcessors > 0)
        facts.fact(words.translate("ProcessorIdentityReport", "逻辑处理器"),
                   QString::number(identity.logicalProcessors));
    Lines features;
    features.list(words.translate("ProcessorIdentityReport", "指令集扩展: "), identity.features);
    Lines board;
    board.list(words.translate("ProcessorIdentityReport", "品牌: "),
               identity.board.isEmpty() ? QStringList() : QStringList{identity.board});
    // The image holds 24 lines: the feature list gives way first.
    features.shortenList(MaximumLines - facts.size() - board.size());
    QList<ReportLine> all = facts.take() + features.take() + board.take();
    all.resize(qMin(all.size(), qsizetype(MaximumLines)));
    return all;
}

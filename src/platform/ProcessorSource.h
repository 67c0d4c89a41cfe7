// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>

// Processors of one kind in a machine, as their identification register names them.
struct ProcessorCluster
{
    QString vendor; // the implementer's name, or its id in hex where no name is known
    QString model; // the part's name, or its id in hex where no name is known
    int cores = 0;
    quint32 implementer = 0;
    quint32 part = 0;
    quint32 variant = 0;
    quint32 revision = 0;

    friend bool operator==(const ProcessorCluster &, const ProcessorCluster &) = default;
};

// A fact only some processor families have, under a key of its own ("isa", "mmu", "family", ...).
struct ProcessorDetail
{
    QString key;
    QString value;

    friend bool operator==(const ProcessorDetail &, const ProcessorDetail &) = default;
};

// What the system says about its processors, for any processor family. Every
// field may be empty: a machine tells what it tells.
struct ProcessorIdentity
{
    QString architecture; // the machine as the kernel names it: x86_64, aarch64, riscv64, ...
    QString vendor;
    QString model;
    QList<ProcessorCluster> clusters; // in the order of the first processor of each
    QStringList features;
    QString board; // the board or system the processors sit in
    int logicalProcessors = 0;
    QList<ProcessorDetail> details;

    // The processor families that answer the identification instruction.
    static bool isX86(const QString &architecture)
    {
        // Views of static text: a reading thread may ask while the process exits.
        constexpr std::array<QStringView, 6> names{u"x86_64", u"amd64", u"i386", u"i486", u"i586", u"i686"};
        return std::ranges::find(names, QStringView(architecture)) != names.end();
    }
    QString detail(const QString &key) const
    {
        for (const ProcessorDetail &d : details)
            if (d.key == key)
                return d.value;
        return {};
    }

    friend bool operator==(const ProcessorIdentity &, const ProcessorIdentity &) = default;
};

// The identity of the machine's processors, read once: it does not change while the program runs.
class ProcessorSource
{
public:
    virtual ~ProcessorSource() = default;

    virtual ProcessorIdentity identity() const = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Wording.h"

#include <QCoreApplication>
#include <QTranslator>

Wording::Wording(UiLanguage::Language language, std::shared_ptr<const QTranslator> translation, bool application)
    : m_language(language)
    , m_translation(std::move(translation))
    , m_application(application)
{
}

Wording Wording::shown()
{
    return Wording(UiLanguage::current(), nullptr, true);
}

Wording Wording::of(UiLanguage::Language language)
{
    if (language == UiLanguage::current())
        return shown();
    return Wording(language, UiLanguage::translator(language), false);
}

QString Wording::translate(const char *context, const char *source, const char *disambiguation, int count) const
{
    if (m_application)
        return QCoreApplication::translate(context, source, disambiguation, count);
    QString text;
    if (m_translation)
        text = m_translation->translate(context, source, disambiguation, count);
    if (text.isNull())
        text = QString::fromUtf8(source);
    // As the application's translation does it.
    if (count >= 0)
        text.replace(QStringLiteral("%n"), QString::number(count));
    return text;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <optional>

// The language the program speaks: Simplified Chinese, its own, or English.
// Chinese texts are the source texts; English comes from a translation that is
// loaded only when English is chosen.
class UiLanguage
{
public:
    enum class Language { Chinese, English };

    // English when the first of the desktop's UI languages that is English or
    // Chinese is English; Chinese otherwise (C, POSIX, other languages, none).
    static Language fromUiLanguages(const QStringList &languages);
    // From LANGUAGE's entries (empty ones skipped), then LC_ALL, LC_MESSAGES and LANG.
    static Language fromEnvironment();
    // "zh" or "en" as given to --lang; nullopt for anything else.
    static std::optional<Language> fromName(const QString &name);
    static QString name(Language language);
    static Language other(Language language);

    // The translation into language; nullptr for Chinese, which needs none.
    static std::unique_ptr<QTranslator> translator(Language language);
    // Makes the application speak language from now on (texts set earlier stay).
    static void install(Language language);
    // The language installed last; Chinese before any install.
    static Language current();
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UiLanguage.h"

#include <QString>

#include <memory>

class QTranslator;

// The program's own words in one language. The sources write them in Chinese,
// each under a context that lupdate finds beside it (translate("Context", "…")
// or QT_TRANSLATE_NOOP); English comes from the translation. A report in the
// language the window does not speak takes its words from here without
// changing the application's translation, which every widget would follow.
class Wording
{
public:
    // The language the application speaks now, through its installed translation.
    static Wording shown();
    // A language whatever the application speaks; English not installed loads its translation here.
    static Wording of(UiLanguage::Language language);

    UiLanguage::Language language() const { return m_language; }
    // The text in this language; the Chinese source where the translation lacks it. The
    // disambiguation tells apart two meanings of one Chinese text, or says what a text is for;
    // with a count, %n stands for it and English picks its singular or plural form.
    QString translate(const char *context, const char *source, const char *disambiguation = nullptr,
                      int count = -1) const;

private:
    Wording(UiLanguage::Language language, std::shared_ptr<const QTranslator> translation, bool application);

    UiLanguage::Language m_language;
    std::shared_ptr<const QTranslator> m_translation; // null: the application's, or none for Chinese
    bool m_application;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

UiLanguage::Language installed = UiLanguage::Language::Chinese;

// "en", "en-US", "en_GB.UTF-8", "en@quot" all name English.
QString primaryLanguage(const QString &tag)
{
    qsizetype end = 0;
    while (end < tag.size() && tag.at(end).isLetter())
        ++end;
    return tag.left(end).toLower();
}

} // namespace

UiLanguage::Language UiLanguage::fromUiLanguages(const QStringList &languages)
{
    for (const QString &tag : languages) {
        const QString language = primaryLanguage(tag);
        if (language == u"en")
            return Language::English;
        if (language == u"zh")
            return Language::Chinese;
    }
    return Language::Chinese;
}

UiLanguage::Language UiLanguage::fromEnvironment()
{
    // Qt reads an empty entry of LANGUAGE as the locale's own language; the
    // entries the user did write come first, as gettext reads them.
    QStringList languages = qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
    languages += QLocale::system().uiLanguages();
    return fromUiLanguages(languages);
}

std::optional<UiLanguage::Language> UiLanguage::fromName(const QString &name)
{
    if (name == u"zh")
        return Language::Chinese;
    if (name == u"en")
        return Language::English;
    return std::nullopt;
}

QString UiLanguage::name(Language language)
{
    return language == Language::English ? u"en"_s : u"zh"_s;
}

UiLanguage::Language UiLanguage::other(Language language)
{
    return language == Language::English ? Language::Chinese : Language::English;
}

std::unique_ptr<QTranslator> UiLanguage::translator(Language language)
{
    if (language == Language::Chinese)
        return nullptr;
    auto translation = std::make_unique<QTranslator>();
    // Built into the program; a failure here is a build fault the translation test catches.
    if (!translation->load(u":/i18n/pelzora_en.qm"_s))
        return nullptr;
    return translation;
}

void UiLanguage::install(Language language)
{
    // One translation for the process's life: the application owns it.
    static QTranslator *english = nullptr;
    if (language == Language::English && !english) {
        english = translator(language).release();
        if (english) {
            english->setParent(QCoreApplication::instance());
            QCoreApplication::installTranslator(english);
        }
    } else if (language == Language::Chinese && english) {
        QCoreApplication::removeTranslator(english);
        delete english;
        english = nullptr;
    }
    installed = language;
}

UiLanguage::Language UiLanguage::current()
{
    return installed;
}

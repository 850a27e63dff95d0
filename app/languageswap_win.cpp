#include "app/languageswap.h"

#include "core/language.h"
#include "tariff/settings.h"
#include "ui/mainwindow.h"

// The settings keep the platform's primary language ids, which the module loader tells apart.
static_assert(kLanguageGerman == LANG_GERMAN && kLanguageEnglish == LANG_ENGLISH);

bool swapLanguage(MainWindowState* state, uint16_t languageId)
{
    if (LanguageModule == nullptr || languageId != settings.languageId) {
        const uint16_t wanted = languageId == 0 ? settings.languageId : languageId;
        const bool loaded = loadLanguage(wanted);
        if (loaded || isStandingIn(wanted))
            settings.languageId = wanted;
        if (!loaded)
            return false;
    }
    if (state != nullptr)
        reloadShortcuts(state);
    return true;
}

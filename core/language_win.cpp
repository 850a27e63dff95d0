#include "core/language.h"

#include "core/apperror.h"
#include "core/programdirectory.h"
#include "tariff/settings.h"
#include "ui/mainwindowstate.h"

HMODULE LanguageModule;

namespace {
constexpr uint32_t kEnglishFileString = 1;
constexpr uint32_t kGermanFileString = 2;
constexpr uint16_t kGerman = 7;
constexpr WORD kAcceleratorTable = 6;

bool exchangeModule(uint16_t languageId)
{
    if (languageId == 0)
        languageId = settings.languageId;
    char path[MAX_PATH];
    const uint32_t nameString = languageId == kGerman ? kGermanFileString : kEnglishFileString;
    if (!buildProgramFilePath(nameString, path, sizeof path))
        return failWith(kErrorLanguageModule);
    HMODULE module = LoadLibraryA(path);
    if (module == nullptr)
        return failWith(kErrorLanguageModule);
    if (LanguageModule != nullptr && !FreeLibrary(LanguageModule))
        reportError(kErrorLanguageFree);
    LanguageModule = module;
    settings.languageId = languageId;
    return true;
}
}  // namespace

bool loadLanguage(MainWindowState* state, uint16_t languageId)
{
    if ((LanguageModule == nullptr || languageId != settings.languageId) && !exchangeModule(languageId))
        return false;
    if (state != nullptr) {
        state->accelerators = LoadAcceleratorsA(LanguageModule, MAKEINTRESOURCEA(kAcceleratorTable));
        if (state->accelerators == nullptr)
            reportError(kErrorAcceleratorsMissing);
        InvalidateRect(state->window, nullptr, TRUE);
    }
    return true;
}

#include "core/language.h"

#include <cstdio>

#include "core/apperror.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "res/resource.h"

uint32_t LanguageStandInFor;

namespace {
constexpr uint32_t kEnglishFileString = IDS_ENGLISH_MODULE;
constexpr uint32_t kGermanFileString = IDS_GERMAN_MODULE;
constexpr size_t kNameSize = 260;

uint32_t moduleStringOf(uint16_t languageId)
{
    return languageId == LANG_GERMAN ? kGermanFileString : kEnglishFileString;
}

// The module named by the program's string `file`, its file name in `name`; null on failure,
// with the loader's error left as the system's last error.
HMODULE loadModuleFile(uint32_t file, char* name)
{
    name[0] = '\0';
    char path[MAX_PATH];
    if (!programString(file, name, kNameSize) || !buildPathBeside(name, path, sizeof path))
        return nullptr;
    return LoadLibraryA(path);
}

// With no module loaded yet, the other language's module stands in for `file`. The failure
// is left for the caller to report, with the loader's error for the system's text: 0x80000004
// naming both modules when the other one loaded, 0x80000003 naming the failed one otherwise.
bool standIn(uint32_t file, const char* failedName)
{
    const DWORD loadError = GetLastError();
    char otherName[kNameSize];
    HMODULE other = loadModuleFile(file == kGermanFileString ? kEnglishFileString : kGermanFileString, otherName);
    LanguageStandInFor = file;
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", failedName);
    if (other != nullptr) {
        LanguageModule = other;
        snprintf(MessageArguments.text2, sizeof MessageArguments.text2, "%s", otherName);
    }
    SetLastError(loadError);
    return failWith(other != nullptr ? kErrorLanguageStandIn : kErrorLanguageModule);
}

} // namespace

bool loadLanguage(uint16_t languageId)
{
    const uint32_t file = moduleStringOf(languageId);
    if (file == LanguageStandInFor)
        return true;
    char name[kNameSize];
    HMODULE module = loadModuleFile(file, name);
    if (module == nullptr) {
        if (LanguageModule == nullptr)
            return standIn(file, name);
        snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", name);
        return failWith(kErrorLanguageModule);
    }
    if (LanguageModule != nullptr && !FreeLibrary(LanguageModule))
        reportError(kErrorLanguageFree);
    LanguageModule = module;
    LanguageStandInFor = 0;
    return true;
}

bool isStandingIn(uint16_t languageId)
{
    return LanguageStandInFor != 0 && LanguageStandInFor == moduleStringOf(languageId);
}

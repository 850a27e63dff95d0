// Which skin start-up loads: the stored one if it can, or any other that is installed.
#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/programdirectory.h"
#include "core/scoped_win.h"
#include "skin/skin.h"

namespace {

const char kDefaultSkin[] = "default";

// Folder names are compared as the file system does, without regard to case.
bool sameFolder(const char* a, const char* b) { return _stricmp(a, b) == 0; }

// The other folders of the program directory in the order the file system lists them (the
// skin menu's order), until one loads; its name goes to `name`.
bool loadAnyOtherSkin(char* name, uint32_t dpi)
{
    char pattern[MAX_PATH];
    if (snprintf(pattern, sizeof pattern, "%s*", programDirectory) >= int(sizeof pattern))
        return false;
    ScopedFind search(pattern);
    if (!search.isOpen())
        return false;
    bool loaded = false;
    do {
        const WIN32_FIND_DATAA& found = search.found();
        const char* folder = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || strcmp(folder, ".") == 0
            || strcmp(folder, "..") == 0 || sameFolder(folder, name) || sameFolder(folder, kDefaultSkin))
            continue;
        if (loadSkin(folder, dpi)) {
            snprintf(name, kSkinTextLength, "%s", folder);
            loaded = true;
        }
    } while (!loaded && search.next());
    return loaded;
}

} // namespace

bool loadStartSkin(char* name, uint32_t dpi)
{
    if (loadSkin(name, dpi))
        return true;
    // Without a document object no other skin reads either; the system's reason stays as it is.
    if (AppError == kErrorXmlDocument)
        return false;
    if (!sameFolder(name, kDefaultSkin) && loadSkin(kDefaultSkin, dpi)) {
        snprintf(name, kSkinTextLength, "%s", kDefaultSkin);
        return true;
    }
    return loadAnyOtherSkin(name, dpi);
}

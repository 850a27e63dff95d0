#include "skin/commoncontrols.h"

#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include "core/apperror.h"
#include "skin/pngresource.h"

void checkDropShadow()
{
    static bool checked;
    if (checked)
        return;
    checked = true;
    OSVERSIONINFOA version {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    dropShadowAvailable = known && version.dwMajorVersion >= 5 && version.dwMinorVersion >= 1;

    if (HMODULE commonControls = LoadLibraryA("comctl32.dll")) {
        auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
            reinterpret_cast<void*>(GetProcAddress(commonControls, "DllGetVersion")));
        if (getVersion != nullptr) {
            DLLVERSIONINFO info {};
            info.cbSize = sizeof info;
            if (SUCCEEDED(getVersion(&info)) && info.dwMajorVersion < 6)
                dropShadowAvailable = false;
        }
        FreeLibrary(commonControls);
    }
}

bool prepareCommonControls()
{
    static bool ready;
    if (ready)
        return true;
    INITCOMMONCONTROLSEX controls { sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES };
    if (!InitCommonControlsEx(&controls)) {
        SetLastError(0);
        return failWith(kErrorCommonControls);
    }
    // Checked with the library loaded, so that the check does not load it a second time.
    checkDropShadow();
    ready = true;
    return true;
}

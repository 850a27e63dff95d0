#include "core/apperror.h"
#include "skin/pngresource.h"

// Kept apart from the other resource pictures: it reads the display, which the tests of the
// pictures do not need.
uint32_t displayColorDepth;
bool dropShadowAvailable;

void refreshHelpToggleImages()
{
    if (helpToggleImages != nullptr) {
        ImageList_Destroy(helpToggleImages);
        helpToggleImages = nullptr;
    }
    HDC screen = GetDC(nullptr);
    helpToggleImages = loadImageList(screen, helpToggleResource(displayColorDepth, dropShadowAvailable));
    ReleaseDC(nullptr, screen);
    if (helpToggleImages == nullptr)
        reportError(0);
}

#include "core/apperror.h"
#include "core/scoped_win.h"
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
    const ScopedWindowDc screen(nullptr);
    helpToggleImages = loadImageList(screen.get(), helpToggleResource(displayColorDepth, dropShadowAvailable));
    if (helpToggleImages == nullptr)
        reportError(0);
}

#include "skin/pngresource.h"

#include "core/apperror.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "skin/pngbitmap.h"

HIMAGELIST helpToggleImages;

namespace {

// The bytes of PNG resource `id` of the program itself, in place; false with AppError set.
bool findPngResource(uint32_t id, const uint8_t** data, DWORD* size)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(PNG_RESOURCE_TYPE));
    if (resource == nullptr) {
        MessageArguments.number1 = id;
        languageString(IDS_MISSING_IMAGE, MessageArguments.text1, sizeof MessageArguments.text1);
        return failWith(kErrorResourceMissing);
    }
    HGLOBAL loaded = LoadResource(module, resource);
    if (loaded == nullptr)
        return failWith(kErrorResourceLoad);
    *data = static_cast<const uint8_t*>(LockResource(loaded));
    if (*data == nullptr)
        return failWith(kErrorResourceLock);
    *size = SizeofResource(module, resource);
    return true;
}

} // namespace

HBITMAP loadPngResource(HDC dc, uint32_t id)
{
    const uint8_t* data = nullptr;
    DWORD size = 0;
    if (!findPngResource(id, &data, &size))
        return nullptr;
    return decodePng(data, size, dc, nullptr, nullptr, nullptr, nullptr);
}

HBITMAP loadScaledPngResource(HDC dc, uint32_t id, uint32_t dpi)
{
    const uint8_t* data = nullptr;
    DWORD size = 0;
    if (!findPngResource(id, &data, &size))
        return nullptr;
    return decodeScaledPng(data, size, dc, 0, 0, dpi);
}

HIMAGELIST loadImageList(HDC dc, uint32_t id)
{
    const uint8_t* data = nullptr;
    DWORD size = 0;
    if (!findPngResource(id, &data, &size))
        return nullptr;
    uint32_t transparent = 0;
    uint32_t depth = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    const ScopedBitmap strip(decodePng(data, size, dc, &transparent, &depth, &width, &height));
    if (strip.get() == nullptr)
        return nullptr;
    UINT flags = ILC_COLORDDB;
    if (depth == 32)
        flags = ILC_COLOR32;
    else if (depth <= 8)
        flags = ILC_COLORDDB | ILC_MASK;
    HIMAGELIST list = height > 0 ? ImageList_Create(static_cast<int>(height), static_cast<int>(height), flags,
                          static_cast<int>(width / height), 32)
                                 : nullptr;
    if (list == nullptr) {
        AppError = kErrorImageList;
        return nullptr;
    }
    // The list keeps copies of the pictures: the strip goes with the scope.
    if (depth <= 8)
        ImageList_AddMasked(list, strip.get(), transparent);
    else
        ImageList_Add(list, strip.get(), nullptr);
    return list;
}

uint32_t helpToggleResource(uint32_t colorDepth, bool dropShadow)
{
    if (colorDepth <= 8)
        return IDP_HELP_TOGGLE_16;
    return dropShadow ? IDP_HELP_TOGGLE_ALPHA : IDP_HELP_TOGGLE_256;
}

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "core/apperror.h"
#include "core/programdirectory.h"
#include "core/scoped_win.h"
#include "skin/skin.h"
#include "skin/skindocument.h"
#include "skin/skinscale.h"

Skin skin;

// The portable skin rules write DrawText formats without the platform's header.
static_assert(kTextFormatDefault == (DT_SINGLELINE | DT_NOPREFIX));

namespace {

// Pictures of the loaded skin that wait until they are first asked for (skinPicture).
struct DeferredPicture {
    uint32_t element;
    uint32_t state;
    char path[260];
    POINT corner;
};
std::vector<DeferredPicture> deferredPictures;

// The DOM documents that read skin.xml, in the order they are tried: Windows 10 and 11 carry
// 6.0 and 3.0 but not 4.0, which an older system may have alone. All three answer the same
// interfaces the same way for what the skin reader asks of them; 6.0 refuses a document type
// declaration as a parse error, where the others let the root check refuse the file.
const CLSID kDomDocuments[] = {
    { 0x88D96A05, 0xF192, 0x11D4, { 0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5 } }, // 6.0
    { 0x88D969C0, 0xF192, 0x11D4, { 0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5 } }, // 4.0
    { 0xF5078F32, 0xC551, 0x11D3, { 0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21 } }, // 3.0
};

// Set once the program's thread has tried to make its own document: the thread of
// prepareSkinReader may then let go of the library.
HANDLE skinReaderTried;

// The first DOM document the system can make, and that failure of the last version when it can
// make none.
IXMLDOMDocument* firstDomDocument(HRESULT& result)
{
    result = E_FAIL;
    for (const CLSID& documentClass : kDomDocuments) {
        IXMLDOMDocument* document = nullptr;
        result = CoCreateInstance(
            documentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, reinterpret_cast<void**>(&document));
        if (SUCCEEDED(result) && document != nullptr)
            return document;
    }
    return nullptr;
}

// The first DOM document the system can make; null with AppError set (and the last version's
// failure as the system error) when it can make none.
IXMLDOMDocument* createDomDocument()
{
    HRESULT result;
    IXMLDOMDocument* document = firstDomDocument(result);
    if (skinReaderTried != nullptr)
        SetEvent(skinReaderTried);
    if (document != nullptr)
        return document;
    SetLastError(DWORD(result));
    failWith(kErrorXmlDocument);
    return nullptr;
}

// The thread of prepareSkinReader, in an apartment of its own: the document it makes goes at
// once, the library it loaded stays until the program's thread has made its own.
DWORD WINAPI loadSkinReader(void*)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 0;
    HRESULT result;
    if (IXMLDOMDocument* document = firstDomDocument(result))
        document->Release();
    constexpr DWORD kLongestWaitMs = 30000;
    WaitForSingleObject(skinReaderTried, kLongestWaitMs);
    CoUninitialize();
    return 0;
}

// A UTF-16 text as ANSI in `out` (`size` bytes), cut to fit; never split by the conversion
// failing on a too small buffer.
void toAnsi(const wchar_t* text, char* out, size_t size)
{
    out[0] = '\0';
    if (text == nullptr || size == 0)
        return;
    const size_t limit = size - 1;
    size_t length = wcslen(text);
    if (length > limit)
        length = limit; // each character gives at least one byte
    if (length == 0)
        return;
    // Double-byte code pages give up to two bytes a character.
    char converted[2 * 1024];
    if (length > sizeof converted / 2)
        length = sizeof converted / 2;
    const int written = WideCharToMultiByte(
        CP_ACP, 0, text, static_cast<int>(length), converted, static_cast<int>(sizeof converted), nullptr, nullptr);
    const size_t used = written > 0 ? static_cast<size_t>(written) : 0;
    const size_t copied = used < limit ? used : limit;
    memcpy(out, converted, copied);
    out[copied] = '\0';
}

const char* fileNameOf(const char* path)
{
    const char* slash = strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

void reportParseError(IXMLDOMDocument* document, const char* path)
{
    long line = 0;
    long column = 0;
    ScopedBstr reason;
    ComPointer<IXMLDOMParseError> error;
    if (document->get_parseError(error.out()) == S_OK && error.get() != nullptr) {
        error->get_reason(reason.out());
        error->get_line(&line);
        error->get_linepos(&column);
    }
    // The message formatter takes ANSI inserts, so the file name and reason go in as ANSI.
    MessageArguments.number1 = static_cast<uint32_t>(line);
    MessageArguments.number2 = static_cast<uint32_t>(column);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", fileNameOf(path));
    toAnsi(reason.get(), MessageArguments.text2, sizeof MessageArguments.text2);
    // The parser's reason usually ends with a line break; the message has its own layout.
    size_t length = strlen(MessageArguments.text2);
    while (length > 0 && (MessageArguments.text2[length - 1] == '\n' || MessageArguments.text2[length - 1] == '\r'))
        MessageArguments.text2[--length] = '\0';
    reportError(kErrorSkinParse);
}

int32_t saturated(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

void readSkinChildren(IXMLDOMNode* root)
{
    forEachChild(root, [](IXMLDOMNode* child, const char* name) {
        if (strcmp(name, "region") == 0) {
            RECT rect;
            char type[kSkinTextLength];
            uint32_t format = 0;
            readBox(child, &rect, type, &format);
            const uint32_t element = skinElementOfType(type);
            if (element != kNoSkinSlot) {
                const uint32_t dpi = skin.dpi;
                if (element == kElementMainWindow) {
                    skin.designWidth = saturated(int64_t(rect.right) - rect.left);
                    skin.designHeight = saturated(int64_t(rect.bottom) - rect.top);
                    skin.windowWidth = scaleToDpi(skin.designWidth, dpi);
                    skin.windowHeight = scaleToDpi(skin.designHeight, dpi);
                }
                skin.textFormats[element] = format;
                // Edges scale on their own, so elements that touch at 96 DPI touch at every scale.
                skin.rects[element] = RECT { scaleToDpi(rect.left, dpi), scaleToDpi(rect.top, dpi),
                    scaleToDpi(rect.right, dpi), scaleToDpi(rect.bottom, dpi) };
                buildElementShapes(child, element, POINT { rect.left, rect.top });
            }
        } else if (strcmp(name, "fonts") == 0) {
            readFonts(child);
        }
    });
}

} // namespace

void nodeBaseName(IXMLDOMNode* node, char* name)
{
    name[0] = '\0';
    if (node == nullptr)
        return;
    ScopedBstr text;
    if (node->get_baseName(text.out()) == S_OK)
        toAnsi(text.get(), name, kSkinTextLength);
}

void nodeText(IXMLDOMNode* node, char* text, size_t size)
{
    if (size > 0)
        text[0] = '\0';
    if (node == nullptr)
        return;
    ScopedBstr value;
    if (node->get_text(value.out()) == S_OK)
        toAnsi(value.get(), text, size);
}

char* nodeWholeText(IXMLDOMNode* node, size_t* length)
{
    *length = 0;
    ScopedBstr value;
    if (node == nullptr || node->get_text(value.out()) != S_OK || value.get() == nullptr)
        return nullptr;
    // Two bytes a character at most in the double-byte code pages: the length fits an int.
    const UINT characters = SysStringLen(value.get());
    if (characters == 0 || characters > INT_MAX / 2)
        return nullptr;
    const int needed = WideCharToMultiByte(CP_ACP, 0, value.get(), int(characters), nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return nullptr;
    char* text = new (std::nothrow) char[size_t(needed) + 1];
    if (text == nullptr)
        return nullptr;
    const int written = WideCharToMultiByte(CP_ACP, 0, value.get(), int(characters), text, needed, nullptr, nullptr);
    *length = written > 0 ? size_t(written) : 0;
    text[*length] = '\0';
    return text;
}

void forEachChild(IXMLDOMNode* node, const std::function<void(IXMLDOMNode* child, const char* name)>& use)
{
    ComPointer<IXMLDOMNode> child;
    if (node->get_firstChild(child.out()) != S_OK)
        return;
    while (child.get() != nullptr) {
        char name[kSkinTextLength];
        nodeBaseName(child.get(), name);
        use(child.get(), name);
        ComPointer<IXMLDOMNode> next;
        if (child->get_nextSibling(next.out()) != S_OK)
            next.reset();
        child.reset(next.release());
    }
}

void forEachAttribute(IXMLDOMNode* node, const std::function<void(const char* name, const char* value)>& use)
{
    ComPointer<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (node->get_attributes(attributes.out()) == S_OK && attributes.get() != nullptr)
        attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
        ComPointer<IXMLDOMNode> attribute;
        if (attributes->get_item(i, attribute.out()) != S_OK)
            continue;
        char name[kSkinTextLength];
        char value[kSkinTextLength];
        nodeBaseName(attribute.get(), name);
        nodeText(attribute.get(), value, sizeof value);
        use(name, value);
    }
}

void readBox(IXMLDOMNode* node, RECT* rect, char* type, uint32_t* textFormat)
{
    *rect = RECT { 0, 0, 0, 0 };
    type[0] = '\0';
    *textFormat = kTextFormatDefault;
    forEachAttribute(node, [&](const char* name, const char* value) {
        if (strcmp(name, "x") == 0)
            rect->left = readSkinInteger(value);
        else if (strcmp(name, "y") == 0)
            rect->top = readSkinInteger(value);
        else if (strcmp(name, "width") == 0)
            rect->right = readSkinInteger(value);
        else if (strcmp(name, "height") == 0)
            rect->bottom = readSkinInteger(value);
        else if (strcmp(name, "type") == 0)
            memcpy(type, value, kSkinTextLength);
        else if (strcmp(name, "textalign") == 0)
            *textFormat |= textFormatOfAlign(value);
    });
    rect->right = saturated(int64_t(rect->right) + rect->left);
    rect->bottom = saturated(int64_t(rect->bottom) + rect->top);
}

void readFonts(IXMLDOMNode* fonts)
{
    forEachChild(fonts, [](IXMLDOMNode* child, const char* name) {
        if (strcmp(name, "font") != 0)
            return;
        char face[kSkinTextLength] = "";
        char type[kSkinTextLength] = "";
        int32_t size = 0;
        bool bold = false;
        uint32_t color = 0;
        forEachAttribute(child, [&](const char* attributeName, const char* value) {
            if (strcmp(attributeName, "type") == 0)
                memcpy(type, value, kSkinTextLength);
            else if (strcmp(attributeName, "face") == 0)
                memcpy(face, value, kSkinTextLength);
            else if (strcmp(attributeName, "size") == 0)
                size = readSkinInteger(value);
            else if (strcmp(attributeName, "bold") == 0)
                bold = strcmp(value, "true") == 0;
            else if (strcmp(attributeName, "color") == 0)
                color = readSkinColor(value);
        });
        ScopedFont font;
        if (size != 0) {
            // A character height, not a cell height: hence the negative height.
            const int32_t height = scaleToDpi(size, skin.dpi);
            font.reset(CreateFontA(height == INT32_MIN ? INT32_MAX : -height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                DEFAULT_PITCH | FF_DONTCARE, face));
        }
        const uint32_t slot = skinFontOfType(type);
        if (slot != kNoSkinSlot) {
            if (skin.fonts[slot] != nullptr)
                DeleteObject(skin.fonts[slot]);
            skin.fonts[slot] = font.release();
            skin.fontColors[slot] = color;
        }
    });
}

// The file's bytes as the document's source: the document reads its encoding from them as from
// the file, without the URL binding its load of a path goes through (a thread, a window and
// several libraries before the window can show). Empty when the file cannot be read whole.
VARIANT skinFileBytes(const char* path)
{
    VARIANT bytes;
    VariantInit(&bytes);
    const ScopedFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size {};
    // Far more than any skin holds: a larger file is left to the document's own reading.
    constexpr LONGLONG kLargestRead = 4 * 1024 * 1024;
    if (!file.isOpen() || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestRead)
        return bytes;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, ULONG(size.QuadPart));
    if (array == nullptr)
        return bytes;
    void* data = nullptr;
    DWORD read = 0;
    bool whole = false;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        whole = ReadFile(file.get(), data, DWORD(size.QuadPart), &read, nullptr) && read == DWORD(size.QuadPart);
        SafeArrayUnaccessData(array);
    }
    if (!whole) {
        SafeArrayDestroy(array);
        return bytes;
    }
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = array;
    return bytes;
}

IXMLDOMDocument* openSkinDocument(const char* path)
{
    ComPointer<IXMLDOMDocument> document(createDomDocument());
    if (document.get() == nullptr)
        return nullptr;
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_FALSE);

    VARIANT source = skinFileBytes(path);
    if (source.vt == VT_EMPTY) {
        // The document reads the file itself, and says why it cannot.
        wchar_t widePath[MAX_PATH + 1];
        if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH + 1) == 0)
            widePath[0] = L'\0';
        source.vt = VT_BSTR;
        source.bstrVal = SysAllocString(widePath);
    }
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT result
        = source.vt != VT_BSTR || source.bstrVal != nullptr ? document->load(source, &loaded) : E_OUTOFMEMORY;
    VariantClear(&source);
    if (result == S_OK && loaded == VARIANT_TRUE)
        return document.release();
    reportParseError(document.get(), path);
    return nullptr;
}

void deferSkinPicture(uint32_t element, uint32_t state, const char* path, POINT corner)
{
    DeferredPicture picture { element, state, {}, corner };
    snprintf(picture.path, sizeof picture.path, "%s", path);
    deferredPictures.push_back(picture);
}

void forgetDeferredSkinPicture(uint32_t element, uint32_t state)
{
    std::erase_if(deferredPictures,
        [&](const DeferredPicture& picture) { return picture.element == element && picture.state == state; });
}

HBITMAP skinPicture(uint32_t element, uint32_t state)
{
    HBITMAP& slot = skin.images[element][state];
    if (slot != nullptr)
        return slot;
    const auto waiting = std::find_if(deferredPictures.begin(), deferredPictures.end(),
        [&](const DeferredPicture& picture) { return picture.element == element && picture.state == state; });
    if (waiting == deferredPictures.end())
        return nullptr;
    // Tried once: a picture that cannot be decoded is not read again at every paint.
    const DeferredPicture picture = *waiting;
    deferredPictures.erase(waiting);
    loadSkinPicture(picture.element, picture.state, picture.path, picture.corner);
    return slot;
}

void prepareSkinReader()
{
    skinReaderTried = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (skinReaderTried == nullptr)
        return;
    if (HANDLE thread
        = CreateThread(nullptr, 64 * 1024, loadSkinReader, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr))
        CloseHandle(thread);
}

void releaseSkin()
{
    deferredPictures.clear();
    for (uint32_t element = 0; element < kSkinElementCount; ++element) {
        for (uint32_t state = 0; state < kButtonStateCount; ++state) {
            if (skin.images[element][state] != nullptr)
                DeleteObject(skin.images[element][state]);
        }
        if (skin.regions[element] != nullptr)
            DeleteObject(skin.regions[element]);
    }
    for (uint32_t font = 0; font < kSkinFontCount; ++font) {
        if (skin.fonts[font] != nullptr)
            DeleteObject(skin.fonts[font]);
    }
    memset(&skin, 0, sizeof skin);
}

HRGN copyWindowRegion()
{
    if (skin.regions[kElementMainWindow] == nullptr)
        return nullptr;
    ScopedRegion copy(CreateRectRgn(0, 0, 0, 0));
    if (copy.get() == nullptr || CombineRgn(copy.get(), skin.regions[kElementMainWindow], nullptr, RGN_COPY) == ERROR)
        return nullptr;
    return copy.release();
}

namespace {

// The description of skin.xml at `path` into the record.
bool readSkinDocument(const char* path)
{
    ComPointer<IXMLDOMDocument> document(openSkinDocument(path));
    if (document.get() == nullptr)
        return false;
    // The declaration is the first top-level node and the description must follow it at
    // once: a document without the declaration, or with anything between, is no skin.
    ComPointer<IXMLDOMNode> first;
    if (document->get_firstChild(first.out()) != S_OK || first.get() == nullptr)
        return false;
    ComPointer<IXMLDOMNode> root;
    if (first->get_nextSibling(root.out()) != S_OK)
        root.reset();
    char rootName[kSkinTextLength];
    nodeBaseName(root.get(), rootName);
    if (strcmp(rootName, "skin") != 0) {
        reportError(kErrorSkinRoot);
        return false;
    }
    readSkinChildren(root.get());
    static_assert(sizeof(SkinRect) == sizeof(RECT));
    placeYearElements(
        reinterpret_cast<SkinRect*>(skin.rects), skin.textFormats, skin.windowWidth, skin.windowHeight, skin.dpi);
    return true;
}

} // namespace

bool loadSkin(const char* name, uint32_t dpi)
{
    releaseSkin();
    skin.dpi = dpi;
    snprintf(skin.folder, sizeof skin.folder, "%s%s\\", programDirectory, name);
    char path[260];
    snprintf(path, sizeof path, "%sskin.xml", skin.folder);
    const bool loaded = readSkinDocument(path);
    // Until the next skin the XML library is not needed: with its document gone, the system may
    // unload it.
    CoFreeUnusedLibrariesEx(0, 0);
    return loaded;
}

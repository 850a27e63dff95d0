#pragma once
// Reading skin.xml through the platform's XML document object: the pieces loadSkin is built
// from, and the shapes and pictures of one region element.
#include <windows.h>
#include <msxml2.h>

#include <cstddef>
#include <cstdint>
#include <functional>

// Loads `path` into a new DOM document (version 6.0, else 4.0, else 3.0); null on failure. A
// parse failure is reported at once (0x4000001b with line, column, file name and reason); a
// document object that cannot be created is left pending (0xC0000020), so start-up tells it
// once, however many skins it tries.
IXMLDOMDocument* openSkinDocument(const char* path);

// The node's local name (namespace prefix dropped) as ANSI text of at most 259 bytes; empty
// for a null node or a node without a name.
void nodeBaseName(IXMLDOMNode* node, char* name);
// The node's text content as ANSI text of at most `size` - 1 bytes; empty for a null node.
void nodeText(IXMLDOMNode* node, char* text, size_t size);
// The node's whole text content as ANSI text, however long, in a new buffer that the caller
// frees with delete[]; its length in `length`. Null (length 0) for a node without text or when
// the memory cannot be had.
char* nodeWholeText(IXMLDOMNode* node, size_t* length);

// Calls `use` for each child node of `node` in document order, with its local name.
void forEachChild(IXMLDOMNode* node, const std::function<void(IXMLDOMNode* child, const char* name)>& use);
// Calls `use` for each attribute of `node` in document order, with its local name and its text
// (each in a buffer of 260 bytes).
void forEachAttribute(IXMLDOMNode* node, const std::function<void(const char* name, const char* value)>& use);

// The rectangle (right and bottom as edges), type text (260 bytes) and DrawText format of an
// element's attributes.
void readBox(IXMLDOMNode* node, RECT* rect, char* type, uint32_t* textFormat);

// The font elements of a fonts element into the skin's font slots.
void readFonts(IXMLDOMNode* fonts);

// The shapes and pictures of a region element into slot `element`, whose rectangle is stored
// already; the slot's old outline is discarded first. `corner` is the element's top-left
// corner at 96 DPI: shapes and pictures are placed from it, then scaled to the skin's dpi.
void buildElementShapes(IXMLDOMNode* region, uint32_t element, POINT corner);
void loadButtonImage(IXMLDOMNode* image, uint32_t element, POINT corner);
// The picture file at `path` into the empty slot of `element` and `state`, placed from `corner`.
void loadSkinPicture(uint32_t element, uint32_t state, const char* path, POINT corner);
// Notes where the picture is, for skinPicture to decode when it is first asked for.
void deferSkinPicture(uint32_t element, uint32_t state, const char* path, POINT corner);
// Drops a kept picture of `element` and `state`: a later image of the same state replaces it.
void forgetDeferredSkinPicture(uint32_t element, uint32_t state);
void addEllipse(IXMLDOMNode* shape, uint32_t element, POINT corner);
void addRectangle(IXMLDOMNode* shape, uint32_t element, POINT corner);
void addPolyline(IXMLDOMNode* shape, uint32_t element, POINT corner);

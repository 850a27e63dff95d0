#pragma once
// Texts of the language module with places for figures: "%1" to "%9" stand for the inserts
// in order and "%%" for a percent sign. The module's texts are never used as printf formats.
#include <cstddef>

// Writes `pattern` with its inserts filled into `text` (at most `size` bytes with the end
// mark). An insert that was not given is left out, as is a lone "%" at the end.
void fillInserts(const char* pattern, const char* const* inserts, int count, char* text, size_t size);

// The language string `id` with its inserts filled, appended to `text` after a line break
// when `text` is not empty. A missing string adds nothing.
void appendLanguageLine(char* text, size_t size, unsigned id, const char* const* inserts = nullptr, int count = 0);

// The older texts of the module (the dialogs' labels, the export's texts) have "%s" places:
// `format` with its first "%s" replaced by `value`; every other character is copied as it
// stands, so a stray '%' in a translated label cannot misread arguments.
void fillLabelFormat(const char* format, const char* value, char* out, size_t size);

// The same with `count` values for the first `count` "%s" of `format`, in order; the values
// themselves are never searched, so a "%s" inside one stays as it is.
void fillTextFormat(const char* format, const char* const* values, int count, char* out, size_t size);

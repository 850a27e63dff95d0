#pragma once
// The few ways the portable code reaches the system. The programs link the Win32
// implementation (core/platform_win.cpp, a leaf that asks nothing of the rest of the program);
// the unit tests link fakes they can steer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/apperror.h"
#include "core/localtime.h"

LocalTime localTimeNow();

// Milliseconds since an arbitrary start, never going back and unmoved by changes of the
// wall clock: the measure of elapsed time.
uint64_t monotonicMilliseconds();

// Primary language id of the user's default language (low 8 bits of the language id).
uint16_t userDefaultLanguage();

// The full path of the running executable; false when it cannot be had or does not fit.
bool executablePath(char* path, size_t size);

// A string of the executable's own string table (file names); false when it is missing.
bool programString(uint32_t id, char* buffer, size_t size);

// A string of the language module; an empty text and false when it is missing.
bool languageString(uint32_t id, char* buffer, size_t size);

// Message `code` of the language module, formatted with `arguments` (none: no inserts).
// Returns the length written; 0 leaves `buffer` empty.
size_t formatLanguageMessage(uint32_t code, const uintptr_t* arguments, char* buffer, size_t size);

// The system's own text of a system error code. The inserts of such a text name the file or
// item that failed; they are filled with `subject`, or left as they stand when it is empty.
size_t systemErrorText(uint32_t error, const char* subject, char* buffer, size_t size);

uint32_t lastSystemError();
void setLastSystemError(uint32_t error);

enum class MessageIcon { information, warning, error };

// A task-modal box with one OK button and no owner.
void showMessageBox(const char* text, const char* caption, MessageIcon icon);

// Flushes a completely written temporary file to the disk and moves it over `target`,
// replacing it in one step.
bool replaceFile(const char* temporary, const char* target);

enum class FileRead { read, cannotOpen, unreadable };

// Reads the whole file at `path` into `bytes` and closes it at once. Others may read, write,
// rename and delete the file meanwhile: a reader (another telvane writing an export, say) never
// keeps the program from replacing one of its files.
FileRead readWholeFile(const char* path, std::string& bytes);

#pragma once
#include <cstddef>
#include <cstdint>

// The folder of the executable with its trailing backslash; every file of the program
// (settings, tariffs, month logs, skins, language modules) lies in it.
extern char programDirectory[260];
extern uint32_t programDirectoryLength;

// Fills programDirectory from the executable's full path: everything up to and including
// the last backslash (empty when there is none).
void setProgramDirectoryFromPath(const char* executablePath);

// Fills programDirectory from the running executable's path.
void findProgramDirectory();

// programDirectory + `name` into `path` (260 bytes); false when it does not fit.
bool buildPathBeside(const char* name, char* path, size_t size);

// programDirectory + the program's string `stringId` (a file name) into a 260-byte path.
// A missing string sets AppError 0x40000002 with %1 = the id and %3 = language string 104.
bool buildProgramFilePath(uint32_t stringId, char* path, size_t size);

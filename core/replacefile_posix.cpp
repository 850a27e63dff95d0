#include <cstdio>

#include "core/platform.h"

bool replaceFile(const char* temporary, const char* target) { return rename(temporary, target) == 0; }

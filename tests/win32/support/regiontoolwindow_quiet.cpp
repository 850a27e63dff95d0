// The region tool's window seam for the Win32 tests, which use its model without its window:
// status texts, repaints, clipboard and messages go nowhere.
#include "rimcutter/regiontoolwindow.h"

void setToolStatusText(int, const char*) {}
void repaintToolWindow() {}
void putTextOnClipboard(const char*, size_t) {}
void showToolMessage(const char*) {}

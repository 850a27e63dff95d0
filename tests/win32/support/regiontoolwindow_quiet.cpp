// The region tool's window seam for the Win32 tests, which use its model without its window:
// status texts, repaints, clipboard, messages and questions go nowhere.
#include "rimcutter/regiontoolwindow.h"

void setToolStatusText(int, const char*) { }
void repaintToolWindow() { }
bool putTextOnClipboard(const char*, size_t) { return false; }
void showToolMessage(const char*) { }
bool askToolQuestion(const char*) { return false; }

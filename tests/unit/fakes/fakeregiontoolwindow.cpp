#include "fakes/fakeregiontoolwindow.h"

#include "rimcutter/regiontoolwindow.h"

FakeToolWindow fakeToolWindow;

void resetFakeToolWindow() { fakeToolWindow = FakeToolWindow{}; }

void setToolStatusText(int part, const char* text) { fakeToolWindow.status[part] = text; }

void repaintToolWindow() { ++fakeToolWindow.repaints; }

void putTextOnClipboard(const char* text, size_t length)
{
    fakeToolWindow.clipboardSet = text != nullptr;
    fakeToolWindow.clipboard = text != nullptr ? std::string(text, length) : std::string();
}

void showToolMessage(const char* text) { fakeToolWindow.messages.emplace_back(text); }

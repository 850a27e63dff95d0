#include "fakes/fakeregiontoolwindow.h"

#include "rimcutter/regiontoolwindow.h"

FakeToolWindow fakeToolWindow;

void resetFakeToolWindow() { fakeToolWindow = FakeToolWindow {}; }

void setToolStatusText(int part, const char* text) { fakeToolWindow.status[part] = text; }

void repaintToolWindow() { ++fakeToolWindow.repaints; }

bool putTextOnClipboard(const char* text, size_t length)
{
    fakeToolWindow.clipboardSet = text != nullptr && !fakeToolWindow.clipboardFails;
    fakeToolWindow.clipboard = fakeToolWindow.clipboardSet ? std::string(text, length) : std::string();
    return fakeToolWindow.clipboardSet;
}

void showToolMessage(const char* text) { fakeToolWindow.messages.emplace_back(text); }

bool askToolQuestion(const char* text)
{
    fakeToolWindow.questions.emplace_back(text);
    return fakeToolWindow.answer;
}

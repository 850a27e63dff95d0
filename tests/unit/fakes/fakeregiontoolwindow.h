#pragma once
// A stand-in for rimcutter's window: remembers what the region tool model showed on it.
#include <string>
#include <vector>

struct FakeToolWindow {
    std::string status[2];
    int repaints = 0;
    bool clipboardSet = false;
    std::string clipboard;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    bool answer = false; // what every question is answered
    bool clipboardFails = false;
};

extern FakeToolWindow fakeToolWindow;

void resetFakeToolWindow();

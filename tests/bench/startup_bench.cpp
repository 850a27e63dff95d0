// Start-up to a visible window: telvane and the bench's bare window of the same size, started
// one after the other (so that drift of the machine affects both alike), each timed from
// CreateProcess until its window is visible and its thread answers a message, which it does once
// the window has been shown and painted and the program waits in its loop. Prints the medians
// and their ratio. A Windows program: run it under Wine through tools/bench startup.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Program {
    const char* path;
    const char* arguments;
    const char* windowClass;
    bool telvane; // ends on the session's end (it would ask before an ordinary close)
};

double secondsSince(const LARGE_INTEGER& from)
{
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return double(value.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart - from.QuadPart) / frequency;
}

// Milliseconds to a visible, answering window; a negative value when the program failed.
double timeStart(const Program& program)
{
    char commandLine[2 * MAX_PATH];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %s", program.path, program.arguments);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%s", program.path);
    if (char* slash = strrchr(folder, '\\'))
        *slash = '\0';
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    while (secondsSince(start) < 30) {
        window = FindWindowA(program.windowClass, nullptr);
        if (window != nullptr && IsWindowVisible(window)) {
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer))
                elapsed = secondsSince(start) * 1000;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    if (window != nullptr) {
        if (program.telvane)
            SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 30000, nullptr);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        elapsed = -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Whatever the program left behind settles before the next one starts.
    Sleep(300);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        fputs("usage: startup_bench TELVANE.EXE BAREWINDOW.EXE WIDTH HEIGHT [STARTS]\n", stderr);
        return 2;
    }
    const int starts = argc > 5 ? atoi(argv[5]) : 11;
    char size[32];
    snprintf(size, sizeof size, "%s %s", argv[3], argv[4]);
    const Program telvane = { argv[1], "", "VekMwCl", true };
    const Program bare = { argv[2], size, "TelvaneBenchBareWindow", false };
    // One start of each first, unmeasured: the files and libraries come into the cache.
    timeStart(telvane);
    timeStart(bare);
    std::vector<double> telvaneMs, bareMs;
    for (int i = 0; i < starts; ++i) {
        const double t = timeStart(telvane);
        const double b = timeStart(bare);
        if (t < 0 || b < 0) {
            fprintf(stderr, "startup_bench: start %d failed (telvane %.0f ms, bare window %.0f ms)\n", i + 1, t, b);
            return 1;
        }
        telvaneMs.push_back(t);
        bareMs.push_back(b);
        printf("start %2d: telvane %6.1f ms, bare window %6.1f ms\n", i + 1, t, b);
    }
    const double telvaneMedian = median(telvaneMs), bareMedian = median(bareMs);
    printf("median of %d: telvane %.1f ms, bare window %.1f ms, ratio %.2f (at most 1.3 wanted)\n", starts,
        telvaneMedian, bareMedian, telvaneMedian / bareMedian);
    return 0;
}

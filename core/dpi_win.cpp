#include "core/dpi_win.h"

#include "core/scoped_win.h"

namespace {

constexpr uint32_t kDefaultDpi = 96;

// A function of a system library that older Windows lack: null there.
template <typename Function> Function systemFunction(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr)
        module = LoadLibraryA(library); // kept loaded: its function is kept too
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                             : nullptr;
}

uint32_t orDefault(uint32_t dpi) { return dpi != 0 ? dpi : kDefaultDpi; }

} // namespace

uint32_t systemDpi()
{
    const ScopedWindowDc screen(nullptr);
    return orDefault(screen.get() != nullptr ? uint32_t(GetDeviceCaps(screen.get(), LOGPIXELSY)) : 0);
}

uint32_t monitorDpi(HMONITOR monitor)
{
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = systemFunction<GetDpiForMonitorFunction>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    // Type 0 is the effective scale: the one the user chose for the monitor.
    if (monitor != nullptr && getDpiForMonitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)))
        return orDefault(y);
    return systemDpi();
}

uint32_t windowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr)
        return orDefault(getDpiForWindow(window));
    return monitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

HFONT createStatusFont(uint32_t dpi)
{
    using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto parametersForDpi
        = systemFunction<ParametersForDpiFunction>("user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi != nullptr && parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return CreateFontIndirectW(&metrics.lfStatusFont);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, int(dpi), int(systemDpi()));
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

void adjustWindowRectAt(RECT* rect, DWORD style, DWORD exStyle, uint32_t dpi)
{
    using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustForDpiFunction>("user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

// The application manifest of the shipped programs as Windows reads it: the system's own
// activation context is made from each program's manifest resource and asked what it says.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "win32/support/distpath.h"

namespace {

// {35138b9a-5d96-4fbd-8e2d-a2440225f93a} Windows 7, {4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}
// Windows 8, {1f676c76-80e1-4239-95bb-83d0f6d0da78} Windows 8.1, {8e0f7a12-bfb3-4fe8-b9a5-
// 48fd50a15a9a} Windows 10 and 11.
const GUID kSupportedSystems[] = {
    { 0x35138b9a, 0x5d96, 0x4fbd, { 0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a } },
    { 0x4a2f28e3, 0x53b9, 0x4441, { 0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38 } },
    { 0x1f676c76, 0x80e1, 0x4239, { 0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78 } },
    { 0x8e0f7a12, 0xbfb3, 0x4fe8, { 0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a } },
};

// A setting of the windowsSettings namespace of 2005 (dpiAware) or 2016 (dpiAwareness).
// The compatibility record as Windows 10 (1903 on) and Wine give it: each element ends with the
// highest version tested, so elements lie 32 bytes apart (the older headers know 20).
struct CompatibilityElement {
    GUID id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE type;
    ULONGLONG maxVersionTested;
};
struct CompatibilityInformation {
    DWORD count;
    CompatibilityElement elements[1];
};

std::wstring setting(HANDLE context, const wchar_t* space, const wchar_t* name)
{
    wchar_t value[128] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, space, name, value, sizeof value / sizeof value[0], &written))
        return L"(none)";
    return value;
}

TEST(Manifest, BothProgramsDeclareCommonControlsScaleSystemsAndLevel)
{
    for (const char* program : { "telvane.exe", "rimcutter.exe" }) {
        SCOPED_TRACE(program);
        const std::string path = distPath(program);
        ACTCTXA request {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path.c_str();
        request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no manifest the system can read, error " << GetLastError();

        // Per-monitor v2 where Windows 10 knows it, per-monitor before; Windows 8.1 and older
        // read dpiAware.
        EXPECT_EQ(setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2, PerMonitor");
        EXPECT_EQ(setting(context, nullptr, L"dpiAware"), L"true/pm");

        SIZE_T needed = 0;
        QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, nullptr, 0, &needed);
        std::vector<uint8_t> buffer(
            needed > sizeof(CompatibilityInformation) ? needed : sizeof(CompatibilityInformation));
        ASSERT_TRUE(QueryActCtxW(
            0, context, nullptr, CompatibilityInformationInActivationContext, buffer.data(), buffer.size(), &needed));
        const auto* compatibility = reinterpret_cast<const CompatibilityInformation*>(buffer.data());
        ASSERT_GE(
            needed, offsetof(CompatibilityInformation, elements) + compatibility->count * sizeof(CompatibilityElement));
        std::vector<GUID> systems;
        for (DWORD i = 0; i < compatibility->count; ++i) {
            if (compatibility->elements[i].type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
                systems.push_back(compatibility->elements[i].id);
        }
        ASSERT_EQ(systems.size(), 4u);
        for (size_t i = 0; i < systems.size(); ++i)
            EXPECT_TRUE(IsEqualGUID(systems[i], kSupportedSystems[i])) << "system " << i;

        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level {};
        ASSERT_TRUE(
            QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, &needed));
        EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
        EXPECT_EQ(level.UiAccess, 0u);

        // Common controls 6: with the context active, comctl32.dll is redirected to version 6.
        ULONG_PTR cookie = 0;
        ASSERT_TRUE(ActivateActCtx(context, &cookie));
        ACTCTX_SECTION_KEYED_DATA found {};
        found.cbSize = sizeof found;
        EXPECT_TRUE(
            FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &found));
        DeactivateActCtx(0, cookie);
        ReleaseActCtx(context);
    }
}

} // namespace

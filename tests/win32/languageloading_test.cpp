// Loading and exchanging the language module, and the error and crash boxes built from its
// messages through the program's real Win32 seam.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/languageswap.h"
#include "core/apperror.h"
#include "core/crashfilter.h"
#include "core/language.h"
#include "core/messagebox_win.h"
#include "core/programdirectory.h"
#include "tariff/settings.h"
#include "ui/mainwindowstate.h"
#include "win32/support/distpath.h"

namespace {

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<ShownBox> shownBoxes;
int boxAnswer = IDOK;

int WINAPI recordBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    shownBoxes.push_back({ text ? text : "", caption ? caption : "", type });
    return boxAnswer;
}

std::string moduleFileName(HMODULE module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    const char* slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// Every test starts without a language module, in a program folder of its own, with boxes
// recorded instead of shown; the program-wide state is put back afterwards.
class LanguageState : public testing::Test {
protected:
    void SetUp() override
    {
        savedModule = LanguageModule;
        savedStandIn = LanguageStandInFor;
        LanguageStandInFor = 0;
        savedSettings = settings;
        memcpy(savedDirectory, programDirectory, sizeof savedDirectory);
        savedBoxFunction = messageBoxFunction;
        messageBoxFunction = recordBox;
        shownBoxes.clear();
        boxAnswer = IDOK;
        LanguageModule = nullptr;
        AppError = kNothingPending;
        memset(&MessageArguments, 0, sizeof MessageArguments);

        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "telvane-language-" + testing::UnitTest::GetInstance()->current_test_info()->name()
            + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        setProgramDirectoryFromPath((folder + "telvane.exe").c_str());
    }

    void TearDown() override
    {
        for (HMODULE module : loaded)
            while (FreeLibrary(module)) { }
        DeleteFileA((folder + "english.dll").c_str());
        DeleteFileA((folder + "deutsch.dll").c_str());
        RemoveDirectoryA(folder.c_str());
        LanguageModule = savedModule;
        LanguageStandInFor = savedStandIn;
        settings = savedSettings;
        memcpy(programDirectory, savedDirectory, sizeof savedDirectory);
        programDirectoryLength = uint32_t(strlen(programDirectory));
        messageBoxFunction = savedBoxFunction;
        SetLastError(0);
    }

    void provide(const char* file) { ASSERT_TRUE(CopyFileA(distPath(file).c_str(), (folder + file).c_str(), FALSE)); }

    // Remembers the module so it is released after the test even when an expectation fails.
    HMODULE current()
    {
        if (LanguageModule != nullptr)
            loaded.push_back(LanguageModule);
        return LanguageModule;
    }

    HMODULE savedModule = nullptr;
    uint32_t savedStandIn = 0;
    Settings savedSettings {};
    char savedDirectory[sizeof programDirectory] = "";
    MessageBoxFunction savedBoxFunction = nullptr;
    std::string folder;
    std::vector<HMODULE> loaded;
};

TEST_F(LanguageState, LanguagesOtherThanGermanGetTheEnglishModule)
{
    provide("english.dll");
    provide("deutsch.dll");
    for (uint16_t language : { uint16_t(9), uint16_t(12), uint16_t(0x19) }) {
        LanguageModule = nullptr;
        settings.languageId = 7;
        ASSERT_TRUE(swapLanguage(nullptr, language)) << language;
        EXPECT_EQ(moduleFileName(current()), "english.dll") << language;
        // The user's own language stays stored, so neither language item is ticked.
        EXPECT_EQ(settings.languageId, language);
        FreeLibrary(LanguageModule);
    }
    LanguageModule = nullptr;
    ASSERT_TRUE(swapLanguage(nullptr, 7));
    EXPECT_EQ(moduleFileName(current()), "deutsch.dll");
}

TEST_F(LanguageState, LanguageZeroLoadsTheStoredLanguage)
{
    provide("english.dll");
    provide("deutsch.dll");
    settings.languageId = 7;
    ASSERT_TRUE(swapLanguage(nullptr, 0));
    EXPECT_EQ(moduleFileName(current()), "deutsch.dll");
    EXPECT_EQ(settings.languageId, 7);
}

TEST_F(LanguageState, AFailedExchangeKeepsTheOldModule)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    HMODULE english = current();
    ASSERT_NE(english, nullptr);

    EXPECT_FALSE(swapLanguage(nullptr, 7)); // deutsch.dll is not there
    EXPECT_EQ(AppError, kErrorLanguageModule);
    EXPECT_EQ(LanguageModule, english);
    EXPECT_EQ(settings.languageId, 9);
    char text[64];
    EXPECT_GT(LoadStringA(LanguageModule, 20, text, sizeof text), 0) << "the old module still works";
    EXPECT_TRUE(shownBoxes.empty()) << "the caller reports the failure";
}

TEST_F(LanguageState, AnExchangeFreesTheOldModule)
{
    provide("english.dll");
    provide("deutsch.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    current();
    ASSERT_TRUE(swapLanguage(nullptr, 7));
    EXPECT_EQ(moduleFileName(current()), "deutsch.dll");
    EXPECT_EQ(settings.languageId, 7);
    EXPECT_EQ(GetModuleHandleA((folder + "english.dll").c_str()), nullptr);
    EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(LanguageState, TheSameLanguageOnlyReloadsTheShortcuts)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    HMODULE english = current();
    MainWindowState state {};
    state.window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(state.window, nullptr);
    DeleteFileA((folder + "english.dll").c_str()); // a reload would now fail
    EXPECT_TRUE(swapLanguage(&state, 9));
    EXPECT_EQ(LanguageModule, english);
    EXPECT_NE(state.accelerators, nullptr);
    DestroyAcceleratorTable(state.accelerators);
    DestroyWindow(state.window);
}

// Start-up asks for the stored language twice, the main window's creation once more; a
// failure is reported by each caller.
void askAsStartUpDoes()
{
    if (!swapLanguage(nullptr, 0))
        reportError(0);
    if (!swapLanguage(nullptr, 0))
        reportError(0);
    MainWindowState state {};
    state.window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!swapLanguage(&state, settings.languageId))
        reportError(0);
    if (state.accelerators != nullptr)
        DestroyAcceleratorTable(state.accelerators);
    DestroyWindow(state.window);
}

TEST_F(LanguageState, AModuleThatIsNotADllIsReportedOnceAndTheOtherStandsIn)
{
    FILE* file = fopen((folder + "english.dll").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("this is not a module", file);
    fclose(file);
    provide("deutsch.dll");
    settings.languageId = 9;
    askAsStartUpDoes();
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(moduleFileName(current()), "deutsch.dll");
    EXPECT_EQ(settings.languageId, 9) << "the next start tries english.dll again";
    EXPECT_EQ(shownBoxes[0].caption, "telvane - Warnung");
    const std::string lead
        = "Das Sprachmodul english.dll konnte nicht geladen werden, daher zeigt telvane die Texte aus "
          "deutsch.dll. Legen Sie ein funktionierendes english.dll in den Programmordner, um seine "
          "Sprache zur\xfc"
          "ckzubekommen.\r\n\r\nWindows meldet: ";
    EXPECT_EQ(shownBoxes[0].text.substr(0, lead.size()), lead);
    // The system's own text names the file instead of showing its insert.
    const std::string system = shownBoxes[0].text.substr(std::min(lead.size(), shownBoxes[0].text.size()));
    EXPECT_NE(system.find("english.dll"), std::string::npos) << system;
    EXPECT_EQ(system.find('%'), std::string::npos) << system;

    // Neither module usable: the built-in texts stand in; the one box has the program's name
    // for its caption and the system's text with the file named.
    while (FreeLibrary(LanguageModule)) { }
    LanguageModule = nullptr;
    LanguageStandInFor = 0;
    shownBoxes.clear();
    ASSERT_TRUE(CopyFileA((folder + "english.dll").c_str(), (folder + "deutsch.dll").c_str(), FALSE));
    askAsStartUpDoes();
    EXPECT_EQ(LanguageModule, nullptr);
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0].caption, "telvane");
    EXPECT_NE(shownBoxes[0].text.find("english.dll"), std::string::npos) << shownBoxes[0].text;
    EXPECT_EQ(shownBoxes[0].text.find('%'), std::string::npos) << shownBoxes[0].text;
}

// ---------------------------------------------------------------------------------------------
// Error boxes through the real seam

TEST_F(LanguageState, ReportErrorFormatsTheModulesMessageWithItsInserts)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    current();
    MessageArguments.number1 = 12;
    MessageArguments.number2 = 7;
    strcpy(MessageArguments.text1, "default\\skin.xml");
    strcpy(MessageArguments.text2, "End tag does not match start tag.");
    SetLastError(0);
    EXPECT_EQ(reportError(kErrorSkinParse), kErrorSkinParse);
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0].text,
        "The skin description could not be read.\r\n"
        "default\\skin.xml, line 12, column 7:\r\n"
        "End tag does not match start tag.");
    EXPECT_EQ(shownBoxes[0].caption, "telvane - Information");
    EXPECT_EQ(shownBoxes[0].type, UINT(MB_OK | MB_TASKMODAL | MB_ICONWARNING));
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_STREQ(MessageArguments.text1, "");
    EXPECT_STREQ(MessageArguments.text2, "");
}

TEST_F(LanguageState, ReportErrorAppendsTheSystemsTextOfTheLastError)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    current();
    SetLastError(ERROR_ACCESS_DENIED);
    reportError(kErrorSettingsCreate);
    ASSERT_EQ(shownBoxes.size(), 1u);
    const std::string lead = "The settings file could not be opened for writing. Your settings have not been saved."
                             "\r\n\r\nWindows reports: ";
    EXPECT_EQ(shownBoxes[0].text.substr(0, lead.size()), lead);
    EXPECT_GT(shownBoxes[0].text.size(), lead.size()) << "the system's own text follows";
    EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(LanguageState, GermanMessagesKeepTheirUmlautsAndInserts)
{
    provide("deutsch.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 7));
    current();
    // As the key-name step reports a missing table: %1 = 7, %3 = language string 103.
    MessageArguments.number1 = 7;
    LoadStringA(LanguageModule, 103, MessageArguments.text1, sizeof MessageArguments.text1);
    SetLastError(0);
    reportError(kErrorResourceMissing);
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0].text,
        "telvane findet eine seiner Ressourcen nicht: "
        "die Tastennamen-Tabelle des Sprachmoduls (Nummer 7).");
    EXPECT_EQ(shownBoxes[0].caption, "telvane - Information");
    reportError(kErrorMainWindow);
    ASSERT_EQ(shownBoxes.size(), 2u);
    EXPECT_EQ(shownBoxes[1].text, "Das Hauptfenster konnte nicht erzeugt werden. telvane muss beendet werden.");
    EXPECT_EQ(shownBoxes[1].caption, "telvane - Fehler");
    EXPECT_EQ(shownBoxes[1].type, UINT(MB_OK | MB_TASKMODAL | MB_ICONERROR));
}

// ---------------------------------------------------------------------------------------------
// Crash report

EXCEPTION_RECORD faultRecord(DWORD code, DWORD flags, std::vector<ULONG_PTR> parameters, ULONG_PTR address)
{
    EXCEPTION_RECORD record {};
    record.ExceptionCode = code;
    record.ExceptionFlags = flags;
    record.ExceptionAddress = reinterpret_cast<void*>(address);
    record.NumberParameters = DWORD(parameters.size());
    std::copy(parameters.begin(), parameters.end(), record.ExceptionInformation);
    return record;
}

TEST_F(LanguageState, CrashReportOfAWriteAccessViolation)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    current();
    const EXCEPTION_RECORD record
        = faultRecord(EXCEPTION_ACCESS_VIOLATION, 0, { 1, 0x00007FF612345678ull }, 0x0000000140001234ull);
    boxAnswer = IDYES;
    EXPECT_TRUE(askResumeAfterCrash(record));
    boxAnswer = IDNO;
    EXPECT_FALSE(askResumeAfterCrash(record));
    ASSERT_EQ(shownBoxes.size(), 2u);
    EXPECT_EQ(shownBoxes[0].text,
        "telvane has run into a serious error.\r\n\r\n"
        "The program accessed memory that it must not use (access violation).\r\n"
        "The memory was to be written.\r\n"
        "Address that could not be accessed: 0x00007FF612345678\r\n"
        "Address of the faulting instruction: 0x0000000140001234\r\n\r\n"
        "Do you want telvane to try to continue? Choose No to end it; changes not yet saved are then lost.");
    EXPECT_EQ(shownBoxes[0].caption, "telvane");
    EXPECT_EQ(shownBoxes[0].type, UINT(MB_YESNO | MB_ICONERROR | MB_TASKMODAL));
}

TEST_F(LanguageState, CrashReportOfANonContinuableBreakpoint)
{
    provide("deutsch.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 7));
    current();
    boxAnswer = IDYES; // not offered: the box has OK only
    EXPECT_FALSE(askResumeAfterCrash(faultRecord(EXCEPTION_BREAKPOINT, EXCEPTION_NONCONTINUABLE, {}, 0x401000)));
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_EQ(shownBoxes[0].text,
        "In telvane ist ein schwerer Fehler aufgetreten.\r\n\r\n"
        "Ein Haltepunkt wurde erreicht.\r\n"
        "Adresse des fehlerhaften Befehls: 0x0000000000401000\r\n\r\n"
        "telvane kann nicht fortfahren und wird jetzt beendet.");
    EXPECT_EQ(shownBoxes[0].type, UINT(MB_OK | MB_ICONERROR | MB_TASKMODAL));
}

TEST_F(LanguageState, ResumingAfterARaisedExceptionReturnsToTheRaiser)
{
    provide("english.dll");
    ASSERT_TRUE(swapLanguage(nullptr, 9));
    current();
    boxAnswer = IDYES;
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(crashFilter);
    const ULONG_PTR parameters[2] = { 0, 0x1234 };
    RaiseException(0xE0000042, 0, 2, parameters); // returns only when the filter resumes
    SetUnhandledExceptionFilter(previous);
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_NE(shownBoxes[0].text.find("The memory was to be read.\r\nAddress that could not be accessed: "
                                      "0x0000000000001234\r\n"),
        std::string::npos)
        << shownBoxes[0].text;
}

} // namespace

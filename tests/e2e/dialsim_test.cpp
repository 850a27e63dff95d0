// The connection monitor against the dial-up simulator, under Wine: real events, a real month
// file and the real loopback interface counters.
#include <winsock2.h>
#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/apperror.h"
#include "core/programdirectory.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "monitor/dialling.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "monitor/traffic.h"
#include "monitor/watcher.h"
#include "tariff/settings.h"

namespace {

std::string windowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path.size() > 1 && path[1] == ':' ? path : "Z:" + path;
}

const std::string kToolPath = windowsPath(DIALSIM_BUILD_DIR) + "\\dialsim.exe";

std::string scratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "telvane-dialsim\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += name;
    folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Runs the control tool and returns its exit code (-1 when it could not be started).
int dialsim(const std::string& arguments)
{
    std::string commandLine = "\"" + kToolPath + "\" " + arguments;
    // The tool's report (the new handle) is not needed here: its output goes nowhere.
    SECURITY_ATTRIBUTES inheritable { sizeof inheritable, nullptr, TRUE };
    HANDLE nowhere = CreateFileA(
        "NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nowhere;
    startup.hStdOutput = nowhere;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process {};
    const BOOL started
        = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nowhere);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}

// The event the program registers with the service. One for the whole run: a registration
// cannot be withdrawn, so its event must stay valid.
HANDLE connectionEvent()
{
    static HANDLE event = [] {
        HANDLE made = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        EXPECT_EQ(RasConnectionNotificationA(
                      static_cast<HRASCONN>(INVALID_HANDLE_VALUE), made, RASCN_Connection | RASCN_Disconnection),
            0u);
        return made;
    }();
    return event;
}

// Waits for the service's signal. The limit only keeps a broken simulator from hanging the run.
bool signalled() { return WaitForSingleObject(connectionEvent(), 20000) == WAIT_OBJECT_0; }

// Sends `datagrams` UDP datagrams of `size` bytes over the loopback interface and reads them.
bool sendLoopbackTraffic(int datagrams, int size)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    SOCKET receiver = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bool done = bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    std::string payload(size_t(size), 'x');
    std::string buffer(size_t(size), '\0');
    for (int i = 0; done && i < datagrams; ++i)
        done = sendto(sender, payload.data(), size, 0, reinterpret_cast<sockaddr*>(&address), sizeof address) == size
            && recv(receiver, buffer.data(), size, 0) == size;
    closesocket(sender);
    closesocket(receiver);
    WSACleanup();
    return done;
}

class DialsimTest : public testing::Test {
protected:
    void SetUp() override
    {
        // One state folder for the whole run: this process is registered as a listener in it.
        static const std::string stateFolder = scratchFolder("state");
        SetEnvironmentVariableA("DIALSIM_DIR", stateFolder.c_str());
        const std::string logFolder = scratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        DeleteFileA((logFolder + "log_" + monthText() + ".zip").c_str());
        setProgramDirectoryFromPath((logFolder + "telvane.exe").c_str());
        resetSettings();
        clearMonthCache();
        memset(&liveConnections, 0, sizeof liveConnections);

        ASSERT_EQ(dialsim("reset"), 0);
        connectionEvent();
        ResetEvent(connectionEvent());
    }
    void TearDown() override { clearMonthCache(); }

    static std::string monthText()
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char text[8];
        snprintf(text, sizeof text, "%04u%02u", now.wYear, now.wMonth);
        return text;
    }
    static uint32_t loggedSlices()
    {
        uint32_t count = 0;
        for (const LogRecord* record = currentMonth.records.head; record != nullptr; record = record->next)
            ++count;
        return count;
    }
};

TEST_F(DialsimTest, TheSimulatorIsTheLoadedRemoteAccessLibrary)
{
    // Wine's own library has many more exports; the simulator has the seven the program calls.
    HMODULE library = GetModuleHandleA("rasapi32.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(GetProcAddress(library, "RasDialA"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "RasGetConnectStatusA"), nullptr);
}

TEST_F(DialsimTest, AConnectionFromOutsideIsSignalledWatchedCountedAndLogged)
{
    ASSERT_EQ(dialsim("add \"Test ISP\""), 0);
    ASSERT_EQ(dialsim("connect \"Test ISP\""), 0);
    ASSERT_TRUE(signalled());

    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    const LiveConnection& record = *liveConnectionAt(0);
    EXPECT_STREQ(record.entryName, "Test ISP");
    EXPECT_STREQ(record.ipAddress, "127.0.0.1");
    ASSERT_NE(record.lastInPackets, kNoReadingYet) << "no loopback row in the address table";

    // 200 datagrams of 1000 bytes pass the loopback interface twice over (out and in);
    // whatever else uses it only adds to that.
    ASSERT_TRUE(sendLoopbackTraffic(200, 1000));
    ASSERT_TRUE(updateTraffic(TrafficReading::tick));
    EXPECT_GE(record.bytesReceived, 200000u);
    EXPECT_GE(record.bytesSent, 200000u);
    EXPECT_GE(record.packetsReceived, 200u);
    EXPECT_NE(record.receiveRateHistory[0], 0u);
    const uint32_t received = record.bytesReceived;

    ASSERT_EQ(dialsim("hangup \"Test ISP\""), 0);
    ASSERT_TRUE(signalled());
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 0u);
    ASSERT_EQ(loggedSlices(), 1u);

    // The month file holds the slice: read it back from disk.
    clearMonthCache();
    ASSERT_TRUE(loadMonth(0));
    ASSERT_NE(currentMonth.records.head, nullptr);
    EXPECT_EQ(currentMonth.records.head->rx, received);
    EXPECT_EQ(currentMonth.records.head->next, nullptr);
}

TEST_F(DialsimTest, DialOrHangUpDialsAnIdleEntryAndHangsUpAConnectedOne)
{
    ASSERT_EQ(dialsim("add Modem --delay 300"), 0);
    ASSERT_EQ(dialOrHangUp("Modem"), 0u);
    ASSERT_TRUE(signalled());
    ASSERT_TRUE(rescanConnections());
    ASSERT_TRUE(isEntryConnected("Modem"));

    ASSERT_EQ(dialOrHangUp("Modem"), 0u);
    ASSERT_TRUE(signalled());
    ASSERT_TRUE(rescanConnections());
    EXPECT_FALSE(isEntryConnected("Modem"));
    EXPECT_EQ(loggedSlices(), 1u);
}

// A failed dial gives its error, and the service's text for it, to tell the user.
TEST_F(DialsimTest, DiallingNeedsNoStoredParametersAndAFailureGivesTheServicesText)
{
    ASSERT_EQ(dialsim("add Bare --no-stored-parameters"), 0);
    ASSERT_EQ(dialsim("add Busy --fail 678"), 0);
    EXPECT_EQ(dialOrHangUp("Busy"), 678u);
    EXPECT_EQ(AppError, kNothingPending);
    char text[256];
    ASSERT_TRUE(remoteAccessErrorText(678, text, sizeof text));
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    EXPECT_STREQ(text, german ? "Der Remotecomputer hat nicht geantwortet." : "The remote computer did not respond.");
    EXPECT_FALSE(remoteAccessErrorText(5, text, sizeof text)); // no remote-access error
    EXPECT_STREQ(text, "");
    ASSERT_EQ(dialOrHangUp("Bare"), 0u);
    ASSERT_TRUE(signalled());
    ASSERT_TRUE(rescanConnections());
    EXPECT_TRUE(isEntryConnected("Bare"));
    EXPECT_FALSE(isEntryConnected("Busy"));
    EXPECT_EQ(liveConnectionCount(), 1u);
}

TEST_F(DialsimTest, AConnectionWithoutIpProjectionIsWatchedWithoutAddress)
{
    ASSERT_EQ(dialsim("add Silent --no-ip"), 0);
    ASSERT_EQ(dialsim("connect Silent"), 0);
    ASSERT_TRUE(signalled());
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    EXPECT_STREQ(liveConnectionAt(0)->ipAddress, "");
    EXPECT_EQ(liveConnectionAt(0)->lastInPackets, kNoReadingYet);
}

TEST_F(DialsimTest, TheSimulatorKeepsThePlatformsBufferRules)
{
    ASSERT_EQ(dialsim("add One"), 0);
    ASSERT_EQ(dialsim("add Two --ip 10.1.2.3"), 0);
    ASSERT_EQ(dialsim("connect One"), 0);
    ASSERT_EQ(dialsim("connect Two"), 0);

    RASCONNA connections[2] = {};
    DWORD bytes = sizeof connections[0];
    DWORD count = 0;
    connections[0].dwSize = sizeof connections[0] - 1;
    EXPECT_EQ(RasEnumConnectionsA(connections, &bytes, &count), DWORD(ERROR_INVALID_SIZE));
    connections[0].dwSize = sizeof connections[0];
    EXPECT_EQ(RasEnumConnectionsA(connections, &bytes, &count), DWORD(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(bytes, 2 * sizeof(RASCONNA));
    ASSERT_EQ(RasEnumConnectionsA(connections, &bytes, &count), 0u);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(connections[0].szEntryName, "One");
    EXPECT_STREQ(connections[1].szEntryName, "Two");

    RASPPPIPA projection {};
    projection.dwSize = sizeof projection;
    DWORD projectionBytes = sizeof projection;
    ASSERT_EQ(RasGetProjectionInfoA(connections[1].hrasconn, RASP_PppIp, &projection, &projectionBytes), 0u);
    EXPECT_STREQ(projection.szIpAddress, "10.1.2.3");

    RASENTRYNAMEA entries[2] = {};
    entries[0].dwSize = sizeof entries[0];
    bytes = sizeof entries[0];
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), DWORD(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(bytes, 2 * sizeof(RASENTRYNAMEA));
    ASSERT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count), 0u);
    EXPECT_STREQ(entries[1].szEntryName, "Two");

    EXPECT_EQ(RasHangUpA(connections[0].hrasconn), 0u);
    EXPECT_EQ(RasHangUpA(connections[0].hrasconn), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(dialsim("hangup One"), 1);
    EXPECT_EQ(dialsim("connect Nobody"), 1);
    EXPECT_EQ(dialsim("frobnicate"), 2);
}

} // namespace

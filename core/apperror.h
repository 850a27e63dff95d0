#pragma once
#include <cstdint>

// The pending failure code of the program. A failing operation stores a code here (and the
// message inserts below, when its message has any) and returns false; a caller further up
// shows it with reportError, which clears it again. The top two bits carry the severity.
extern uint32_t AppError;

// The four inserts of a message: %1 and %2 numbers, %3 and %4 texts.
struct MessageArgumentsRecord {
    uint32_t number1;
    uint32_t number2;
    char text1[1024];
    char text2[1024];
};
extern MessageArgumentsRecord MessageArguments;

enum ErrorCode : uint32_t {
    kNothingPending = 0x80000000,
    kErrorNoMemory = 0x80000001,
    kErrorBitmapOrAccelerators = 0x80000002,
    kErrorLanguageModule = 0x80000003,
    kErrorLanguageStandIn = 0x80000004,
    kErrorConnectionNotification = 0x80000005,
    kErrorResourceMissing = 0x40000002,
    kErrorSettingsCreate = 0x40000004,
    kErrorSettingsRead = 0x40000005,
    kErrorSettingsWrite = 0x40000007,
    kErrorTipWindow = 0x40000009,
    kErrorAcceleratorsMissing = 0x4000000B,
    kErrorLanguageFree = 0x4000000D,
    kErrorDialog = 0x4000000E,
    kErrorResourceLoad = 0x40000010,
    kErrorResourceLock = 0x40000011,
    kErrorPngDecode = 0x40000013,
    kErrorImageList = 0x40000014,
    kErrorTrayIcon = 0x40000015,
    kErrorTariffFile = 0x40000016,
    kErrorConnectionsUnreadable = 0x40000017,
    kErrorTagLine = 0x40000018,
    kErrorMonthLogCreate = 0x40000019,
    kErrorSkinRoot = 0x4000001A,
    kErrorSkinParse = 0x4000001B,
    kErrorAlertsRead = 0x40000030,
    kErrorAlertsWrite = 0x40000031,
    kErrorExportWrite = 0x40000032,
    kErrorExportNoMonth = 0x40000033,
    kErrorExportUsage = 0x40000034,
    kErrorAdaptersRead = 0x40000035,
    kErrorAdaptersWrite = 0x40000036,
    kErrorHelpPage = 0x40000060, // %3 the help page that could not be opened
    kErrorExportNoYear = 0x40000068,
    kErrorMainWindow = 0xC0000001,
    kErrorCommonControls = 0xC0000002,
    kErrorWindowClass = 0xC0000003,
    // Start-up, the command line and the system's start.
    kErrorNotAnswering = 0x40000040,
    kErrorAutostart = 0x80000010,
    kErrorXmlDocument = 0xC0000020,
    kErrorNoSkin = 0xC0000021,
};

// Language-module messages used only by the crash report.
enum CrashMessage : uint32_t {
    kCrashGeneral = 0xC0000005,
    kCrashAccessViolation = 0xC0000006,
    kCrashArrayBounds = 0xC0000007,
    kCrashBreakpoint = 0xC0000008,
    kCrashMisalignment = 0xC0000009,
    kCrashFloatDenormal = 0xC000000A,
    kCrashFloatDivideByZero = 0xC000000B,
    kCrashFloatInexact = 0xC000000C,
    kCrashFloatInvalid = 0xC000000D,
    kCrashFloatOverflow = 0xC000000E,
    kCrashFloatStackCheck = 0xC000000F,
    kCrashFloatUnderflow = 0xC0000010,
    kCrashIllegalInstruction = 0xC0000011,
    kCrashInPageError = 0xC0000012,
    kCrashIntDivideByZero = 0xC0000013,
    kCrashIntOverflow = 0xC0000014,
    kCrashInvalidDisposition = 0xC0000015,
    kCrashNoncontinuable = 0xC0000016,
    kCrashPrivilegedInstruction = 0xC0000017,
    kCrashSingleStep = 0xC0000018,
    kCrashStackOverflow = 0xC0000019,
    kCrashOnRead = 0xC000001A,
    kCrashOnWrite = 0xC000001B,
    kCrashTargetAddress = 0xC000001C,
    kCrashInstructionAddress = 0xC000001D,
    kCrashCannotResume = 0xC000001E,
    kCrashAskResume = 0xC000001F,
};

// Every code the program sets, for checks that each has its message.
extern const uint32_t kAllErrorCodes[];
extern const unsigned kAllErrorCodeCount;

// Sets a code that carries no inserts of its own; returns false so failing paths read
// `return failWith(kErrorSettingsRead);`.
inline bool failWith(uint32_t code)
{
    AppError = code;
    return false;
}

// Shows the message of `code` (0: the pending AppError) and clears it; returns the code shown.
uint32_t reportError(uint32_t code);

// How many messages reportError has shown since the program started: a reading that reports a
// format error as it goes and keeps what came before it is told by the count moving.
uint32_t reportsShown();

#include "core/apperror.h"

uint32_t AppError = kNothingPending;
MessageArgumentsRecord MessageArguments;

const uint32_t kAllErrorCodes[] = {
    kErrorNoMemory,
    kErrorBitmapOrAccelerators,
    kErrorLanguageModule,
    kErrorLanguageStandIn,
    kErrorConnectionNotification,
    kErrorResourceMissing,
    kErrorSettingsCreate,
    kErrorSettingsRead,
    kErrorSettingsWrite,
    kErrorTipWindow,
    kErrorAcceleratorsMissing,
    kErrorLanguageFree,
    kErrorDialog,
    kErrorResourceLoad,
    kErrorResourceLock,
    kErrorPngDecode,
    kErrorImageList,
    kErrorTrayIcon,
    kErrorTariffFile,
    kErrorConnectionsUnreadable,
    kErrorTagLine,
    kErrorMonthLogCreate,
    kErrorSkinRoot,
    kErrorSkinParse,
    kErrorMainWindow,
    kErrorCommonControls,
    kErrorWindowClass,
    kErrorAlertsRead,
    kErrorAlertsWrite,
    kErrorExportWrite,
    kErrorExportNoMonth,
    kErrorExportUsage,
    kErrorAdaptersRead,
    kErrorAdaptersWrite,
    kErrorHelpPage,
};
const unsigned kAllErrorCodeCount = sizeof(kAllErrorCodes) / sizeof(kAllErrorCodes[0]);

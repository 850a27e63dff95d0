#include <new>

#include "core/apperror.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "monitor/watcher.h"

bool logSlice(const LiveConnection& connection)
{
    LogRecord* record = new (std::nothrow) LogRecord{};
    if (record == nullptr)
        return failWith(kErrorNoMemory);
    recordFromSlice(record, &connection);
    accountSlice(*record);
    appendMonthRecord(currentMonth, record);
    // The whole month is rewritten; after a failed write the record stays in the list and
    // reaches the file with the next successful one.
    return writeMonthLog(currentMonth.records.head);
}

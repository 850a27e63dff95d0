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
    return logRecord(record);
}

#include "monitor/dialling.h"

#include <cstring>

#include "core/apperror.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"

bool dialOrHangUp(const char* name)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        const LiveConnection& record = liveConnections.records[i];
        if (!record.isAdapter && strcmp(record.entryName, name) == 0) {
            // The record stays: the scan that follows the service's signal logs and removes it.
            hangUpRemoteConnection(record.handle);
            return true;
        }
    }
    // A failed dial has no message of its own; only a failure already pending is shown.
    if (dialPhoneBookEntry(name) != 0)
        reportError(0);
    return true;
}

#include "monitor/dialling.h"

#include <cstring>

#include "core/apperror.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"

uint32_t dialOrHangUp(const char* name)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        const LiveConnection& record = liveConnections.records[i];
        if (!record.isAdapter && strcmp(record.entryName, name) == 0) {
            // The record stays: the scan that follows the service's signal logs and removes it.
            hangUpRemoteConnection(record.handle);
            return 0;
        }
    }
    const uint32_t error = dialPhoneBookEntry(name);
    if (error != 0)
        reportError(0);
    return error;
}

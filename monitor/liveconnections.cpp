#include "monitor/liveconnections.h"

#include <cstring>

LiveConnectionTable liveConnections;

LiveConnection* liveConnectionAt(uint32_t index)
{
    return index < liveConnections.count && index < kMaxLiveConnections ? &liveConnections.records[index] : nullptr;
}

bool isEntryConnected(const char* entryName)
{
    for (uint32_t i = 0; i < liveConnections.count && i < kMaxLiveConnections; ++i)
        if (!liveConnections.records[i].isAdapter && strcmp(liveConnections.records[i].entryName, entryName) == 0)
            return true;
    return false;
}

#pragma once
// The running connections: a fixed table of 16 records in the order in which the connections
// were first seen. Remote-access connections and the watched network adapters that are up share
// it; an adapter's record has no remote-access handle.
#include <cstddef>
#include <cstdint>

#include "core/localtime.h"

constexpr int kMaxLiveConnections = 16;
constexpr int kRateHistoryLength = 360;
constexpr uint64_t kNoReadingYet = UINT64_MAX;
constexpr size_t kConnectionIdSize = 64;

struct LiveConnection {
    uintptr_t handle; // the remote-access connection handle: the record's identity; 0 for an adapter
    bool isAdapter;
    char adapterId[kConnectionIdSize]; // a watched adapter's identity
    char entryName[257]; // the phone-book entry, or the adapter's friendly name
    char ipAddress[16];
    LocalTime sliceStart; // the date and time the slice is logged under
    uint64_t sliceStartMs; // monotonic time the slice began: its length is measured from here
    // The slices of this connection logged before the running one: their time online and their
    // cost under the tariff that was active when each was logged.
    uint32_t earlierSeconds;
    double earlierCost;
    uint32_t packetsReceived;
    uint32_t packetsSent;
    uint64_t lastInPackets; // kNoReadingYet until the first reading
    uint64_t lastOutPackets;
    uint32_t bytesReceived;
    uint32_t bytesSent;
    uint64_t lastInOctets;
    uint64_t lastOutOctets;
    uint32_t interfaceIndex; // the interface the readings come from; 0 (no interface) until found
    uint64_t lastReadingMs; // monotonic time of the last reading
    uint32_t receiveRateHistory[kRateHistoryLength]; // bytes per second, newest first
    uint32_t sendRateHistory[kRateHistoryLength];
};

struct LiveConnectionTable {
    LiveConnection records[kMaxLiveConnections];
    uint32_t count;
};

extern LiveConnectionTable liveConnections;

inline uint32_t liveConnectionCount() { return liveConnections.count; }

// The record at `index`, or null when the index is not below the count.
LiveConnection* liveConnectionAt(uint32_t index);

// True when a running remote-access connection has exactly this entry name (case-sensitive).
bool isEntryConnected(const char* entryName);

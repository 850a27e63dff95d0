#pragma once
// The network adapters the user ticked to be watched like remote-access connections, kept by
// their stable id in adapters.zip beside the settings, so the settings record keeps its layout.
#include <cstdint>

#include "monitor/liveconnections.h"

constexpr uint32_t kMaxWatchedAdapters = 64;

struct WatchedAdapter {
    char id[kConnectionIdSize];
    char name[257]; // the friendly name when last seen: shown while the adapter is not there
};

struct WatchedAdapterList {
    WatchedAdapter adapters[kMaxWatchedAdapters];
    uint32_t count;
};

extern WatchedAdapterList watchedAdapters;

// The watched adapter with this id, or null.
const WatchedAdapter* findWatchedAdapter(const char* id);

// Adds an adapter to the list, or renames it when it is there. False when the list is full or
// the id is not one the file can keep.
bool watchAdapter(const char* id, const char* name);

// Reads adapters.zip; a missing file watches nothing and is no failure. A file that is damaged,
// is no gzip stream or cannot be read is kept as it was beside it (%4 names the copy; %3 the
// file), watches nothing and gives false with AppError 0x40000035; once a copy is kept, the file
// is written again empty, so the damage is reported once.
bool loadWatchedAdapters();

// Writes adapters.zip through a temporary file. False with AppError 0x40000036 when it cannot be
// written, or when an unreadable file could not be kept first.
bool saveWatchedAdapters();

#include "monitor/watchedadapters.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/damagedcopy.h"
#include "core/gzfile.h"
#include "core/programdirectory.h"
#include "res/resource.h"
#include "tariff/tagline.h"

WatchedAdapterList watchedAdapters;

namespace {

// Set while adapters.zip could not be read and no copy of it could be kept: writing over it
// would lose what it holds.
bool adaptersFileUnkept;

// An id is written as the value of a tag line: printable, without '<', and not empty.
bool isKeepableId(const char* id, size_t length)
{
    if (length == 0 || length >= kConnectionIdSize)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (uint8_t(id[i]) < 0x20 || id[i] == '<')
            return false;
    return true;
}

// A name is only shown: a character a tag line cannot hold is written as '?'.
void keepableName(const char* name, char* kept, size_t size)
{
    size_t length = 0;
    for (; name[length] != '\0' && length + 1 < size; ++length)
        kept[length] = uint8_t(name[length]) < 0x20 || name[length] == '<' ? '?' : name[length];
    kept[length] = '\0';
}

bool takeAdapterLine(const TagLine& line, void* context)
{
    WatchedAdapterList& read = *static_cast<WatchedAdapterList*>(context);
    if (!line.closed)
        return false;
    // A name is only shown: one longer than a tag line holds (written by an earlier version)
    // is kept cut. Everything else is taken as it stands or not at all.
    if (line.cut && strcmp(line.tag, "name") != 0)
        return false;
    if (strcmp(line.tag, "version") == 0)
        return strcmp(line.value, "1") == 0;
    if (strcmp(line.tag, "adapter") == 0) {
        // Every adapter once, and no more than the list holds.
        if (!isKeepableId(line.value, strlen(line.value)) || read.count == kMaxWatchedAdapters)
            return false;
        for (uint32_t i = 0; i < read.count; ++i)
            if (strcmp(read.adapters[i].id, line.value) == 0)
                return false;
        WatchedAdapter& adapter = read.adapters[read.count++];
        snprintf(adapter.id, sizeof adapter.id, "%s", line.value);
        return true;
    }
    if (strcmp(line.tag, "name") == 0 && read.count != 0) {
        keepableName(line.value, read.adapters[read.count - 1].name, sizeof read.adapters[0].name);
        return true;
    }
    return false;
}

bool writeAdapters(GzReplacingWriter& file)
{
    bool ok = writeTagFileLine(file, "<version>1</version>\r\n");
    for (uint32_t i = 0; ok && i < watchedAdapters.count; ++i) {
        const WatchedAdapter& adapter = watchedAdapters.adapters[i];
        ok = writeTagFileLine(
            file, "<adapter>%s</adapter>\r\n<name>%.*s</name>\r\n", adapter.id, int(kTagTextLength), adapter.name);
    }
    return ok;
}

} // namespace

const WatchedAdapter* findWatchedAdapter(const char* id)
{
    for (uint32_t i = 0; i < watchedAdapters.count; ++i)
        if (strcmp(watchedAdapters.adapters[i].id, id) == 0)
            return &watchedAdapters.adapters[i];
    return nullptr;
}

bool watchAdapter(const char* id, const char* name)
{
    if (!isKeepableId(id, strlen(id)))
        return false;
    auto* adapter = const_cast<WatchedAdapter*>(findWatchedAdapter(id));
    if (adapter == nullptr) {
        if (watchedAdapters.count == kMaxWatchedAdapters)
            return false;
        adapter = &watchedAdapters.adapters[watchedAdapters.count++];
        snprintf(adapter->id, sizeof adapter->id, "%s", id);
    }
    keepableName(name, adapter->name, sizeof adapter->name);
    return true;
}

bool loadWatchedAdapters()
{
    watchedAdapters = WatchedAdapterList {};
    adaptersFileUnkept = false;
    char path[260];
    if (!buildProgramFilePath(IDS_ADAPTERS_FILE, path, sizeof path))
        return false;
    // Read into a copy, so a file damaged half-way leaves nothing of it in force.
    static WatchedAdapterList read;
    read = WatchedAdapterList {};
    const TagFileRead state = readSmallTagFile(path, takeAdapterLine, &read);
    if (state == TagFileRead::missing)
        return true;
    if (state == TagFileRead::read) {
        watchedAdapters = read;
        return true;
    }
    adaptersFileUnkept = !keepDamagedCopyForMessage(path);
    if (!adaptersFileUnkept)
        saveWatchedAdapters();
    return failWith(kErrorAdaptersRead);
}

bool saveWatchedAdapters()
{
    char path[260];
    if (!buildProgramFilePath(IDS_ADAPTERS_FILE, path, sizeof path))
        return false;
    return replaceKeptFile(path, adaptersFileUnkept, writeAdapters) || failWith(kErrorAdaptersWrite);
}

#pragma once
// One logged slice of a connection: the record of the month logs, priced by the tariffs.
#include <cstdint>

#include "core/localtime.h"

// Owned by the list of its month; allocated zero-filled.
struct LogRecord {
    LogRecord* next;
    uint32_t rx; // bytes received
    uint32_t rxp; // packets received
    uint32_t tx; // bytes sent
    uint32_t txp; // packets sent
    LocalTime start;
    uint32_t dur; // seconds
};

#pragma once
// The meter's counts from the start of the program to its end: what the last run could not place
// in its logs is taken in first, and nothing counted is given up at the end.
#include <cstddef>
#include <cstdint>

#include "core/localtime.h"

// At start, before anything writes a month: the pending files the last exit left beside their
// logs (their months in `pendingKeys`) are moved over the logs, and the current month is read.
// A pending file that cannot be moved yet is read in place of its log. False with AppError
// 0x80000001 when memory runs out.
bool startCounting(const uint32_t* pendingKeys, size_t count);

// At exit or at the end of the session: the counters are read a last time, the running slices
// logged up to `now` and every month log written, once more when that fails; what still cannot
// be written goes whole into pending files beside the logs, to be taken in at the next start.
// Reports made meanwhile wait (showDeferredReports). False with AppError 0x40000019 when
// something could not be kept even there.
bool stopCounting(const LocalTime& now);

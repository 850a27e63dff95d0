#pragma once

#include <cstdint>

// Hangs up the first running connection of the phone-book entry `name`, or, when none runs,
// dials the entry synchronously with its stored parameters. Gives 0, or the service's error
// when the dial failed, for the caller to tell the user; a failure that was already pending is
// reported first.
uint32_t dialOrHangUp(const char* name);

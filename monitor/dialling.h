#pragma once

// Hangs up the first running connection of the phone-book entry `name`, or, when none runs,
// dials the entry synchronously with its stored parameters. Always true.
bool dialOrHangUp(const char* name);

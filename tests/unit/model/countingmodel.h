#pragma once
// The law of the meter, checked on the real counting core (monitor, statistics, month logs, the
// tick rules) with the seam's fakes: what passes through a counter while a connection is watched
// is logged once, no more, no less, whatever the system, other programs or the user do meanwhile.
#include <cstddef>
#include <cstdint>
#include <string>

// Runs the events that `bytes` encode, from a fresh program folder: connections up and down,
// adapters ticked and shared with a dial-up connection, traffic of any size, counter resets,
// ticks, sleep with one or two wake-up events, clock changes, month and period ends, failed and
// blocked writes, boxes open while ticks arrive, session end and restart. Then it ends the
// program and checks that the bytes and packets logged are those that passed the counters while
// watched, the seconds logged the time watched while awake (within a second per connection),
// every file readable and nothing left pending. Returns "" when the law holds, otherwise what
// broke it and the events that led there.
std::string runCountingSequence(const uint8_t* bytes, size_t size);

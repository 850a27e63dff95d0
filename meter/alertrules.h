#pragma once
// When the usage alerts fire: the current month's figures, running connections included,
// against the levels the user set; each alert once a month, again after its level was raised.
#include <cstdint>

#include "tariff/alerts.h"

// The figures of one month the alerts are measured against.
struct AlertFigures {
    uint32_t monthKey; // year * 65536 + month of the month the billing period began in
    int64_t freeUnits; // of the active tariff, main and secondary together: bytes or seconds; 0 none
    int64_t usedUnits; // of the month's usage counted against them
    double monthCost; // the fixed amount and the usage, as the month's total shows it
};

// The alerts that fire with these figures, as bits (1 << slot); marks them fired in `alerts`.
unsigned fireAlerts(Alerts& alerts, const AlertFigures& figures);

// The figures of the current month, running connections priced as if they ended now.
AlertFigures currentAlertFigures();

struct AlertCheck {
    unsigned fired; // bits (1 << slot)
    AlertFigures figures;
    bool hungUp; // the money limit has just hung up connections
    bool saved; // false: alerts.zip could not be written (AppError is set)
};

// Fires what is due for the current month and keeps it in alerts.zip. With hang-up on, while
// the money limit is reached, asks the service once to hang up each running connection, also
// one dialled after the limit was reached (the scan that follows the service's signal logs it).
AlertCheck checkAlerts();

// The free units of the active tariff left in the billing period shown for month `monthKey` (0:
// the current one, running connections included), negative once exceeded; false when the tariff has none or the month
// cannot be read. `isVolume` tells bytes from seconds.
bool freeUnitsLeft(uint32_t monthKey, int64_t* left, bool* isVolume);

#pragma once
// The figures of the notification-area icon's tip.
#include <cstdint>

struct TrayTipFigures {
    int64_t volume; // received and sent bytes, corrected
    uint32_t onlineSeconds;
    double cost; // the month's total, monthly fixed amount included
};

// The current month with its running connections, whatever month the window shows: volume,
// time and cost of one month, the cost as the Summary's total. False when the month's figures
// are not available.
bool trayTipFigures(TrayTipFigures& figures);

#pragma once
// The running sums of a month that the Summary, the tray tip, the tips and the alerts share.
#include <cstdint>

struct LogRecord;

// The month's cost as the Summary's total shows it: the priced usage `costs[0]` and the
// active tariff's monthly fixed amount.
double monthTotalCost(const double* costs);

// The cost of `target`, one record of the month whose first record is `first`, under the
// tariff in slot `tariffIndex`: the records before it use up the free units first, as the
// month's sums price them.
double recordCost(const LogRecord* first, const LogRecord* target, int32_t tariffIndex);

// The figures of the notification-area icon's tip.
struct TrayTipFigures {
    int64_t volume; // received and sent bytes, corrected
    uint32_t onlineSeconds;
    double cost; // the month's total, monthly fixed amount included
};

// The current month with its running connections, whatever month the window shows: volume,
// time and cost of one month, the cost as the Summary's total. False when the month's figures
// are not available.
bool trayTipFigures(TrayTipFigures& figures);

#pragma once
// The running sums of a month that the Summary, the tray tip, the tips and the alerts share.
#include <cstdint>

struct LogRecord;
struct Rate;

// The month's cost as the Summary's total shows it: the priced usage `costs[0]` and the
// active tariff's monthly fixed amount.
double monthTotalCost(const double* costs);

// The cost of `target`, one record of the month whose first record is `first`, under the
// tariff in slot `tariffIndex`: the records before it use up the free units first, as the
// month's sums price them.
double recordCost(const LogRecord* first, const LogRecord* target, int32_t tariffIndex);

// What month `monthKey` (0: the current month with its running connections, priced as if they
// ended now) costs under `rate`, which need not be in the table, its monthly fixed amount
// included. False when the month cannot be read.
bool monthCostUnder(uint32_t monthKey, const Rate& rate, double& cost);

// What the running connection at `index` has come to since it came up: its time online and its
// cost under the active tariff, the running slice priced as if it ended now.
struct RunningFigures {
    int64_t seconds;
    double cost;
};
bool runningConnectionFigures(uint32_t index, RunningFigures& figures);

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

#pragma once
// The running sums of a month that the Summary, the tray tip, the tips and the alerts share.
#include <cstdint>

struct LogRecord;
struct MonthStats;

// The month's cost as the Summary's total shows it: the priced usage `costs[0]` and the
// active tariff's monthly fixed amount.
double monthTotalCost(const double* costs);

// The cost of `target`, one record of `month`, under the active tariff: the records before it
// (and, before the billing day, the month before's from it on) use up the free units first, as
// the month's sums price them.
double recordCost(const MonthStats& month, const LogRecord* target);

// The figures of the notification-area icon's tip.
struct TrayTipFigures {
    int64_t volume; // received and sent bytes, corrected
    uint32_t onlineSeconds;
    double cost; // the month's total, monthly fixed amount included
};

// The current billing period of the active tariff (the current month with billing day 1) with its
// running connections, whatever month the window shows: volume, time and cost, the cost as the
// Summary's total. False when the month's figures are not available.
bool trayTipFigures(TrayTipFigures& figures);

#pragma once
// A clean world for the connection monitor's tests: fake clock and service, empty table and
// month, the program directory in a scratch folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fakes/fakeplatform.h"
#include "fakes/fakeremoteaccess.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "monitor/traffic.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "tariff/settings.h"

class MonitorTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetFakeRemoteAccess();
        resetSettings();
        clearMonthCache();
        setRunningSliceSource(runningSliceRecord);
        memset(&liveConnections, 0, sizeof liveConnections);
        watchedAdapters = WatchedAdapterList {};
        // Ends the failure episodes of the service and the address table that a previous test
        // may have left open, so each test's first failure is reported.
        resetConnectionWatcher();
    }
    void TearDown() override { clearMonthCache(); }

    static void advanceClock(int seconds)
    {
        fakePlatform.now = localTimeFromSeconds(secondsSinceEpoch(fakePlatform.now) + seconds);
    }
};

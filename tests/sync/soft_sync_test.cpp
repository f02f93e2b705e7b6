#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sync/soft_sync.h"

using Nerova::Utils::Synchronization::SoftSyncAlgorithm;

TEST(SoftSync, ConvertsNothingUntilTheFirstPairThenUsesTheSeedSlope) {
    SoftSyncAlgorithm sync;
    sync.start();
    EXPECT_EQ(sync.toHostTime(5.0), -1.0);
    EXPECT_EQ(sync.toDeviceTime(100.0), -1.0);
    sync.addPoint(100.0, 5.0);
    EXPECT_DOUBLE_EQ(sync.toHostTime(5.0), 100.0);
    EXPECT_DOUBLE_EQ(sync.intercept(), 95.0);
    EXPECT_DOUBLE_EQ(sync.toDeviceTime(101.0), 6.0);
}

TEST(SoftSync, IgnoresPairsThatAreNotPositiveOrGoBackwards) {
    SoftSyncAlgorithm sync;
    sync.start();
    sync.addPoint(0.0, 1.0);
    sync.addPoint(1.0, -2.0);
    EXPECT_EQ(sync.toHostTime(1.0), -1.0);

    sync.addPoint(10.0, 2.0);
    sync.addPoint(9.0, 3.0);   // host clock went back
    sync.addPoint(11.0, 1.0);  // device clock went back
    EXPECT_DOUBLE_EQ(sync.intercept(), 8.0);
    sync.addPoint(10.0, 2.0);  // equal times count
    EXPECT_DOUBLE_EQ(sync.toHostTime(2.0), 10.0);
}

TEST(SoftSync, FitsAnExactLineFromTheThirdPairAndCarriesTheRatio) {
    SoftSyncAlgorithm sync;
    sync.start();
    auto host = [](double device) { return 2.0 * device + 10.0; };
    sync.addPoint(host(1.0), 1.0);
    sync.addPoint(host(2.0), 2.0);
    EXPECT_DOUBLE_EQ(sync.slope(), 1.0);  // still the seed
    sync.finish();
    EXPECT_DOUBLE_EQ(sync.getRateRatio(), 1.0);  // two pairs are not enough to learn from

    sync.start();
    for (double device : {1.0, 2.0, 3.0}) sync.addPoint(host(device), device);
    EXPECT_NEAR(sync.slope(), 2.0, 1e-9);
    EXPECT_NEAR(sync.intercept(), 10.0, 1e-9);
    EXPECT_NEAR(sync.toDeviceTime(sync.toHostTime(7.25)), 7.25, 1e-9);
    sync.finish();
    EXPECT_NEAR(sync.getRateRatio(), 0.5, 1e-12);

    sync.start();
    EXPECT_NEAR(sync.slope(), 2.0, 1e-12);
    EXPECT_EQ(sync.toHostTime(1.0), -1.0);  // the line itself is not carried over
}

TEST(SoftSync, KeepsTheSlopeWhenAllDeviceTimesAreEqual) {
    SoftSyncAlgorithm sync;
    sync.setRateRatio(0.25);
    sync.start();
    for (double hostTime : {1.0, 2.0, 3.0, 4.0}) sync.addPoint(hostTime, 7.0);
    EXPECT_DOUBLE_EQ(sync.slope(), 4.0);
    EXPECT_TRUE(std::isfinite(sync.toHostTime(7.0)));
}

TEST(SoftSync, FollowsADriftingClockThroughJitter) {
    // Device clock 150 ppm fast and offset by 1000 s; host times jittered by
    // up to 2 ms, one pair every 100 ms as blocks arrive.
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> jitter(-0.002, 0.002);
    const double rate = 1.0 + 150e-6;
    SoftSyncAlgorithm sync;
    sync.start();
    for (int block = 1; block <= 600; ++block) {
        const double hostTime = 0.1 * block;
        sync.addPoint(hostTime + jitter(random), 1000.0 + hostTime * rate);
    }
    const double deviceNow = 1000.0 + 60.0 * rate;
    // With so few pairs weighing in, the fit is only as good as the jitter.
    EXPECT_NEAR(sync.toHostTime(deviceNow), 60.0, 0.01);
    EXPECT_NEAR(sync.toHostTime(deviceNow + 0.05) - sync.toHostTime(deviceNow), 0.05, 0.01);
}

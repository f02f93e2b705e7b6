#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

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

// How a unit of host-time jitter carries into the fitted slope and into the
// host time converted at the newest pair, once the fit has settled. The fit
// weighs the pair i blocks back by 2^-i, so with pairs `spacing` apart the
// weighted mean lies one block back and the spread is 4 spacing^2; the
// slope is then sum 2^-i (1 - i) y_i / (4 spacing) and the converted time
// sum 2^-i (3 - i) y_i / 4, whose squared weights sum to 2 / (27 spacing^2)
// and 17 / 27: 2.72 per second of spacing and 0.79.
double slopeGain(double spacing) { return std::sqrt(2.0 / 27.0) / spacing; }
const double kTimeGain = std::sqrt(17.0 / 27.0);

TEST(SoftSync, LearnsTheDriftAndConvertsAsWellAsTheJitterAllows) {
    // One pair per block, every 100 ms, for 500 s; the device clock runs
    // `ppm` fast and starts 0.5 s after the host's. Host times carry uniform
    // jitter of +-`jitter`, i.e. a standard deviation of jitter / sqrt(3).
    constexpr double kSpacing = 0.1;
    constexpr int kBlocks = 5000;
    constexpr int kSettling = 20;
    for (const double ppm : {-200.0, -50.0, 0.0, 50.0, 200.0}) {
        for (const double jitter : {0.0, 0.5e-3, 1e-3, 2e-3}) {
            const std::string where = std::to_string(ppm) + " ppm, jitter " + std::to_string(jitter);
            std::mt19937 random(12345);
            std::uniform_real_distribution<double> noise(-jitter, jitter);
            const double rate = 1.0 + ppm * 1e-6;
            SoftSyncAlgorithm sync;
            sync.start();
            double slopeSquares = 0.0, timeSquares = 0.0;
            for (int block = 1; block <= kBlocks; ++block) {
                const double hostTime = 2.0 + kSpacing * block;
                const double deviceTime = 0.5 + kSpacing * block * rate;
                sync.addPoint(hostTime + (jitter > 0.0 ? noise(random) : 0.0), deviceTime);
                if (block <= kSettling) continue;
                slopeSquares += std::pow(sync.slope() * rate - 1.0, 2);
                timeSquares += std::pow(sync.toHostTime(deviceTime) - hostTime, 2);
            }
            sync.finish();
            const double slopeRms = std::sqrt(slopeSquares / (kBlocks - kSettling));
            const double timeRms = std::sqrt(timeSquares / (kBlocks - kSettling));
            const double learnedPpm = (sync.getRateRatio() - 1.0) * 1e6;
            if (jitter == 0.0) {
                // Exact pairs: only rounding is left.
                EXPECT_LT(slopeRms * 1e6, 0.01) << where;
                EXPECT_LT(timeRms, 1e-9) << where;
                EXPECT_NEAR(learnedPpm, ppm, 0.01) << where;
                continue;
            }
            // Thousands of blocks hold the measured spread within a few per
            // cent of what the weights predict (2 ms: 3 140 ppm and 0.92 ms);
            // a fit that weighed more or fewer pairs would be far outside.
            const double sigma = jitter / std::sqrt(3.0);
            EXPECT_NEAR(slopeRms / (sigma * slopeGain(kSpacing)), 1.0, 0.05) << where;
            EXPECT_NEAR(timeRms / (sigma * kTimeGain), 1.0, 0.05) << where;
            // Three pairs carry most of the weight, so the ratio carried to the
            // next start is only as good as one block's jitter: within five
            // standard deviations of the slope's spread (2 ms: 15 700 ppm).
            EXPECT_NEAR(learnedPpm, ppm, 5.0 * sigma * slopeGain(kSpacing) * 1e6) << where;
        }
    }
}

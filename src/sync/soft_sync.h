// Converts a device's clock to the host's acquisition clock by fitting a line
// through observed (host time, device time) pairs. All times are seconds; a
// time counts only when it is above 0, and -1.0 means "cannot convert".
#pragma once

#include <cstdint>
#include <mutex>

namespace Nerova::Utils::Synchronization {

// Held by value inside the device object, never deleted through the base:
// hence no virtual destructor.
class SoftSyncBase {
public:
    virtual void start();
    virtual void finish() = 0;
    virtual void addPoint(double hostTime, double deviceTime) = 0;
    virtual double toHostTime(double deviceTime) const = 0;
    virtual double toDeviceTime(double hostTime) const = 0;
    virtual void setRateRatio(double ratio);
    virtual double getRateRatio() const;
    virtual void reset();

protected:
    SoftSyncBase() = default;
    SoftSyncBase(const SoftSyncBase&) = default;
    SoftSyncBase& operator=(const SoftSyncBase&) = default;
    ~SoftSyncBase() = default;

    double lastHostTime_ = 0.0;
    double lastDeviceTime_ = 0.0;
    // Device-to-host clock ratio carried from one acquisition to the next.
    double rateRatio_ = 1.0;
};

// Exponentially weighted least-squares fit of host time against device time:
// every new pair has weight 1 and older pairs fade by `forget` per pair, so
// the line follows the latest few blocks.
class SoftSyncAlgorithm final : public SoftSyncBase {
public:
    SoftSyncAlgorithm() = default;

    void start() override;
    // Keeps the learned ratio for the next start once the fit has taken over.
    void finish() override;
    // Calls of addPoint are serialised against each other, nothing more: the
    // conversions and start/finish/reset take no lock, so they belong on the
    // thread that adds the points (the device's reading thread) or to a time
    // when none are added. Pairs going back in either clock are dropped.
    void addPoint(double hostTime, double deviceTime) override;
    double toHostTime(double deviceTime) const override;
    double toDeviceTime(double hostTime) const override;
    void reset() override;

    double slope() const { return slope_; }
    double intercept() const { return intercept_; }

private:
    double slope_ = 1.0;
    double intercept_ = 0.0;
    // The fit replaces the seeded slope only after more than this many pairs.
    std::int32_t minPoints_ = 2;
    std::uint64_t count_ = 0;
    double sumWeight_ = 0.0;
    double sumDevice_ = 0.0;
    double sumHost_ = 0.0;
    double sumHostDevice_ = 0.0;
    double sumDeviceSquared_ = 0.0;
    double forget_ = 0.0;
    std::mutex mutex_;
};

}  // namespace Nerova::Utils::Synchronization

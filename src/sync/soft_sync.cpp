#include "sync/soft_sync.h"

namespace Nerova::Utils::Synchronization {

void SoftSyncBase::start() {
    reset();
}

void SoftSyncBase::setRateRatio(double ratio) {
    rateRatio_ = ratio;
}

double SoftSyncBase::getRateRatio() const {
    return rateRatio_;
}

void SoftSyncBase::reset() {
    lastHostTime_ = 0.0;
    lastDeviceTime_ = 0.0;
}

void SoftSyncAlgorithm::start() {
    SoftSyncBase::start();
    slope_ = rateRatio_ > 0.0 ? 1.0 / rateRatio_ : 1.0;
    forget_ = static_cast<double>(minPoints_ - 1) / static_cast<double>(minPoints_);
}

void SoftSyncAlgorithm::finish() {
    if (count_ > static_cast<std::uint64_t>(minPoints_)) rateRatio_ = 1.0 / slope_;
}

void SoftSyncAlgorithm::addPoint(double hostTime, double deviceTime) {
    std::lock_guard lock(mutex_);
    if (!(hostTime > 0.0 && deviceTime > 0.0 && hostTime >= lastHostTime_ &&
          deviceTime >= lastDeviceTime_)) {
        return;
    }
    ++count_;
    const double x = deviceTime;
    const double y = hostTime;
    sumWeight_ = forget_ * sumWeight_ + 1.0;
    sumDevice_ = forget_ * sumDevice_ + x;
    sumHost_ = forget_ * sumHost_ + y;
    sumHostDevice_ = forget_ * sumHostDevice_ + x * y;
    sumDeviceSquared_ = forget_ * sumDeviceSquared_ + x * x;
    if (count_ > static_cast<std::uint64_t>(minPoints_)) {
        const double denominator = sumDeviceSquared_ - sumDevice_ * sumDevice_ / sumWeight_;
        // All weighted device times equal: no line through them, keep the slope.
        if (denominator != 0.0) {
            slope_ = (sumHostDevice_ - sumHost_ * sumDevice_ / sumWeight_) / denominator;
        }
    }
    lastHostTime_ = y;
    lastDeviceTime_ = x;
    intercept_ = (sumHost_ - slope_ * sumDevice_) / sumWeight_;
}

double SoftSyncAlgorithm::toHostTime(double deviceTime) const {
    return lastHostTime_ > 0.0 ? deviceTime * slope_ + intercept_ : -1.0;
}

double SoftSyncAlgorithm::toDeviceTime(double hostTime) const {
    return lastDeviceTime_ > 0.0 && slope_ != 0.0 ? (hostTime - intercept_) / slope_ : -1.0;
}

void SoftSyncAlgorithm::reset() {
    SoftSyncBase::reset();
    count_ = 0;
    sumWeight_ = sumDevice_ = sumHost_ = sumHostDevice_ = sumDeviceSquared_ = 0.0;
}

}  // namespace Nerova::Utils::Synchronization

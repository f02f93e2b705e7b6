// The description of one axis of an array channel, which the channel
// applies to the host's axis objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "contract/host_channels.h"

namespace Nerova::Utils::Ncom::Utils {

struct AxisOptions {
    // 0, 1 or 2; the host is given 0 for anything else.
    std::uint32_t kind = 0;
    bool flag = false;
};

class AxisProperties {
public:
    virtual ~AxisProperties() = default;

    // Number of axis points.
    virtual void setSize(std::uint64_t size) = 0;
    virtual std::uint64_t size() const = 0;
    // The host's axis type code.
    virtual std::int32_t axisType() const = 0;

    const std::string& name() const noexcept { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const std::string& unit() const noexcept { return unit_; }
    void setUnit(std::string unit) { unit_ = std::move(unit); }
    std::int32_t precision() const noexcept { return precision_; }
    // A negative precision is ignored.
    void setPrecision(std::int32_t precision) noexcept {
        if (precision >= 0) precision_ = precision;
    }
    AxisOptions& options() noexcept { return options_; }
    const AxisOptions& options() const noexcept { return options_; }
    std::uint32_t kind() const noexcept { return options_.kind; }
    void setKind(std::uint32_t kind) noexcept { options_.kind = kind; }
    bool flag() const noexcept { return options_.flag; }
    void setFlag(bool flag) noexcept { options_.flag = flag; }

protected:
    AxisProperties() = default;
    AxisProperties(const AxisProperties&) = default;
    AxisProperties& operator=(const AxisProperties&) = default;

private:
    std::string name_ = "-";
    std::string unit_ = "-";
    std::int32_t precision_ = 3;
    AxisOptions options_;
};

// Evenly spaced points start + i * step, which the host computes.
class AxisPropertiesFloatLinearFunc final : public AxisProperties {
public:
    void setSize(std::uint64_t size) override { count_ = size; }
    std::uint64_t size() const override { return count_; }
    std::int32_t axisType() const override { return 2; }

    double start() const noexcept { return start_; }
    void setStart(double start) noexcept { start_ = start; }
    double step() const noexcept { return step_; }
    void setStep(double step) noexcept { step_ = step; }

private:
    std::uint64_t count_ = 0;
    double start_ = 0.0;
    double step_ = 0.0;
};

// One number per point.
class AxisPropertiesFloat final : public AxisProperties {
public:
    // Resizing keeps the leading values and adds zeros.
    void setSize(std::uint64_t size) override { values.resize(size, 0.0); }
    std::uint64_t size() const override { return values.size(); }
    std::int32_t axisType() const override { return 0; }

    std::vector<double> values;
};

// One label per point.
class AxisPropertiesString final : public AxisProperties {
public:
    void setSize(std::uint64_t size) override { labels.resize(size); }
    std::uint64_t size() const override { return labels.size(); }
    std::int32_t axisType() const override { return 1; }

    std::vector<std::string> labels;
};

// Describes `axis` to the host's axis object.
void applyAxis(HostAxis* hostAxis, const AxisProperties& axis);

}  // namespace Nerova::Utils::Ncom::Utils

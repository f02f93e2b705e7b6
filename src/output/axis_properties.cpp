#include "output/axis_properties.h"

#include <limits>

#include "platform/com_call.h"

namespace Nerova::Utils::Ncom::Utils {

namespace {

// The host knows type codes 0 to 2; others are described as 0.
LONG hostAxisType(std::int32_t type) noexcept { return type == 1 || type == 2 ? type : 0; }

LONG hostKind(std::uint32_t kind) noexcept { return kind <= 2 ? static_cast<LONG>(kind) : 0; }

// Point indices beyond the host's range are not described.
LONG pointIndex(std::size_t index) {
    if (index > static_cast<std::size_t>(std::numeric_limits<LONG>::max()))
        vexa::throwComError(E_INVALIDARG, vexa::interfaceId<HostAxis>());
    return static_cast<LONG>(index);
}

void applyPoints(HostAxis* host, const AxisProperties& axis) {
    if (const auto* linear = dynamic_cast<const AxisPropertiesFloatLinearFunc*>(&axis)) {
        vexa::callSet(host, &HostAxis::SetStart, linear->start());
        vexa::callSet(host, &HostAxis::SetStep, linear->step());
    } else if (const auto* labelled = dynamic_cast<const AxisPropertiesString*>(&axis)) {
        for (std::size_t i = 0; i < labelled->labels.size(); ++i) {
            vexa::Bstr label(labelled->labels[i]);
            vexa::checkCall(host->SetLabel(pointIndex(i), label.get()), host);
        }
    } else if (const auto* valued = dynamic_cast<const AxisPropertiesFloat*>(&axis)) {
        for (std::size_t i = 0; i < valued->values.size(); ++i)
            vexa::checkCall(host->SetValue(pointIndex(i), valued->values[i]), host);
    }
}

}  // namespace

void applyAxis(HostAxis* hostAxis, const AxisProperties& axis) {
    HostAxis* host = vexa::required(hostAxis);
    vexa::callSet(host, &HostAxis::SetType, hostAxisType(axis.axisType()));
    vexa::callSetText(host, &HostAxis::SetUnit, axis.unit());
    vexa::callSetText(host, &HostAxis::SetName, axis.name());
    vexa::callSet(host, &HostAxis::SetPrecision, axis.precision());

    vexa::ComPtr<HostAxisOptions> options = vexa::callGetObject(host, &HostAxis::GetOptions);
    vexa::callSet(options.get(), &HostAxisOptions::SetKind, hostKind(axis.kind()));
    vexa::callSet(options.get(), &HostAxisOptions::SetFlag, vexa::toVariantBool(axis.flag()));

    applyPoints(host, axis);
}

}  // namespace Nerova::Utils::Ncom::Utils

// The small value types shared by the output factory, its channels and the
// device link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Nerova::Utils::Ncom::OutputChannel {

// Names one output channel in the factory, in the host group and in the
// setup ("Id").
using OutputChannelKey = std::uint32_t;

// The host's sample types.
namespace HostDataType {
inline constexpr std::uint32_t UInt8 = 0;
inline constexpr std::uint32_t Int8 = 1;
inline constexpr std::uint32_t Int16 = 2;
inline constexpr std::uint32_t UInt16 = 3;
inline constexpr std::uint32_t Int32 = 4;
inline constexpr std::uint32_t Float = 5;
inline constexpr std::uint32_t Int64 = 6;
inline constexpr std::uint32_t Double = 7;
inline constexpr std::uint32_t UInt32 = 8;
inline constexpr std::uint32_t ComplexFloat = 9;
inline constexpr std::uint32_t ComplexDouble = 10;
}  // namespace HostDataType

enum class OutputChannelKind : std::uint32_t { Synchronous = 0, Asynchronous = 1, SingleValue = 2 };

struct OutputChannelType {
    std::uint32_t dataType = HostDataType::Double;
    std::uint32_t kind = static_cast<std::uint32_t>(OutputChannelKind::Asynchronous);

    friend bool operator==(const OutputChannelType&, const OutputChannelType&) = default;
};

// What device channels and channels restored from a setup are made as.
inline constexpr OutputChannelType timedDoubleChannel{HostDataType::Double,
                                                      static_cast<std::uint32_t>(OutputChannelKind::Asynchronous)};

// One element of a host channel's entry list.
struct EntryDescription {
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t value = 0;

    friend bool operator==(const EntryDescription&, const EntryDescription&) = default;
};

// The answer of an entry look-up by identifier.
struct EntryLookup {
    bool found = false;
    std::string name;
    std::uint32_t value = 0xFFFFFF;
};

// The first value of one host sample as a preview number: 0.0 for a type
// the host does not define or fewer bytes than the type needs.
double previewValue(std::uint32_t dataType, const void* data, std::size_t size) noexcept;

}  // namespace Nerova::Utils::Ncom::OutputChannel

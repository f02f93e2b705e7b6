// The status codes of the core object model, as the core-types library and
// every core interface answer them.
#pragma once

#include <cstdint>

namespace Nerova::RT::Core {

using ErrCode = std::uint32_t;

inline constexpr ErrCode errOk = 0;
inline constexpr ErrCode errNoMemory = 0x80000000u;
inline constexpr ErrCode errInvalidParameter = 0x80000001u;
inline constexpr ErrCode errArgumentNull = 0x80000026u;
inline constexpr ErrCode errNoInterface = 0x80004002u;
inline constexpr ErrCode errNotAssigned = 0x8000000Bu;
inline constexpr ErrCode errNotEnabled = 0x80000013u;
inline constexpr ErrCode errOutOfRange = 0x80000005u;
inline constexpr ErrCode errNotFound = 0x80000006u;
inline constexpr ErrCode errGeneralError = 0x80000014u;
inline constexpr ErrCode errInvalidType = 0x80000011u;
inline constexpr ErrCode errAlreadyExists = 0x8000000Au;
inline constexpr ErrCode errFrozen = 0x80000017u;
inline constexpr ErrCode errParseFailed = 0x8000000Du;
inline constexpr ErrCode errNotImplemented = 0x80000016u;
inline constexpr ErrCode errNotSerializable = 0x80000018u;
inline constexpr ErrCode errDeserialize = 0x80000021u;
inline constexpr ErrCode errConversionFailed = 0x80000004u;
inline constexpr ErrCode errInvalidProperty = 0x80000024u;
inline constexpr ErrCode errInvalidValue = 0x8000000Eu;
inline constexpr ErrCode errInvalidState = 0x80000029u;
inline constexpr ErrCode errValidateFailed = 0x80000030u;
inline constexpr ErrCode errUninitialized = 0x80000028u;
inline constexpr ErrCode errInvalidOperation = 0x80000027u;

constexpr bool isFailure(ErrCode code) { return (code & 0x80000000u) != 0; }

}  // namespace Nerova::RT::Core

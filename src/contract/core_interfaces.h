// The core object model's interfaces, as the core-types library lays them
// out: positions count from 0 and are fixed; every call answers a status.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/core_codes.h"

namespace Nerova::RT::Core {

struct IntfID {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
    friend constexpr bool operator==(const IntfID&, const IntfID&) = default;
};

using Bool = std::uint8_t;
using SizeT = std::size_t;
using CharPtr = char*;
using ConstCharPtr = const char*;

// The core IUnknown; it shares its identifier with the COM IUnknown.
struct IUnknown {
    static constexpr IntfID Id = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    virtual ErrCode queryInterface(const IntfID& id, void** intf) = 0;  // 0
    virtual int addRef() = 0;                                            // 1
    virtual int release() = 0;                                           // 2

protected:
    ~IUnknown() = default;
};

struct IBaseObject : IUnknown {
    static constexpr IntfID Id = {0x9C911F6D, 0x1664, 0x5AA2, {0x97, 0xBD, 0x90, 0xFE, 0x32, 0x43, 0xC7, 0x2B}};
    // Like queryInterface, without adding a reference.
    virtual ErrCode borrowInterface(const IntfID& id, void** intf) = 0;  // 3
    virtual ErrCode dispose() = 0;                                        // 4
    virtual ErrCode getHashCode(SizeT* hashCode) = 0;                     // 5
    // 0 when `other` is the same object, else 1.
    virtual ErrCode equals(IBaseObject* other) = 0;                       // 6
    // The callee allocates the text with nvRtDuplicateCharPtr.
    virtual ErrCode toString(CharPtr* text) = 0;                          // 7

protected:
    ~IBaseObject() = default;
};

struct IString : IBaseObject {
    static constexpr IntfID Id = {0x4D1B5C27, 0x8C42, 0x5E3A, {0x9F, 0x10, 0x2B, 0x6E, 0xC4, 0x71, 0x0A, 0x93}};
    // The text stays owned by the string object.
    virtual ErrCode getCharPtr(ConstCharPtr* text) = 0;  // 8
    virtual ErrCode getLength(SizeT* length) = 0;        // 9

protected:
    ~IString() = default;
};

struct IErrorInfo : IBaseObject {
    static constexpr IntfID Id = {0x2E3B7D41, 0x6A15, 0x5C08, {0x8B, 0x62, 0xF1, 0x0C, 0x3D, 0x94, 0x57, 0xE6}};
    virtual ErrCode setMessage(IString* message) = 0;   // 8
    virtual ErrCode getMessage(IString** message) = 0;  // 9

protected:
    ~IErrorInfo() = default;
};

// The core-types library's exports that the plug-in uses, named as the
// library exports them. The host's library is known to export these four;
// the plug-in relies on nothing else of it.
extern "C" {
using CreateStringFunc = ErrCode (*)(IString** string, ConstCharPtr text);
using GetErrorInfoFunc = ErrCode (*)(IErrorInfo** info);
using ClearErrorInfoFunc = void (*)();
// The copy belongs to whoever receives it, who frees it through the
// library in the library's own way.
using DuplicateCharPtrFunc = ErrCode (*)(ConstCharPtr source, CharPtr* copy);
}

}  // namespace Nerova::RT::Core

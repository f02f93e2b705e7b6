// The COM and OLE Automation subset the plug-in, the host and the tests use.
// On Windows these are the system headers; on Linux our own implementation
// with the same names, layouts and semantics (see linux/).
#pragma once

#ifdef _WIN32
#include <winsock2.h>  // before windows.h, for the sockets layer
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>
#include <oleauto.h>
#include <olectl.h>
#include "platform/win/extras.h"
#else
#include "platform/linux/types.h"
#include "platform/linux/unknown.h"
#include "platform/linux/oleaut.h"
#endif

#include <cstring>

namespace vexa {

// Interface identifiers by type: specialise with VEXA_INTERFACE_ID for our
// own interfaces; the system ones are bound at the end of this header.
template <class T>
struct InterfaceIdOf;

template <class T>
inline const IID& interfaceId() noexcept {
    return InterfaceIdOf<T>::get();
}

}  // namespace vexa

// Binds an interface type to its identifier; use at global scope.
#define VEXA_INTERFACE_ID(Type, d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)                 \
    template <>                                                                            \
    struct vexa::InterfaceIdOf<Type> {                                                     \
        static const IID& get() noexcept {                                                 \
            static constexpr IID id = {d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};      \
            return id;                                                                     \
        }                                                                                  \
    };

#define VEXA_SYSTEM_INTERFACE_ID(Type, iidName)                                            \
    template <>                                                                            \
    struct vexa::InterfaceIdOf<Type> {                                                     \
        static const IID& get() noexcept { return iidName; }                               \
    };

VEXA_SYSTEM_INTERFACE_ID(IUnknown, IID_IUnknown)
VEXA_SYSTEM_INTERFACE_ID(IDispatch, IID_IDispatch)
VEXA_SYSTEM_INTERFACE_ID(IErrorInfo, IID_IErrorInfo)
VEXA_SYSTEM_INTERFACE_ID(ISupportErrorInfo, IID_ISupportErrorInfo)
VEXA_SYSTEM_INTERFACE_ID(ICreateErrorInfo, IID_ICreateErrorInfo)
VEXA_SYSTEM_INTERFACE_ID(IClassFactory, IID_IClassFactory)

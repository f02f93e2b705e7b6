// Short forms of the COM calls that get or set one value. Each checks that
// the object is there (E_POINTER otherwise), makes the call and raises a
// failing result with the interface's identifier, so that the callers read
// as the sequence of calls they make.
#pragma once

#include <string>
#include <type_traits>

#include "platform/com_error.h"
#include "platform/com_ptr.h"
#include "platform/bstr.h"

namespace vexa {

// A plain value: a number, a flag or an address the object lends.
template <class T, class R>
R callGet(T* object, HRESULT (T::*method)(R*)) {
    static_assert(!std::is_same_v<R, BSTR>, "texts go through callGetText");
    static_assert(!std::is_base_of_v<IUnknown, std::remove_pointer_t<R>>, "objects go through callGetObject");
    R value{};
    checkCall((required(object)->*method)(&value), object);
    return value;
}

template <class T>
std::string callGetText(T* object, HRESULT (T::*method)(BSTR*)) {
    Bstr text;
    checkCall((required(object)->*method)(text.put()), object);
    return text.utf8();
}

template <class T, class U>
ComPtr<U> callGetObject(T* object, HRESULT (T::*method)(U**)) {
    ComPtr<U> result;
    checkCall((required(object)->*method)(result.put()), object);
    return result;
}

// A setter taking one value.
template <class T, class V, class A>
void callSet(T* object, HRESULT (T::*method)(V), A&& value) {
    checkCall((required(object)->*method)(static_cast<V>(value)), object);
}

template <class T>
void callSetText(T* object, HRESULT (T::*method)(BSTR), const std::string& text) {
    Bstr value(text);
    checkCall((required(object)->*method)(value.get()), object);
}

inline VARIANT_BOOL toVariantBool(bool value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace vexa

#include <algorithm>

#include "platform/bstr.h"
#include "platform/variant.h"

namespace vexa {

Bstr::Bstr(std::string_view utf8) : Bstr(fromWide(utf8ToWide(utf8))) {}

Bstr Bstr::fromWide(WideView text) {
    BSTR allocated = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (allocated == nullptr) throwComError(E_OUTOFMEMORY);
    return Bstr(allocated);
}

Bstr Bstr::fromNarrow(std::string_view text) { return fromWide(narrowToWide(text)); }

namespace {

template <class Setter>
Variant makeVariant(VARTYPE vt, Setter set) {
    Variant v;
    VARIANT* raw = v.get();
    raw->vt = vt;
    set(*raw);
    return v;
}

}  // namespace

Variant Variant::ofInt32(std::int32_t value) {
    return makeVariant(VT_I4, [&](VARIANT& v) { v.lVal = value; });
}
Variant Variant::ofUInt32(std::uint32_t value) {
    return makeVariant(VT_UI4, [&](VARIANT& v) { v.ulVal = value; });
}
Variant Variant::ofInt16(std::int16_t value) {
    return makeVariant(VT_I2, [&](VARIANT& v) { v.iVal = value; });
}
Variant Variant::ofDouble(double value) {
    return makeVariant(VT_R8, [&](VARIANT& v) { v.dblVal = value; });
}
Variant Variant::ofBool(bool value) {
    return makeVariant(VT_BOOL, [&](VARIANT& v) { v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; });
}
Variant Variant::ofString(Bstr text) {
    return makeVariant(VT_BSTR, [&](VARIANT& v) { v.bstrVal = text.release(); });
}
Variant Variant::ofUnknown(IUnknown* object) {
    if (object != nullptr) object->AddRef();
    return makeVariant(VT_UNKNOWN, [&](VARIANT& v) { v.punkVal = object; });
}
Variant Variant::ofDispatch(IDispatch* object) {
    if (object != nullptr) object->AddRef();
    return makeVariant(VT_DISPATCH, [&](VARIANT& v) { v.pdispVal = object; });
}
Variant Variant::ofArray(SafeArray array) {
    VARTYPE element = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array.get(), &element))) throwComError(E_INVALIDARG);
    return makeVariant(static_cast<VARTYPE>(VT_ARRAY | element),
                       [&](VARIANT& v) { v.parray = array.release(); });
}
Variant Variant::ofInt32Array(std::span<const std::int32_t> values) {
    SafeArray array(VT_I4, 0, static_cast<ULONG>(values.size()));
    {
        const SafeArrayLock<LONG> lock(array.get());
        std::copy(values.begin(), values.end(), lock.elements().begin());
    }
    return ofArray(std::move(array));
}

std::vector<std::int32_t> int32ArrayOf(const VARIANT& value) {
    if (value.vt != (VT_ARRAY | VT_I4)) throwComError(E_INVALIDARG);
    const SafeArrayLock<LONG> lock(value.parray);
    return {lock.elements().begin(), lock.elements().end()};
}

Variant Variant::copyOf(const VARIANT& source) {
    Variant v;
    const HRESULT hr = VariantCopy(v.get(), const_cast<VARIANT*>(&source));
    if (FAILED(hr)) throwComError(hr);
    return v;
}

SafeArray::SafeArray(VARTYPE vt, LONG lowerBound, ULONG count)
    : UniqueResource(SafeArrayCreateVector(vt, lowerBound, count)) {
    if (!*this) throwComError(E_OUTOFMEMORY);
}

SafeArray SafeArray::copyOf(SAFEARRAY* source) {
    SAFEARRAY* copy = nullptr;
    const HRESULT hr = SafeArrayCopy(source, &copy);
    if (FAILED(hr)) throwComError(hr);
    return SafeArray(copy);
}

SafeArrayAccess accessVector(SAFEARRAY* array, VARTYPE elementType, std::size_t elementSize) {
    if (array == nullptr || SafeArrayGetDim(array) != 1) throwComError(E_INVALIDARG);
    VARTYPE actual = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(array, &actual);
    if (FAILED(hr)) throwComError(hr);
    if (actual != elementType || SafeArrayGetElemsize(array) != elementSize) throwComError(E_INVALIDARG);
    SafeArrayAccess access;
    if (FAILED(hr = SafeArrayGetLBound(array, 1, &access.lower))) throwComError(hr);
    if (FAILED(hr = SafeArrayGetUBound(array, 1, &access.upper))) throwComError(hr);
    if (FAILED(hr = SafeArrayAccessData(array, &access.data))) throwComError(hr);
    return access;
}

}  // namespace vexa

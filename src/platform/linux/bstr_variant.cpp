// BSTR and VARIANT with the semantics of OLE Automation.
#include <cstdlib>
#include <cstring>

#include "platform/linux/oleaut.h"

namespace {

// A BSTR points just past a 32-bit byte count and is followed by a NUL.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::uint32_t* prefixOf(BSTR text) {
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kPrefix);
}

bool isSupportedType(VARTYPE vt) {
    const VARTYPE base = vt & VT_TYPEMASK;
    if ((vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) != 0) return false;
    switch (base) {
        case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8:
        case VT_CY: case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR:
        case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN: case VT_DECIMAL: case VT_I1:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
    if (bytes > 0xFFFFFFF0u) return nullptr;
    auto* block = static_cast<char*>(std::calloc(1, kPrefix + bytes + sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    const auto byteCount = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &byteCount, kPrefix);
    auto* result = reinterpret_cast<BSTR>(block + kPrefix);
    if (text != nullptr && bytes != 0) std::memcpy(result, text, bytes);
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr) return nullptr;
    UINT length = 0;
    while (text[length] != 0) ++length;
    return SysAllocStringLen(text, length);
}

UINT SysStringByteLen(BSTR text) {
    if (text == nullptr) return 0;
    std::uint32_t bytes;
    std::memcpy(&bytes, prefixOf(text), kPrefix);
    return bytes;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

void SysFreeString(BSTR text) {
    if (text != nullptr) std::free(prefixOf(text));
}

void VariantInit(VARIANT* v) {
    if (v == nullptr) return;
    v->vt = VT_EMPTY;
    v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
    v->llVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
    if (v == nullptr) return E_INVALIDARG;
    if (!isSupportedType(v->vt)) return DISP_E_BADVARTYPE;
    if ((v->vt & VT_BYREF) == 0) {
        if ((v->vt & VT_ARRAY) != 0) {
            const HRESULT hr = SafeArrayDestroy(v->parray);
            if (FAILED(hr)) return hr;
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal != nullptr) {
            v->punkVal->Release();
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source) {
    if (dest == nullptr || source == nullptr) return E_INVALIDARG;
    if (dest == source) return S_OK;
    if (!isSupportedType(source->vt)) return DISP_E_BADVARTYPE;
    const HRESULT cleared = VariantClear(dest);
    if (FAILED(cleared)) return cleared;

    VARIANT copy = *source;
    if ((source->vt & VT_BYREF) == 0) {
        if ((source->vt & VT_ARRAY) != 0) {
            const HRESULT hr = SafeArrayCopy(source->parray, &copy.parray);
            if (FAILED(hr)) return hr;
        } else if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
            copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
            if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
        } else if ((source->vt == VT_UNKNOWN || source->vt == VT_DISPATCH) &&
                   source->punkVal != nullptr) {
            source->punkVal->AddRef();
        }
    }
    *dest = copy;
    return S_OK;
}

// SAFEARRAY with the semantics of OLE Automation: any lower bound, several
// dimensions (the last one stored first, the first index varying fastest),
// a lock count that refuses destruction, and element ownership by type.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "platform/linux/oleaut.h"

namespace {

// Stored in front of the descriptor, as the system keeps the element type.
struct alignas(16) Header {
    VARTYPE vt;
};

Header* headerOf(SAFEARRAY* array) {
    return reinterpret_cast<Header*>(reinterpret_cast<char*>(array) - sizeof(Header));
}

ULONG elementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: return sizeof(void*);
        case VT_VARIANT: return sizeof(VARIANT);
        case VT_DECIMAL: return 16;
        default: return 0;
    }
}

USHORT featuresOf(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR: return FADF_BSTR | FADF_HAVEVARTYPE;
        case VT_UNKNOWN: return FADF_UNKNOWN | FADF_HAVEVARTYPE;
        case VT_DISPATCH: return FADF_DISPATCH | FADF_HAVEVARTYPE;
        case VT_VARIANT: return FADF_VARIANT | FADF_HAVEVARTYPE;
        default: return FADF_HAVEVARTYPE;
    }
}

// Bounds of dimension `dim` (1 = first), stored in reverse order.
SAFEARRAYBOUND& boundOf(SAFEARRAY* array, UINT dim) {
    return array->rgsabound[array->cDims - dim];
}

std::size_t elementCount(const SAFEARRAY* array) {
    std::size_t count = 1;
    for (USHORT i = 0; i < array->cDims; ++i) count *= array->rgsabound[i].cElements;
    return count;
}

SAFEARRAY* allocateDescriptor(VARTYPE vt, UINT dims) {
    const std::size_t bytes =
        sizeof(Header) + sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    auto* block = static_cast<char*>(std::calloc(1, bytes));
    if (block == nullptr) return nullptr;
    auto* array = reinterpret_cast<SAFEARRAY*>(block + sizeof(Header));
    headerOf(array)->vt = vt;
    array->cDims = static_cast<USHORT>(dims);
    array->fFeatures = featuresOf(vt);
    array->cbElements = elementSize(vt);
    return array;
}

void freeDescriptor(SAFEARRAY* array) { std::free(headerOf(array)); }

void releaseElements(SAFEARRAY* array) {
    if (array->pvData == nullptr) return;
    const std::size_t count = elementCount(array);
    if (array->fFeatures & FADF_BSTR) {
        auto* items = static_cast<BSTR*>(array->pvData);
        for (std::size_t i = 0; i < count; ++i) SysFreeString(items[i]);
    } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        auto* items = static_cast<IUnknown**>(array->pvData);
        for (std::size_t i = 0; i < count; ++i)
            if (items[i] != nullptr) items[i]->Release();
    } else if (array->fFeatures & FADF_VARIANT) {
        auto* items = static_cast<VARIANT*>(array->pvData);
        for (std::size_t i = 0; i < count; ++i) VariantClear(&items[i]);
    }
}

// Copies one element into place; the target slot is zeroed beforehand.
HRESULT copyElement(const SAFEARRAY* array, void* target, const void* source) {
    if (array->fFeatures & FADF_BSTR) {
        const BSTR text = *static_cast<const BSTR*>(source);
        BSTR copy = nullptr;
        if (text != nullptr) {
            copy = SysAllocStringLen(text, SysStringLen(text));
            if (copy == nullptr) return E_OUTOFMEMORY;
        }
        SysFreeString(*static_cast<BSTR*>(target));
        *static_cast<BSTR*>(target) = copy;
    } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        IUnknown* object = *static_cast<IUnknown* const*>(source);
        if (object != nullptr) object->AddRef();
        IUnknown*& slot = *static_cast<IUnknown**>(target);
        if (slot != nullptr) slot->Release();
        slot = object;
    } else if (array->fFeatures & FADF_VARIANT) {
        return VariantCopy(static_cast<VARIANT*>(target), static_cast<const VARIANT*>(source));
    } else {
        std::memcpy(target, source, array->cbElements);
    }
    return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
    if (dims == 0 || dims > 0xFFFF || bounds == nullptr || elementSize(vt) == 0) return nullptr;
    std::size_t count = 1;
    for (UINT i = 0; i < dims; ++i) {
        count *= bounds[i].cElements;
        if (count > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    }
    SAFEARRAY* array = allocateDescriptor(vt, dims);
    if (array == nullptr) return nullptr;
    for (UINT dim = 1; dim <= dims; ++dim) boundOf(array, dim) = bounds[dim - 1];
    if (count != 0) {
        array->pvData = std::calloc(count, array->cbElements);
        if (array->pvData == nullptr) {
            freeDescriptor(array);
            return nullptr;
        }
    }
    return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
    SAFEARRAYBOUND bound{count, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (array == nullptr) return S_OK;
    if (array->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    releaseElements(array);
    std::free(array->pvData);
    freeDescriptor(array);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array == nullptr ? 0 : array->cDims; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array == nullptr ? 0 : array->cbElements; }

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (array == nullptr || bound == nullptr) return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims) return DISP_E_BADINDEX;
    *bound = boundOf(array, dim).lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (array == nullptr || bound == nullptr) return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = boundOf(array, dim);
    *bound = static_cast<LONG>(static_cast<std::int64_t>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
    if (array == nullptr || vt == nullptr) return E_INVALIDARG;
    if (array->fFeatures & FADF_HAVEVARTYPE) *vt = headerOf(array)->vt;
    else if (array->fFeatures & FADF_BSTR) *vt = VT_BSTR;
    else if (array->fFeatures & FADF_UNKNOWN) *vt = VT_UNKNOWN;
    else if (array->fFeatures & FADF_DISPATCH) *vt = VT_DISPATCH;
    else if (array->fFeatures & FADF_VARIANT) *vt = VT_VARIANT;
    else return E_INVALIDARG;
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
    if (array == nullptr) return E_INVALIDARG;
    if (array->cLocks >= 0xFFFF) return E_UNEXPECTED;
    ++array->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
    if (array == nullptr) return E_INVALIDARG;
    if (array->cLocks == 0) return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (array == nullptr || data == nullptr) return E_INVALIDARG;
    const HRESULT hr = SafeArrayLock(array);
    if (SUCCEEDED(hr)) *data = array->pvData;
    return hr;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) { return SafeArrayUnlock(array); }

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, LONG* indices, void** element) {
    if (array == nullptr || indices == nullptr || element == nullptr) return E_INVALIDARG;
    std::size_t offset = 0;
    std::size_t stride = 1;
    for (UINT dim = 1; dim <= array->cDims; ++dim) {
        const SAFEARRAYBOUND& b = boundOf(array, dim);
        const std::int64_t relative = std::int64_t{indices[dim - 1]} - b.lLbound;
        if (relative < 0 || relative >= std::int64_t{b.cElements}) return DISP_E_BADINDEX;
        offset += static_cast<std::size_t>(relative) * stride;
        stride *= b.cElements;
    }
    *element = static_cast<char*>(array->pvData) + offset * array->cbElements;
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value) {
    void* element = nullptr;
    HRESULT hr = SafeArrayPtrOfIndex(array, indices, &element);
    if (FAILED(hr) || value == nullptr) return FAILED(hr) ? hr : E_INVALIDARG;
    std::memset(value, 0, array->cbElements);
    return copyElement(array, value, element);
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value) {
    void* element = nullptr;
    HRESULT hr = SafeArrayPtrOfIndex(array, indices, &element);
    if (FAILED(hr)) return hr;
    // Strings and objects are passed by value, not through a pointer to them.
    if (array->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH)) return copyElement(array, element, &value);
    if (value == nullptr) return E_INVALIDARG;
    return copyElement(array, element, value);
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy) {
    if (copy == nullptr) return E_INVALIDARG;
    *copy = nullptr;
    if (array == nullptr) return S_OK;
    SAFEARRAY* result = allocateDescriptor(headerOf(array)->vt, array->cDims);
    if (result == nullptr) return E_OUTOFMEMORY;
    result->fFeatures = array->fFeatures & ~(FADF_AUTO | FADF_STATIC | FADF_EMBEDDED | FADF_FIXEDSIZE);
    result->cbElements = array->cbElements;
    std::memcpy(result->rgsabound, array->rgsabound, array->cDims * sizeof(SAFEARRAYBOUND));
    const std::size_t count = elementCount(array);
    if (count != 0 && array->pvData != nullptr) {
        result->pvData = std::calloc(count, array->cbElements);
        if (result->pvData == nullptr) {
            freeDescriptor(result);
            return E_OUTOFMEMORY;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const HRESULT hr =
                copyElement(result, static_cast<char*>(result->pvData) + i * result->cbElements,
                            static_cast<char*>(array->pvData) + i * array->cbElements);
            if (FAILED(hr)) {
                SafeArrayDestroy(result);
                return hr;
            }
        }
    }
    *copy = result;
    return S_OK;
}

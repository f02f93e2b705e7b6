// BSTR, VARIANT and SAFEARRAY for the Linux build, with the layouts and the
// semantics of OLE Automation. Implemented in a shared library so that, as
// with the system's automation library on Windows, a process holds one copy.
#pragma once

#include "platform/linux/types.h"
#include "platform/linux/unknown.h"

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    SAFEARRAYBOUND rgsabound[1];  // cDims entries, the last dimension first
};
using LPSAFEARRAY = SAFEARRAY*;

inline constexpr USHORT FADF_AUTO = 0x0001;
inline constexpr USHORT FADF_STATIC = 0x0002;
inline constexpr USHORT FADF_EMBEDDED = 0x0004;
inline constexpr USHORT FADF_FIXEDSIZE = 0x0010;
inline constexpr USHORT FADF_RECORD = 0x0020;
inline constexpr USHORT FADF_HAVEIID = 0x0040;
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;

struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        ULONGLONG ullVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BYTE bVal;
        CHAR cVal;
        SHORT iVal;
        USHORT uiVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        DATE date;
        SCODE scode;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        ULONG* pulVal;
        LONGLONG* pllVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        tagVARIANT* pvarVal;
        PVOID byref;
        struct {
            PVOID pvRecord;
            PVOID pRecInfo;
        } brecVal;
    };
};
static_assert(sizeof(VARIANT) == 24, "VARIANT must keep the Windows x64 layout");

VEXA_OLEAUT_API BSTR SysAllocString(const OLECHAR* text);
VEXA_OLEAUT_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
VEXA_OLEAUT_API UINT SysStringLen(BSTR text);
VEXA_OLEAUT_API UINT SysStringByteLen(BSTR text);
VEXA_OLEAUT_API void SysFreeString(BSTR text);

VEXA_OLEAUT_API void VariantInit(VARIANT* v);
VEXA_OLEAUT_API HRESULT VariantClear(VARIANT* v);
VEXA_OLEAUT_API HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);

VEXA_OLEAUT_API SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds);
VEXA_OLEAUT_API SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
VEXA_OLEAUT_API HRESULT SafeArrayDestroy(SAFEARRAY* array);
VEXA_OLEAUT_API UINT SafeArrayGetDim(SAFEARRAY* array);
VEXA_OLEAUT_API UINT SafeArrayGetElemsize(SAFEARRAY* array);
VEXA_OLEAUT_API HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
VEXA_OLEAUT_API HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
VEXA_OLEAUT_API HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
VEXA_OLEAUT_API HRESULT SafeArrayLock(SAFEARRAY* array);
VEXA_OLEAUT_API HRESULT SafeArrayUnlock(SAFEARRAY* array);
VEXA_OLEAUT_API HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
VEXA_OLEAUT_API HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
VEXA_OLEAUT_API HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, LONG* indices, void** element);
VEXA_OLEAUT_API HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value);
VEXA_OLEAUT_API HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value);
VEXA_OLEAUT_API HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

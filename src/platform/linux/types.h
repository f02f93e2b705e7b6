// Windows base types, result codes and GUIDs for the Linux build.
#pragma once

#include <cstdint>

#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT
#define WINAPI
#define VEXA_OLEAUT_API __attribute__((visibility("default")))

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using FLOAT = float;
using DOUBLE = double;
using BOOL = int;
using CHAR = char;
using WCHAR = char16_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;
using LPVOID = void*;
using PVOID = void*;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LCID = DWORD;
using DISPID = LONG;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using DATE = double;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

#define VEXA_HR(value) static_cast<HRESULT>(static_cast<std::uint32_t>(value))
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = VEXA_HR(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = VEXA_HR(0x80004002);
inline constexpr HRESULT E_POINTER = VEXA_HR(0x80004003);
inline constexpr HRESULT E_ABORT = VEXA_HR(0x80004004);
inline constexpr HRESULT E_FAIL = VEXA_HR(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = VEXA_HR(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = VEXA_HR(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = VEXA_HR(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = VEXA_HR(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = VEXA_HR(0x80040111);
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = VEXA_HR(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = VEXA_HR(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = VEXA_HR(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = VEXA_HR(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = VEXA_HR(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = VEXA_HR(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = VEXA_HR(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = VEXA_HR(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = VEXA_HR(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = VEXA_HR(0x8002000B);
inline constexpr HRESULT DISP_E_UNKNOWNLCID = VEXA_HR(0x8002000C);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = VEXA_HR(0x8002000D);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = VEXA_HR(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = VEXA_HR(0x8002000F);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = VEXA_HR(0x8002802B);
#undef VEXA_HR

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

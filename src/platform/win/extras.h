// Declarations the mingw-w64 headers lack. Kept to what we use.
#pragma once

#ifndef DISP_E_ARRAYISLOCKED
#define DISP_E_ARRAYISLOCKED _HRESULT_TYPEDEF_(0x8002000DL)
#endif

// Per-user type library registration (oleaut32 exports it; the headers do
// not declare it).
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpFolder);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID library, WORD majorVersion, WORD minorVersion, LCID locale,
                                                   SYSKIND system);

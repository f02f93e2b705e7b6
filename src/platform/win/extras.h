// Declarations the mingw-w64 headers lack. Kept to what we use.
#pragma once

#ifndef DISP_E_ARRAYISLOCKED
#define DISP_E_ARRAYISLOCKED _HRESULT_TYPEDEF_(0x8002000DL)
#endif

// The host's core-types runtime as the toolkit uses it. The reference host
// links the runtime directly (the plug-in finds this same copy already
// loaded), so the toolkit's texts are the runtime's core strings and a
// failing toolkit call leaves its reason as the calling thread's error info,
// where the plug-in reads it.
#pragma once

#include <string>

#include "host/kite/names.h"

#ifdef _WIN32
#define VEXA_CORETYPES_IMPORT __declspec(dllimport)
#else
#define VEXA_CORETYPES_IMPORT
#endif

// The runtime's exports, as src/coretypes defines them.
extern "C" {
VEXA_CORETYPES_IMPORT Nerova::RT::Core::ErrCode createString(Nerova::RT::Core::IString** string,
                                                             Nerova::RT::Core::ConstCharPtr text);
VEXA_CORETYPES_IMPORT Nerova::RT::Core::ErrCode createErrorInfo(Nerova::RT::Core::IErrorInfo** info);
VEXA_CORETYPES_IMPORT void nvRtSetErrorInfo(Nerova::RT::Core::IErrorInfo* info);
VEXA_CORETYPES_IMPORT Nerova::RT::Core::ErrCode nvRtGetErrorInfo(Nerova::RT::Core::IErrorInfo** info);
VEXA_CORETYPES_IMPORT void nvRtClearErrorInfo();
VEXA_CORETYPES_IMPORT Nerova::RT::Core::ErrCode nvRtDuplicateCharPtr(Nerova::RT::Core::ConstCharPtr source,
                                                                     Nerova::RT::Core::CharPtr* copy);
VEXA_CORETYPES_IMPORT void nvRtFreeMemory(void* memory);
}

namespace vexa::kite {

// The bytes of a core string; a null string is the empty text.
std::string textOf(IString* text);

// A new core string holding `text`, with the caller's reference; throws
// KiteError with the runtime's status when it cannot be made.
IString* newString(const std::string& text);

// Leaves `message` as the calling thread's error info. Best effort: a
// runtime that cannot make one leaves none.
void leaveErrorMessage(const std::string& message) noexcept;

// The message of the calling thread's error info, which is cleared; empty
// when there is none. For the host's own use (tests, the session).
std::string takeErrorMessage();

}  // namespace vexa::kite

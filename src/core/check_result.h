// Between core statuses and exceptions, in both directions.
#pragma once

#include "core/errors.h"

namespace Nerova::RT::Core {

// Turns a failing core status into its exception, with the message that the
// core library left for the calling thread.
void checkResult(ErrCode status);

// The status with which a slot called by the core library answers for the
// exception being handled: an exception of the family keeps its code, a
// failed allocation is errNoMemory, anything else errGeneralError. Only
// within a catch block.
ErrCode statusOfCurrentException() noexcept;

}  // namespace Nerova::RT::Core

// Turns a failing core status into its exception, with the message that the
// core library left for the calling thread.
#pragma once

#include "core/errors.h"

namespace Nerova::RT::Core {

void checkResult(ErrCode status);

}  // namespace Nerova::RT::Core

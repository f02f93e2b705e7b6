// A host window that the plug-in's windows are created in. It has no
// controls yet: it only stands for the window the host would embed.
#pragma once

#include "host/objects/host_object.h"

namespace vexa::host {

class HostWindow final : public HostObject<IDispatch> {};

}  // namespace vexa::host

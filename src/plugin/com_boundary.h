// No exception leaves a COM method: every method runs its body through
// answerGuarded, and this one place turns what was thrown into the answer.
#pragma once

#include "platform/com.h"

class PluginCore;

// The answer for the exception being handled: a COM error keeps its result;
// any other exception answers E_FAIL, and its message goes to the host
// through `core` when there is one that can take it.
HRESULT answerForCaughtException(PluginCore* core) noexcept;

template <class Body>
HRESULT answerGuarded(PluginCore* core, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return answerForCaughtException(core);
    }
}

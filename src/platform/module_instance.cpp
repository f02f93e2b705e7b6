#include "platform/module_instance.h"

#include <atomic>

namespace {

std::atomic<HINSTANCE> rememberedInstance{nullptr};

}  // namespace

void rememberModuleInstance(HINSTANCE instance) noexcept { rememberedInstance = instance; }

HINSTANCE moduleInstance() noexcept {
    if (HINSTANCE instance = rememberedInstance.load()) return instance;
    // Any address inside this module names it.
    static const char anchor = 0;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&anchor), &module);
    return module;
}

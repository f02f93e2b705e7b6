#include "ui/markup_resource.h"

#include <cstring>
#include <optional>
#include <string_view>

#include "core/errors.h"

#ifdef _WIN32
#include "platform/com.h"
#include "platform/module_instance.h"
#else
#include "ui/embedded_markup.h"
#endif

namespace Nerova::Kite {

namespace {

struct ResourceBytes {
    const char* data;
    std::size_t size;
};

#ifdef _WIN32

std::optional<ResourceBytes> findResource(const std::string& name) {
    const HMODULE module = moduleInstance();
    HRSRC found = FindResourceA(module, name.c_str(), "Kite");
    if (found == nullptr) return std::nullopt;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    return ResourceBytes{static_cast<const char*>(data), size};
}

#else

std::optional<ResourceBytes> findResource(const std::string& name) {
    for (const EmbeddedMarkup& markup : embeddedMarkup()) {
        if (name == markup.name) return ResourceBytes{reinterpret_cast<const char*>(markup.data), markup.size};
    }
    return std::nullopt;
}

#endif

}  // namespace

std::string resourceText(const char* data, std::size_t size) {
    if (size == 0) return std::string(data);
    return std::string(data, size);
}

std::string markupText(const std::string& name) {
    const std::optional<ResourceBytes> found = findResource(name);
    if (!found) {
        throw RT::Core::InvalidParameterException("The window markup \"" + name +
                                                  "\" is missing from the plug-in module.");
    }
    return resourceText(found->data, found->size);
}

}  // namespace Nerova::Kite

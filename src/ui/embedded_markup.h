// The markup files compiled into the module where there are no resources;
// the build generates the table from src/ui/markup.
#pragma once

#include <cstddef>
#include <span>

namespace Nerova::Kite {

struct EmbeddedMarkup {
    const char* name;  // "ui/<file>"
    const unsigned char* data;
    std::size_t size;
};

std::span<const EmbeddedMarkup> embeddedMarkup() noexcept;

}  // namespace Nerova::Kite

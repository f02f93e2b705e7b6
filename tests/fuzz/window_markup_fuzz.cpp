// The toolkit's markup: bytes loaded into a reference-host window and,
// when the window takes them, the window written as JSON, as the live page
// asks for it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/kite/toolkit.h"

using namespace vexa::kite;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    UiClock clock;
    Ref<Window> window = make<Window>(clock);
    const auto markup = Ref<IString>::adopt(newString({reinterpret_cast<const char*>(data), size}));
    if (window->loadMarkup(markup.get()) == errOk) {
        window->open();
        const std::string text = jsonText(window->json());
        if (text.empty()) __builtin_trap();
    } else {
        // The reason stays with the thread until someone takes it.
        takeErrorMessage();
    }
    window->drop();
    return 0;
}

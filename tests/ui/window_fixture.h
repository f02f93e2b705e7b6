// The plug-in's shared state on a reference host, with a window of the
// reference host's toolkit to build the plug-in's windows in, and devices
// that reach a scripted peer instead of the network.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/vexa_device.h"
#include "host/kite/toolkit.h"
#include "support/storage_fixture.h"
#include "ui/window_ptr.h"

namespace window_test {

namespace kite = vexa::kite;
using Nerova::RT::Core::ErrCode;

inline constexpr ErrCode kOk = 0;
inline constexpr ErrCode kGeneralError = 0x80000014u;

// The toolkit window as the host hands it to the plug-in's windows.
Nerova::Kite::WindowPtr windowPtrOf(kite::Window& window);

// Each shown column as "index key title kind width", plus " fixed" when
// the user may not resize it.
std::vector<std::string> columnsOf(const kite::DrawGrid& grid);

class WindowTest : public storage_test::StorageTest {
protected:
    ~WindowTest() override { host->drop(); }

    Nerova::Kite::WindowPtr window() const { return windowPtrOf(*host); }
    template <class T>
    T& control(const std::string& name) const {
        return dynamic_cast<T&>(*host->find(name));
    }
    kite::DrawGrid& grid(const std::string& name) const { return control<kite::DrawGrid>(name); }

    // Every later connect of `device` reaches a peer that introduces itself
    // as `name`; each attempt is written to `connects` as "address:port".
    void makeReachable(VexaDevice& device, const std::string& name = "Vexa sim");
    // Every later connect of `device` is refused.
    void makeUnreachable(VexaDevice& device);

    kite::UiClock clock;
    kite::Ref<kite::Window> host = kite::make<kite::Window>(clock);
    std::shared_ptr<std::vector<std::string>> connects = std::make_shared<std::vector<std::string>>();
};

}  // namespace window_test

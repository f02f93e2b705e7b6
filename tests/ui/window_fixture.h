// The plug-in's shared state on a reference host, with a fake toolkit
// window to build the plug-in's windows in, and devices that reach a
// scripted peer instead of the network.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/vexa_device.h"
#include "fake_window.h"
#include "support/storage_fixture.h"
#include "ui/window_ptr.h"

namespace window_test {

using kite_fake::FakeGrid;
using kite_fake::FakeWindow;
using Nerova::RT::Core::ErrCode;

inline constexpr ErrCode kOk = 0;
inline constexpr ErrCode kGeneralError = 0x80000014u;

// Each defined column as "index key title kind width flags".
std::vector<std::string> columnsOf(const FakeGrid& grid);

class WindowTest : public storage_test::StorageTest {
protected:
    Nerova::Kite::WindowPtr window() const { return Nerova::Kite::WindowPtr(fake.get()); }

    // Every later connect of `device` reaches a peer that introduces itself
    // as `name`; each attempt is written to `connects` as "address:port".
    void makeReachable(VexaDevice& device, const std::string& name = "Vexa sim");
    // Every later connect of `device` is refused.
    void makeUnreachable(VexaDevice& device);

    Nerova::RT::Core::ObjectPtr<FakeWindow> fake = kite_fake::make<FakeWindow>();
    std::shared_ptr<std::vector<std::string>> connects = std::make_shared<std::vector<std::string>>();
};

}  // namespace window_test

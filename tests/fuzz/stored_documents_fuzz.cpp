// Stored settings and setups, edited by hand or damaged on disk: bytes
// parsed as the reference host's XML document, then given to the plug-in,
// loaded from its module, as the settings (159) and the setup (158) to
// load, with the channel lists read between them as the host does; what
// was loaded is saved again.
//
// A stored device may name any address. The target runs in a network of
// its own, where only loopback exists and a simulated device answers at
// 127.0.0.1:5963; every other address fails at once, and nothing leaves
// the machine.
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/objects/host_app_object.h"
#include "host/objects/host_object.h"
#include "host/objects/xml_document.h"
#include "host/plugin_driver.h"
#include "host/plugin_module.h"
#include "sim/simulator.h"

namespace {

using vexa::host::XmlDocumentObject;
using vexa::host::XmlElementObject;

[[noreturn]] void refuse(const char* why) {
    std::perror(why);
    std::fputs("stored documents: no private network, so stored addresses could be reached; not fuzzing\n", stderr);
    // The test runner counts this status as skipped: a machine that forbids
    // namespaces cannot run this target safely, which is not a finding.
    std::exit(77);
}

// A network namespace of our own with its loopback up.
void isolateNetwork() {
    if (unshare(CLONE_NEWNET) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) refuse("unshare");
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    if (probe < 0) refuse("socket");
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    request.ifr_flags = IFF_UP | IFF_LOOPBACK | IFF_RUNNING;
    if (ioctl(probe, SIOCSIFFLAGS, &request) != 0) refuse("loopback up");
    close(probe);
}

struct Session {
    vexa::host::PluginModule module{vexa::host::PluginModule::besideProgram()};
    std::unique_ptr<vexa::sim::Simulator> device;
};
Session* session = nullptr;

HRESULT documentEvent(const vexa::host::PluginDriver& plugin, HostEventId id, const XmlDocumentObject& document,
                      bool saving) {
    vexa::ComPtr<XmlElementObject> root{&document.root()};
    vexa::Variant result;
    return plugin.documentEvent(id, const_cast<XmlDocumentObject*>(&document), root.get(), saving, result);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isolateNetwork();
    session = new Session;
    session->device = std::make_unique<vexa::sim::Simulator>(vexa::sim::SimConfig{}, 5963);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexa::ComPtr<XmlDocumentObject> document;
    try {
        document = XmlDocumentObject::parse({reinterpret_cast<const char*>(data), size});
    } catch (const vexa::host::XmlFileError&) {
        return 0;
    }
    auto app = vexa::host::makeHostObject<vexa::host::HostAppObject>();
    app->setEchoReports(false);
    // A folder below a file: the log is written but cannot be opened.
    app->setLogFolder("/dev/null/");
    {
        vexa::host::PluginDriver plugin{session->module.createPlugin()};
        if (plugin.initialize(app.get()) != S_OK) std::abort();
        // Failures are answers here: a broken document may be refused.
        documentEvent(plugin, HostEvent::SettingsDocument, *document, false);
        vexa::Variant result;
        plugin.event(HostEvent::Reconfigure, result);
        documentEvent(plugin, HostEvent::SetupDocument, *document, false);

        documentEvent(plugin, HostEvent::SettingsDocument, *XmlDocumentObject::create("Settings"), true);
        documentEvent(plugin, HostEvent::SetupDocument, *XmlDocumentObject::create("Setup"), true);
    }
    return 0;
}

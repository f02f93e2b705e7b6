#include "raw_host.h"

#include <algorithm>
#include <cstring>

#include "platform/bstr.h"
#include "contract/host_channels.h"
#include "contract/host_data.h"
#include "contract/host_xml.h"
#include "contract/kite_interfaces.h"

namespace raw {
namespace {

RawHost& hostOf(Object& self) { return static_cast<RawHost&>(self.world()); }

HRESULT giveObject(Object& target, IUnknown** out) {
    if (out == nullptr) return E_POINTER;
    *out = target.addRef();
    return S_OK;
}

BSTR textOf(const std::string& utf8) { return vexa::Bstr(utf8).release(); }
std::string utf8Of(BSTR text) { return vexa::Bstr::fromWide({text, SysStringLen(text)}).utf8(); }

// The application (HostApp).
HRESULT appData(Object& self, IUnknown** data) { return giveObject(self.world()["data"], data); }
HRESULT appHostMode(Object& self, LONG* mode) {
    *mode = hostOf(self).hostMode;
    return S_OK;
}
HRESULT appClock(Object& self, IUnknown** clock) { return giveObject(self.world()["clock"], clock); }
HRESULT appSetupMode(Object&, VARIANT_BOOL* setup) {
    *setup = VARIANT_FALSE;
    return S_OK;
}
HRESULT appFolder(Object&, LONG kind, BSTR* folder) {
    if (kind != 1) return E_INVALIDARG;
    *folder = textOf("");
    return S_OK;
}
HRESULT appVersion(Object& self, LONG* first, LONG* major, LONG* servicePack, LONG* fourth, LONG*) {
    *first = 0;
    *major = hostOf(self).major;
    *servicePack = hostOf(self).servicePack;
    *fourth = 0;
    return S_OK;
}
HRESULT clockTime(Object& self, double* time) {
    *time = hostOf(self).hostTime;
    return S_OK;
}

// The data chain: data 7 gives the model, model 8 with kind 8 the object
// that offers the channel group.
HRESULT dataModel(Object& self, IUnknown** model) { return giveObject(self.world()["model"], model); }
HRESULT modelItem(Object& self, LONG kind, IUnknown** item) {
    if (kind != 8) return E_INVALIDARG;
    return giveObject(self.world()["group"], item);
}
HRESULT dataBlockCount(Object&, LONG* count) {
    *count = 0;
    return S_OK;
}
HRESULT dataBlockGeometry(Object&, LONGLONG* size, LONGLONG* offset) {
    *size = 0;
    *offset = 0;
    return S_OK;
}
HRESULT dataRetain(Object&, VARIANT_BOOL* retain) {
    *retain = VARIANT_FALSE;
    return S_OK;
}

// A host channel: a few properties and a small ring.
RawHost::Channel& channelOf(Object& self) { return hostOf(self).channel(self.name()); }
template <int Setter>
HRESULT setFlag(Object& self, VARIANT_BOOL value) {
    channelOf(self).flags[Setter] = value;
    return S_OK;
}
template <int Setter>
HRESULT getFlag(Object& self, VARIANT_BOOL* value) {
    const auto& flags = channelOf(self).flags;
    const auto found = flags.find(Setter);
    *value = found == flags.end() ? VARIANT_FALSE : found->second;
    return S_OK;
}
HRESULT channelSetName(Object& self, BSTR name) {
    channelOf(self).name = utf8Of(name);
    return S_OK;
}
HRESULT channelGetName(Object& self, BSTR* name) {
    *name = textOf(channelOf(self).name);
    return S_OK;
}
HRESULT channelSetUnit(Object& self, BSTR unit) {
    channelOf(self).unit = utf8Of(unit);
    return S_OK;
}
HRESULT channelGetUnit(Object& self, BSTR* unit) {
    *unit = textOf(channelOf(self).unit);
    return S_OK;
}
HRESULT channelSetColor(Object& self, LONG color) {
    channelOf(self).color = color;
    return S_OK;
}
HRESULT channelGetColor(Object& self, LONG* color) {
    *color = channelOf(self).color;
    return S_OK;
}
HRESULT channelSetType(Object& self, LONG type) {
    channelOf(self).dataType = type;
    return S_OK;
}
HRESULT channelGetType(Object& self, LONG* type) {
    *type = channelOf(self).dataType;
    return S_OK;
}
HRESULT channelValueSize(Object&, LONG* bytes) {
    *bytes = sizeof(double);
    return S_OK;
}
HRESULT channelBufferLength(Object& self, LONG* samples) {
    *samples = static_cast<LONG>(channelOf(self).values.size());
    return S_OK;
}
HRESULT channelValuesPerSample(Object&, LONG* count) {
    *count = 1;
    return S_OK;
}
HRESULT channelPosition(Object& self, LONG* position) {
    *position = channelOf(self).position;
    return S_OK;
}
HRESULT channelAdvance(Object& self, LONG samples) {
    RawHost::Channel& channel = channelOf(self);
    channel.position = (channel.position + samples) % static_cast<LONG>(channel.values.size());
    return S_OK;
}
HRESULT channelSampleBuffer(Object& self, BYTE** base) {
    *base = reinterpret_cast<BYTE*>(channelOf(self).values.data());
    return S_OK;
}
HRESULT channelTimeBuffer(Object& self, double** base) {
    *base = channelOf(self).times.data();
    return S_OK;
}

void makeChannel(RawHost& host, const std::string& name) {
    host.channels[name];
    Object& control = host.make(name + ".control");
    host.make(name)
        .offers(vexa::interfaceId<HostChannelControl>(), &control)
        .on<10, &channelBufferLength>()
        .on<12, &channelPosition>()
        .on<19, &channelGetName>()
        .on<20, &channelSetName>()
        .on<22, &getFlag<23>>()
        .on<23, &setFlag<23>>()
        .on<29, &channelGetType>()
        .on<30, &channelValueSize>()
        .on<31, &getFlag<108>>()
        .on<42, &channelGetUnit>()
        .on<43, &channelSetUnit>()
        .on<51, &channelGetColor>()
        .on<52, &channelSetColor>()
        .on<71, &channelAdvance>()
        .on<83, &channelValuesPerSample>()
        .on<89, &channelSetType>()
        .on<98, &getFlag<109>>()
        .on<108, &setFlag<108>>()
        .on<109, &setFlag<109>>()
        .on<112, &getFlag<113>>()
        .on<113, &setFlag<113>>()
        .on<184, &channelSampleBuffer>()
        .on<185, &channelTimeBuffer>();
}

// The group makes one channel per call (the identifier list is the host's
// business here).
HRESULT groupCreate(Object& self, BSTR, LONG count, VARIANT*, IUnknown** channel) {
    if (count != 1) return E_INVALIDARG;
    RawHost& host = hostOf(self);
    const std::string name = "channel" + std::to_string(host.channels.size());
    makeChannel(host, name);
    return giveObject(host[name], channel);
}

// The document holds, under the element, at most one stored device.
HRESULT documentGetMode(Object& self, LONG* mode) {
    *mode = hostOf(self).documentMode;
    return S_OK;
}
HRESULT documentSetMode(Object& self, LONG mode) {
    hostOf(self).documentMode = mode;
    return S_OK;
}
HRESULT documentReadValue(Object& self, IUnknown*, BSTR name, BSTR* value, BSTR defaultValue) {
    const std::string key = utf8Of(name);
    RawHost& host = hostOf(self);
    if (key == "IpAddress") *value = textOf(host.deviceAddress);
    else if (key == "PortNumber") *value = textOf(host.devicePort);
    else *value = SysAllocStringLen(defaultValue, SysStringLen(defaultValue));
    return S_OK;
}
HRESULT elementFindChild(Object& self, BSTR name, IUnknown** child) {
    const bool devices = utf8Of(name) == "VexaDevicesSettings" && !hostOf(self).devicePort.empty();
    *child = devices ? self.world()["devices"].addRef() : nullptr;
    return S_OK;
}
HRESULT devicesChildCount(Object&, LONG* count) {
    *count = 1;
    return S_OK;
}
HRESULT deviceName(Object&, BSTR* name) {
    *name = textOf("VexaDeviceSettings");
    return S_OK;
}
HRESULT devicesChild(Object& self, LONG index, IUnknown** child) {
    if (index != 0) return E_INVALIDARG;
    return giveObject(self.world()["device"], child);
}

// The toolkit. A window (which also offers its control factory) finds its
// controls by name; the factory makes timers; a grid hands out its column.
// Every other toolkit call is answered with success by the recording stub.
IID iidOf(const Nerova::RT::Core::IntfID& id) {
    IID iid;
    static_assert(sizeof iid == sizeof id);
    std::memcpy(&iid, &id, sizeof iid);
    return iid;
}
std::string coreText(IUnknown* string) {
    const char* text = nullptr;
    return callSlot(string, 8, &text) == S_OK && text != nullptr ? text : "";
}
HRESULT windowFindChild(Object& self, IUnknown* name, IUnknown** control) {
    const auto& controls = hostOf(self).controls;
    const std::string wanted = coreText(name);
    const bool known = std::find(controls.begin(), controls.end(), wanted) != controls.end();
    *control = known ? self.world()[wanted].addRef() : nullptr;
    return S_OK;
}
HRESULT factoryCreate(Object& self, IUnknown* type, IUnknown*, IUnknown** control) {
    if (coreText(type) != "Timer") return E_INVALIDARG;
    return giveObject(self.world()["timer"], control);
}
HRESULT gridColumn(Object& self, std::int64_t, IUnknown** column) { return giveObject(self.world()["column"], column); }

}  // namespace

void RawHost::makeToolkit() {
    using namespace Nerova::Kite;
    make("factory").offers(iidOf(IControlFactory::Id)).on<8, &factoryCreate>();
    make("timer").offers(iidOf(ITimer::Id));
    make("column").offers(iidOf(IDrawGridColumn::Id));
    for (const char* window : {"setupWindow", "settingsWindow", "analysisWindow"}) {
        make(window)
            .offers(iidOf(IWindow::Id))
            .offers(iidOf(IControlFactory::Id), &(*this)["factory"])
            .on<18, &windowFindChild>();
    }
    const std::pair<const char*, IntfID> named[] = {
        {"addDeviceButton", IButton::Id},       {"removeDeviceButton", IButton::Id},
        {"deviceNVDrawGrid", INVDrawGrid::Id},  {"deviceSelectionTabControl", ITabControl::Id},
        {"deviceConnectedLabel", ILabel::Id},   {"deviceAddress", ILabel::Id},
        {"channelSearchEdit", ISearchEdit::Id}, {"channelGrid", INVDrawGrid::Id},
    };
    for (const auto& [name, id] : named) {
        Object& control = make(name).offers(iidOf(id));
        if (id == INVDrawGrid::Id) control.on<19, &gridColumn>();
        controls.emplace_back(name);
    }
}

RawHost::RawHost() {
    make("app")
        .on<7, &appData>()
        .on<57, &appHostMode>()
        .on<59, &appClock>()
        .on<111, &appSetupMode>()
        .on<146, &appFolder>()
        .on<161, &appVersion>();
    make("clock").on<7, &clockTime>();
    make("data")
        .on<7, &dataModel>()
        .on<10, &dataBlockCount>()
        .on<11, &dataBlockGeometry>()
        .on<58, &dataRetain>();
    make("model").on<8, &modelItem>();
    make("group").offers(vexa::interfaceId<HostChannelGroup>()).on<18, &groupCreate>();
    make("document")
        .offers(vexa::interfaceId<HostXmlDocument>())
        .on<17, &documentReadValue>()
        .on<19, &documentGetMode>()
        .on<20, &documentSetMode>();
    make("element").offers(vexa::interfaceId<HostXmlElement>()).on<11, &elementFindChild>();
    make("devices").on<12, &devicesChild>().on<13, &devicesChildCount>();
    make("device").on<22, &deviceName>();
    makeToolkit();
}

}  // namespace raw

// The host's plug-in interfaces, which Plugin implements, and the plug-in's
// class identifier. Every slot is declared in the host's order, used or not:
// the host calls them by position.
#pragma once

#include "platform/com.h"

struct HostApp;

// Methods 1 to 19 after IDispatch (slots 7 to 25).
struct IPlugin2 : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Initialize(HostApp* app) = 0;  // 1
    virtual HRESULT STDMETHODCALLTYPE StartAcquisition() = 0;        // 2
    virtual HRESULT STDMETHODCALLTYPE StopAcquisition() = 0;         // 3
    virtual HRESULT STDMETHODCALLTYPE PrepareAcquisition() = 0;      // 4
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method5() = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadData() = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method11() = 0;
    virtual HRESULT STDMETHODCALLTYPE NewSetup() = 0;              // 12
    virtual HRESULT STDMETHODCALLTYPE DetachOutputChannels() = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method14(LONG argument, VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method15() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method16() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method17(VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method18() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin2Method19() = 0;
};

// Its own methods 1 to 20 (slots 26 to 45). The acquisition methods repeat
// those of IPlugin2 under other names: with the same name and signature they
// would override the base slots instead of adding their own.
struct IPlugin3 : IPlugin2 {
    virtual HRESULT STDMETHODCALLTYPE StartAcquisition3() = 0;  // 1
    virtual HRESULT STDMETHODCALLTYPE StopAcquisition3() = 0;   // 2
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method10(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadData3() = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method12() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method13(VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method14() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method15() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method16() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method17() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method18() = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method19(LONG argument, VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE Plugin3Method20() = 0;
};

using HostEventId = LONG;

// The numbered host events. The value fields of `argument` and `result`
// carry what each event passes. Either pointer may be null: an event that
// does not use it answers as usual, and a missing result refuses only the
// events that write one.
struct IPlugin4 : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE ProcessEvent(HostEventId id, VARIANT* argument, VARIANT* result) = 0;
};

namespace HostEvent {
inline constexpr HostEventId Reconfigure = 105;
inline constexpr HostEventId Event110 = 110;
inline constexpr HostEventId Event113 = 113;
inline constexpr HostEventId Event129 = 129;
inline constexpr HostEventId Event133 = 133;
inline constexpr HostEventId Event134 = 134;
inline constexpr HostEventId Event154 = 154;
inline constexpr HostEventId Event155 = 155;
inline constexpr HostEventId Event157 = 157;
inline constexpr HostEventId SetupDocument = 158;
inline constexpr HostEventId SettingsDocument = 159;
inline constexpr HostEventId Event169 = 169;
inline constexpr HostEventId Event173 = 173;
inline constexpr HostEventId Event178 = 178;
inline constexpr HostEventId CreateSetupWindow = 179;
inline constexpr HostEventId DropSetupWindow = 180;
inline constexpr HostEventId CreateSettingsWindow = 181;
inline constexpr HostEventId DropSettingsWindow = 182;
inline constexpr HostEventId CreateAnalysisWindow = 185;
inline constexpr HostEventId DropAnalysisWindow = 186;
}  // namespace HostEvent

// The class the host creates. Fixed for good: the host finds it by this value.
inline constexpr CLSID CLSID_VexaPlugin = {
    0x5802E1F1, 0x47A4, 0x4A22, {0xBB, 0x43, 0x26, 0x7C, 0x65, 0xEE, 0x28, 0x30}};

// The library in the module's "TYPELIB" 1 resource (vexa_plugin.idl). Fixed
// for good, like the class and interface identifiers it describes.
inline constexpr GUID LIBID_VexaPluginLib = {
    0x79115CD9, 0x0532, 0x4A3B, {0xA9, 0xB4, 0x59, 0xB4, 0xAB, 0x0E, 0x65, 0x3A}};

VEXA_INTERFACE_ID(IPlugin2, 0xBD31CC90, 0xD986, 0x4002, 0x81, 0x4D, 0xBF, 0x01, 0xA6, 0x6F, 0x28, 0xE5)
VEXA_INTERFACE_ID(IPlugin3, 0x25DC7532, 0x6145, 0x4A34, 0x9F, 0x3C, 0x94, 0x9C, 0xD2, 0xF3, 0xE4, 0x17)
VEXA_INTERFACE_ID(IPlugin4, 0x96D3892B, 0x68B0, 0x469C, 0xB0, 0x4D, 0xF3, 0x2C, 0x05, 0xDE, 0xB1, 0x16)

// The host application as the plug-in sees it. The host calls by position:
// every slot up to the last one the plug-in uses is declared, unused ones as
// placeholders, and each comment gives the host's method number (counted
// from 0 with IUnknown's three methods, so IDispatch ends at 6).
#pragma once

#include "contract/host_slots.h"
#include "platform/com.h"

struct HostData;

// The host's acquisition clock.
struct HostTimeSource : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetTime(DOUBLE* seconds) = 0;  // 7
};

struct HostApp : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetData(HostData** data) = 0;  // 7
    VEXA_UNUSED_SLOTS(HostApp, 8, 56)
    // 2 tells the plug-in to leave the host's documents alone.
    virtual HRESULT STDMETHODCALLTYPE GetHostMode(LONG* mode) = 0;                // 57
    VEXA_UNUSED_SLOTS(HostApp, 58, 58)
    virtual HRESULT STDMETHODCALLTYPE GetTimeSource(HostTimeSource** source) = 0;  // 59
    VEXA_UNUSED_SLOTS(HostApp, 60, 83)
    // The host shows or records the text.
    virtual HRESULT STDMETHODCALLTYPE ReportError(BSTR text) = 0;      // 84
    VEXA_UNUSED_SLOTS(HostApp, 85, 110)
    virtual HRESULT STDMETHODCALLTYPE IsSetupMode(VARIANT_BOOL* setup) = 0;  // 111
    VEXA_UNUSED_SLOTS(HostApp, 112, 145)
    // A host folder; kind 1 is where the plug-in keeps its log. The path
    // ends with a separator.
    virtual HRESULT STDMETHODCALLTYPE GetFolder(LONG kind, BSTR* folder) = 0;  // 146
    VEXA_UNUSED_SLOTS(HostApp, 147, 160)
    virtual HRESULT STDMETHODCALLTYPE GetVersion(LONG* first, LONG* major, LONG* servicePack,
                                                 LONG* fourth, LONG* fifth) = 0;  // 161
};

VEXA_INTERFACE_ID(HostTimeSource, 0x91C8BFA6, 0xBC90, 0x4E55, 0xA1, 0x75, 0x58, 0xEE, 0x3B, 0x43, 0xF6, 0xE3)
VEXA_INTERFACE_ID(HostApp, 0x19F53003, 0xA583, 0x43B1, 0xBA, 0xF7, 0x52, 0x87, 0x0A, 0xA5, 0x98, 0x32)

// The host's acquisition data and the plug-in's channel group. Every slot up
// to the last one the plug-in uses is declared, unused ones as placeholders;
// each comment gives the host's method number (counted from 0 with IUnknown's
// three methods).
#pragma once

#include "contract/host_slots.h"
#include "platform/com.h"

struct HostChannel;

// An inner object of the host's data model; it leads to the channel group.
struct HostDataModel : IDispatch {
    VEXA_UNUSED_SLOTS(HostDataModel, 7, 7)
    // Kind 8 gives the object that offers the plug-in's HostChannelGroup.
    virtual HRESULT STDMETHODCALLTYPE GetItem(LONG kind, IUnknown** item) = 0;  // 8
};

struct HostData : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetModel(HostDataModel** model) = 0;  // 7
    VEXA_UNUSED_SLOTS(HostData, 8, 9)
    virtual HRESULT STDMETHODCALLTYPE GetBlockCount(LONG* count) = 0;       // 10
    virtual HRESULT STDMETHODCALLTYPE GetBlockGeometry(LONGLONG* blockSize, LONGLONG* offset) = 0;  // 11
    VEXA_UNUSED_SLOTS(HostData, 12, 33)
    // The host reads the plug-in's channel list again.
    virtual HRESULT STDMETHODCALLTYPE RefreshPluginChannels() = 0;         // 34
    VEXA_UNUSED_SLOTS(HostData, 35, 43)
    virtual HRESULT STDMETHODCALLTYPE GetSampleRate(DOUBLE* rate) = 0;     // 44
    VEXA_UNUSED_SLOTS(HostData, 45, 55)
    // `indexPath` holds an array of 4-byte integers; the answer may be null.
    virtual HRESULT STDMETHODCALLTYPE FindChannel(VARIANT* indexPath, HostChannel** channel) = 0;  // 56
    VEXA_UNUSED_SLOTS(HostData, 57, 57)
    // True when host channels outlive the plug-in's own bookkeeping.
    virtual HRESULT STDMETHODCALLTYPE GetRetainChannels(VARIANT_BOOL* retain) = 0;  // 58
};

struct HostChannelGroup : IDispatch {
    VEXA_UNUSED_SLOTS(HostChannelGroup, 7, 15)
    virtual HRESULT STDMETHODCALLTYPE RemoveChannel(HostChannel* channel) = 0;  // 16
    VEXA_UNUSED_SLOTS(HostChannelGroup, 17, 17)
    // `ids` holds an array of `count` 4-byte integers naming the new channels.
    virtual HRESULT STDMETHODCALLTYPE CreateChannels(BSTR pluginId, LONG count, VARIANT* ids,
                                                     HostChannel** channel) = 0;  // 18
    VEXA_UNUSED_SLOTS(HostChannelGroup, 19, 20)
    virtual HRESULT STDMETHODCALLTYPE GroupChannels(BSTR pluginId, LONG count, VARIANT* keys,
                                                    BSTR text) = 0;  // 21
};

VEXA_INTERFACE_ID(HostDataModel, 0xEE7E0A9F, 0xF01B, 0x48E6, 0x91, 0xB5, 0x1B, 0xD6, 0x9F, 0x52, 0xB3, 0xC7)
VEXA_INTERFACE_ID(HostData, 0xDD149B96, 0xD14B, 0x4B51, 0x9D, 0x00, 0x58, 0xB7, 0x40, 0x9D, 0xD9, 0x25)
VEXA_INTERFACE_ID(HostChannelGroup, 0x9E7FBA27, 0x9D0C, 0x4177, 0x84, 0x44, 0x89, 0xDD, 0x1C, 0xD9, 0x5A, 0xD4)

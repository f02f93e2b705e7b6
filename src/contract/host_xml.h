// The host's XML documents as the plug-in sees them. Attributes are elements
// too: they are created by the document and attached to their owner. Every
// slot up to the last one the plug-in uses is declared, unused ones as
// placeholders; each comment gives the host's method number (counted from 0
// with IUnknown's three methods).
#pragma once

#include "contract/host_slots.h"
#include "platform/com.h"

struct HostXmlElement : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SetText(BSTR text) = 0;                               // 7
    virtual HRESULT STDMETHODCALLTYPE AppendChild(HostXmlElement* child) = 0;               // 8
    virtual HRESULT STDMETHODCALLTYPE RemoveChild(HostXmlElement* child) = 0;               // 9
    virtual HRESULT STDMETHODCALLTYPE ClearChildren() = 0;                                  // 10
    // The first child of that name, or null.
    virtual HRESULT STDMETHODCALLTYPE FindChild(BSTR name, HostXmlElement** child) = 0;     // 11
    virtual HRESULT STDMETHODCALLTYPE GetChild(LONG index, HostXmlElement** child) = 0;     // 12
    virtual HRESULT STDMETHODCALLTYPE GetChildCount(LONG* count) = 0;                       // 13
    virtual HRESULT STDMETHODCALLTYPE GetParent(HostXmlElement** parent) = 0;               // 14
    // The element an attribute belongs to; null for other elements.
    virtual HRESULT STDMETHODCALLTYPE GetRelated(HostXmlElement** related) = 0;             // 15
    virtual HRESULT STDMETHODCALLTYPE AddAttribute(HostXmlElement* attribute) = 0;          // 16
    virtual HRESULT STDMETHODCALLTYPE RemoveAttribute(HostXmlElement* attribute) = 0;       // 17
    // The attribute of that name, or null.
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(BSTR name, HostXmlElement** attribute) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE GetAttribute(LONG index, HostXmlElement** attribute) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE GetAttributeCount(LONG* count) = 0;                   // 20
    virtual HRESULT STDMETHODCALLTYPE ClearAttributes() = 0;                                // 21
    virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;                              // 22
    virtual HRESULT STDMETHODCALLTYPE GetText(BSTR* text) = 0;                              // 23
};

struct HostXmlDocument : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(HostXmlElement** root) = 0;  // 7
    VEXA_UNUSED_SLOTS(HostXmlDocument, 8, 8)
    // A new element that belongs to no parent yet.
    virtual HRESULT STDMETHODCALLTYPE CreateElement(BSTR name, BSTR text, HostXmlElement** element) = 0;  // 9
    VEXA_UNUSED_SLOTS(HostXmlDocument, 10, 15)
    virtual HRESULT STDMETHODCALLTYPE WriteValue(HostXmlElement* element, BSTR name, BSTR value,
                                                 BSTR defaultValue) = 0;  // 16
    // Answers `defaultValue` when the element holds no value of that name.
    virtual HRESULT STDMETHODCALLTYPE ReadValue(HostXmlElement* element, BSTR name, BSTR* value,
                                                BSTR defaultValue) = 0;  // 17
    VEXA_UNUSED_SLOTS(HostXmlDocument, 18, 18)
    // 1 while the document is being written, 0 while it is read.
    virtual HRESULT STDMETHODCALLTYPE GetMode(LONG* mode) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE SetMode(LONG mode) = 0;   // 20
    VEXA_UNUSED_SLOTS(HostXmlDocument, 21, 25)
    virtual HRESULT STDMETHODCALLTYPE GetElementName(HostXmlElement* element, BSTR* name) = 0;  // 26
    virtual HRESULT STDMETHODCALLTYPE GetElementText(HostXmlElement* element, BSTR* text) = 0;  // 27
};

VEXA_INTERFACE_ID(HostXmlElement, 0xC7289BE1, 0x0041, 0x4227, 0x82, 0x87, 0xBE, 0xE2, 0xF7, 0x8B, 0xC1, 0x44)
VEXA_INTERFACE_ID(HostXmlDocument, 0xECBFF888, 0x6A7C, 0x4856, 0x88, 0xC8, 0xB7, 0x65, 0x97, 0x1B, 0x7C, 0x4B)

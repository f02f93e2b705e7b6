// The objects a reference host channel hands out besides itself: its entry
// list, its array description with the axes, and its property documents.
// Each keeps what the plug-in set in public fields for the host to read.
//
// Assumptions about the real host: an entry or axis index beyond its list
// is refused (E_INVALIDARG), never answered with a default; a property
// document that does not exist is no error, only no document; flags passed
// in must be VARIANT_TRUE or VARIANT_FALSE (see host_flag.h).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/objects/host_flag.h"
#include "host/objects/host_object.h"
#include "host/objects/xml_document.h"
#include "contract/host_channels.h"

namespace vexa::host {

class EntryObject final : public HostObject<HostEntry> {
public:
    HRESULT STDMETHODCALLTYPE GetId(LONG* id) override;
    HRESULT STDMETHODCALLTYPE SetId(LONG id) override;
    HRESULT STDMETHODCALLTYPE GetName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE SetName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE GetValue(LONG* value) override;
    HRESULT STDMETHODCALLTYPE SetValue(LONG value) override;

    LONG id = 0;
    std::string name;
    LONG value = 0;
};

class EntryListObject final : public HostObject<HostEntryList> {
public:
    HRESULT STDMETHODCALLTYPE GetCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE RemoveAt(LONG index) override;
    HRESULT STDMETHODCALLTYPE GetAt(LONG index, HostEntry** entry) override;
    HRESULT STDMETHODCALLTYPE Append(HostEntry** entry) override;

    std::vector<ComPtr<EntryObject>> entries;
};

class AxisOptionsObject final : public HostObject<HostAxisOptions> {
public:
    HRESULT STDMETHODCALLTYPE SetKind(LONG kind) override;
    HRESULT STDMETHODCALLTYPE SetFlag(VARIANT_BOOL flag) override;

    LONG kind = 0;
    bool flag = false;
};

class AxisObject final : public HostObject<HostAxis> {
public:
    AxisObject() : options(makeHostObject<AxisOptionsObject>()) {}

    HRESULT STDMETHODCALLTYPE SetType(LONG type) override;
    HRESULT STDMETHODCALLTYPE SetStart(DOUBLE start) override;
    HRESULT STDMETHODCALLTYPE SetStep(DOUBLE step) override;
    HRESULT STDMETHODCALLTYPE SetValue(LONG index, DOUBLE value) override;
    HRESULT STDMETHODCALLTYPE SetLabel(LONG index, BSTR label) override;
    HRESULT STDMETHODCALLTYPE SetName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE SetUnit(BSTR unit) override;
    HRESULT STDMETHODCALLTYPE SetPrecision(LONG digits) override;
    HRESULT STDMETHODCALLTYPE GetOptions(HostAxisOptions** options) override;

    LONG type = 0;
    double start = 0.0;
    double step = 0.0;
    std::map<LONG, double> values;
    std::map<LONG, std::string> labels;
    std::string name;
    std::string unit;
    LONG precision = 0;
    ComPtr<AxisOptionsObject> options;
};

class ArrayDescriptionObject final : public HostObject<HostArrayDescription> {
public:
    HRESULT STDMETHODCALLTYPE GetAxis(LONG index, HostAxis** axis) override;
    HRESULT STDMETHODCALLTYPE GetAxisCount(LONG* count) override;
    // Replaces the axes with `count` new ones.
    HRESULT STDMETHODCALLTYPE SetAxisCount(LONG count) override;
    HRESULT STDMETHODCALLTYPE SetAxisSize(LONG index, LONGLONG size) override;
    HRESULT STDMETHODCALLTYPE Commit() override;
    HRESULT STDMETHODCALLTYPE SetFlag(VARIANT_BOOL flag) override;

    std::vector<ComPtr<AxisObject>> axes;
    std::vector<LONGLONG> sizes;
    bool flag = false;
    int commits = 0;
};

// Named property documents, made on demand.
class PropertyCollectionObject final : public HostObject<HostPropertyCollection> {
public:
    HRESULT STDMETHODCALLTYPE AddProperty(BSTR name, HostXmlDocument** document) override;
    HRESULT STDMETHODCALLTYPE FindProperty(BSTR name, HostXmlDocument** document) override;

    // Every document's root element is called this.
    static constexpr const char* rootName = "Property";
    std::map<std::string, ComPtr<XmlDocumentObject>> documents;
};

}  // namespace vexa::host

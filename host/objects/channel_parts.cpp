#include "host/objects/channel_parts.h"

#include "host/objects/host_text.h"

namespace vexa::host {

namespace {

template <class T>
bool inRange(const std::vector<T>& list, LONG index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

}  // namespace

HRESULT EntryObject::GetId(LONG* out) { return writeOut(out, id); }
HRESULT EntryObject::SetId(LONG newId) {
    id = newId;
    return S_OK;
}
HRESULT EntryObject::GetName(BSTR* out) {
    return guarded([&] { return answerText(out, name); });
}
HRESULT EntryObject::SetName(BSTR newName) {
    return guarded([&] { name = utf8Of(newName); });
}
HRESULT EntryObject::GetValue(LONG* out) { return writeOut(out, value); }
HRESULT EntryObject::SetValue(LONG newValue) {
    value = newValue;
    return S_OK;
}

HRESULT EntryListObject::GetCount(LONG* count) { return writeOut(count, static_cast<LONG>(entries.size())); }

HRESULT EntryListObject::RemoveAt(LONG index) {
    if (!inRange(entries, index)) return E_INVALIDARG;
    entries.erase(entries.begin() + index);
    return S_OK;
}

HRESULT EntryListObject::GetAt(LONG index, HostEntry** entry) {
    if (!inRange(entries, index)) return E_INVALIDARG;
    return writeOutObject(entry, entries[static_cast<std::size_t>(index)]);
}

HRESULT EntryListObject::Append(HostEntry** entry) {
    return guarded([&] {
        entries.push_back(makeHostObject<EntryObject>());
        return writeOutObject(entry, entries.back());
    });
}

HRESULT AxisOptionsObject::SetKind(LONG newKind) {
    kind = newKind;
    return S_OK;
}
HRESULT AxisOptionsObject::SetFlag(VARIANT_BOOL newFlag) {
    flag = newFlag != VARIANT_FALSE;
    return S_OK;
}

HRESULT AxisObject::SetType(LONG newType) {
    type = newType;
    return S_OK;
}
HRESULT AxisObject::SetStart(DOUBLE newStart) {
    start = newStart;
    return S_OK;
}
HRESULT AxisObject::SetStep(DOUBLE newStep) {
    step = newStep;
    return S_OK;
}
HRESULT AxisObject::SetValue(LONG index, DOUBLE value) {
    return guarded([&] { values[index] = value; });
}
HRESULT AxisObject::SetLabel(LONG index, BSTR label) {
    return guarded([&] { labels[index] = utf8Of(label); });
}
HRESULT AxisObject::SetName(BSTR newName) {
    return guarded([&] { name = utf8Of(newName); });
}
HRESULT AxisObject::SetUnit(BSTR newUnit) {
    return guarded([&] { unit = utf8Of(newUnit); });
}
HRESULT AxisObject::SetPrecision(LONG digits) {
    precision = digits;
    return S_OK;
}
HRESULT AxisObject::GetOptions(HostAxisOptions** out) { return writeOutObject(out, options); }

HRESULT ArrayDescriptionObject::GetAxis(LONG index, HostAxis** axis) {
    if (!inRange(axes, index)) return E_INVALIDARG;
    return writeOutObject(axis, axes[static_cast<std::size_t>(index)]);
}

HRESULT ArrayDescriptionObject::GetAxisCount(LONG* count) { return writeOut(count, static_cast<LONG>(axes.size())); }

HRESULT ArrayDescriptionObject::SetAxisCount(LONG count) {
    // An array channel has one or two axes.
    if (count < 0 || count > 2) return E_INVALIDARG;
    return guarded([&] {
        axes.clear();
        for (LONG i = 0; i < count; ++i) axes.push_back(makeHostObject<AxisObject>());
        sizes.assign(static_cast<std::size_t>(count), 0);
    });
}

HRESULT ArrayDescriptionObject::SetAxisSize(LONG index, LONGLONG size) {
    if (!inRange(sizes, index) || size < 0) return E_INVALIDARG;
    sizes[static_cast<std::size_t>(index)] = size;
    return S_OK;
}

HRESULT ArrayDescriptionObject::Commit() {
    ++commits;
    return S_OK;
}

HRESULT ArrayDescriptionObject::SetFlag(VARIANT_BOOL newFlag) {
    flag = newFlag != VARIANT_FALSE;
    return S_OK;
}

HRESULT PropertyCollectionObject::AddProperty(BSTR name, HostXmlDocument** document) {
    return guarded([&] {
        ComPtr<XmlDocumentObject>& slot = documents[utf8Of(name)];
        if (!slot) slot = XmlDocumentObject::create(rootName);
        return writeOutObject(document, slot);
    });
}

HRESULT PropertyCollectionObject::FindProperty(BSTR name, HostXmlDocument** document) {
    return guarded([&] {
        const auto found = documents.find(utf8Of(name));
        return writeOutObject(document, found == documents.end() ? ComPtr<XmlDocumentObject>() : found->second);
    });
}

}  // namespace vexa::host

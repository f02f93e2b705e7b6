#include "host/objects/channel_parts.h"

#include "host/objects/host_text.h"

namespace vexa::host {

namespace {

template <class T>
bool inRange(const std::vector<T>& list, LONG index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

}  // namespace

HRESULT EntryObject::GetId(LONG* out) {
    return call(7, [&] { return writeOut(out, id); });
}
HRESULT EntryObject::SetId(LONG newId) {
    return call(8, [&] { id = newId; });
}
HRESULT EntryObject::GetName(BSTR* out) {
    return call(9, [&] { return answerText(out, name); });
}
HRESULT EntryObject::SetName(BSTR newName) {
    return call(10, [&] { name = utf8Of(newName); });
}
HRESULT EntryObject::GetValue(LONG* out) {
    return call(11, [&] { return writeOut(out, value); });
}
HRESULT EntryObject::SetValue(LONG newValue) {
    return call(12, [&] { value = newValue; });
}

HRESULT EntryListObject::GetCount(LONG* count) {
    return call(7, [&] { return writeOut(count, static_cast<LONG>(entries.size())); });
}

HRESULT EntryListObject::RemoveAt(LONG index) {
    return call(9, [&] {
        if (!inRange(entries, index)) return E_INVALIDARG;
        entries.erase(entries.begin() + index);
        return S_OK;
    });
}

HRESULT EntryListObject::GetAt(LONG index, HostEntry** entry) {
    return call(10, [&] {
        if (!inRange(entries, index)) return E_INVALIDARG;
        return writeOutObject(entry, entries[static_cast<std::size_t>(index)]);
    });
}

HRESULT EntryListObject::Append(HostEntry** entry) {
    return call(11, [&] {
        if (entry == nullptr) return E_POINTER;
        entries.push_back(makeHostObject<EntryObject>());
        return writeOutObject(entry, entries.back());
    });
}

HRESULT AxisOptionsObject::SetKind(LONG newKind) {
    return call(8, [&] { kind = newKind; });
}
HRESULT AxisOptionsObject::SetFlag(VARIANT_BOOL newFlag) {
    return call(10, [&] { return takeFlag(newFlag, flag); });
}

HRESULT AxisObject::SetType(LONG newType) {
    return call(8, [&] { type = newType; });
}
HRESULT AxisObject::SetStart(DOUBLE newStart) {
    return call(10, [&] { start = newStart; });
}
HRESULT AxisObject::SetStep(DOUBLE newStep) {
    return call(12, [&] { step = newStep; });
}
HRESULT AxisObject::SetValue(LONG index, DOUBLE value) {
    return call(14, [&] { values[index] = value; });
}
HRESULT AxisObject::SetLabel(LONG index, BSTR label) {
    return call(16, [&] { labels[index] = utf8Of(label); });
}
HRESULT AxisObject::SetName(BSTR newName) {
    return call(19, [&] { name = utf8Of(newName); });
}
HRESULT AxisObject::SetUnit(BSTR newUnit) {
    return call(21, [&] { unit = utf8Of(newUnit); });
}
HRESULT AxisObject::SetPrecision(LONG digits) {
    return call(23, [&] { precision = digits; });
}
HRESULT AxisObject::GetOptions(HostAxisOptions** out) {
    return call(26, [&] { return writeOutObject(out, options); });
}

HRESULT ArrayDescriptionObject::GetAxis(LONG index, HostAxis** axis) {
    return call(7, [&] {
        if (!inRange(axes, index)) return E_INVALIDARG;
        return writeOutObject(axis, axes[static_cast<std::size_t>(index)]);
    });
}

HRESULT ArrayDescriptionObject::GetAxisCount(LONG* count) {
    return call(8, [&] { return writeOut(count, static_cast<LONG>(axes.size())); });
}

HRESULT ArrayDescriptionObject::SetAxisCount(LONG count) {
    return call(9, [&] {
        // An array channel has one or two axes.
        if (count < 0 || count > 2) return E_INVALIDARG;
        axes.clear();
        for (LONG i = 0; i < count; ++i) axes.push_back(makeHostObject<AxisObject>());
        sizes.assign(static_cast<std::size_t>(count), 0);
        return S_OK;
    });
}

HRESULT ArrayDescriptionObject::SetAxisSize(LONG index, LONGLONG size) {
    return call(11, [&] {
        if (!inRange(sizes, index) || size < 0) return E_INVALIDARG;
        sizes[static_cast<std::size_t>(index)] = size;
        return S_OK;
    });
}

HRESULT ArrayDescriptionObject::Commit() {
    return call(12, [&] { ++commits; });
}

HRESULT ArrayDescriptionObject::SetFlag(VARIANT_BOOL newFlag) {
    return call(19, [&] { return takeFlag(newFlag, flag); });
}

HRESULT PropertyCollectionObject::AddProperty(BSTR name, HostXmlDocument** document) {
    return call(12, [&] {
        if (document == nullptr) return E_POINTER;
        ComPtr<XmlDocumentObject>& slot = documents[utf8Of(name)];
        if (!slot) slot = XmlDocumentObject::create(rootName);
        return writeOutObject(document, slot);
    });
}

HRESULT PropertyCollectionObject::FindProperty(BSTR name, HostXmlDocument** document) {
    return call(13, [&] {
        const auto found = documents.find(utf8Of(name));
        return writeOutObject(document, found == documents.end() ? ComPtr<XmlDocumentObject>() : found->second);
    });
}

}  // namespace vexa::host

#include "host/objects/host_channel.h"

#include "host/objects/host_text.h"
#include "platform/variant.h"

namespace vexa::host {

namespace {

VARIANT_BOOL flagOf(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
bool isSet(VARIANT_BOOL flag) { return flag != VARIANT_FALSE; }

template <class T>
HRESULT store(T& field, T value) {
    field = value;
    return S_OK;
}

HRESULT storeText(std::string& field, BSTR text) {
    return guarded([&] { field = utf8Of(text); });
}

// The interface `I` of an object passed in a VARIANT, or null.
template <class I>
ComPtr<I> objectIn(const VARIANT& value) {
    IUnknown* object = nullptr;
    if (value.vt == VT_DISPATCH) object = value.pdispVal;
    else if (value.vt == VT_UNKNOWN) object = value.punkVal;
    return ComPtr<IUnknown>(object).tryQuery<I>();
}

}  // namespace

ChannelObject::ChannelObject(LONG bufferLength)
    : ring_(bufferLength, dataTypeSize(ChannelSettings{}.dataType)),
      entries_(makeHostObject<EntryListObject>()),
      array_(makeHostObject<ArrayDescriptionObject>()),
      properties_(makeHostObject<PropertyCollectionObject>()) {}

HRESULT ChannelObject::GetBufferLength(LONG* samples) { return writeOut(samples, ring_.length()); }
HRESULT ChannelObject::GetWritePosition(LONG* position) { return writeOut(position, ring_.position()); }
HRESULT ChannelObject::GetName(BSTR* name) {
    return guarded([&] { return answerText(name, settings_.name); });
}
HRESULT ChannelObject::SetName(BSTR name) { return storeText(settings_.name, name); }
HRESULT ChannelObject::GetUsed(VARIANT_BOOL* used) { return writeOut(used, flagOf(settings_.used)); }
HRESULT ChannelObject::SetUsed(VARIANT_BOOL used) { return store(settings_.used, isSet(used)); }
HRESULT ChannelObject::GetBool24(VARIANT_BOOL* value) { return writeOut(value, flagOf(settings_.flag24)); }
HRESULT ChannelObject::SetBool25(VARIANT_BOOL value) { return store(settings_.flag24, isSet(value)); }
HRESULT ChannelObject::GetDataType(LONG* type) { return writeOut(type, settings_.dataType); }
HRESULT ChannelObject::GetValueSize(LONG* bytes) {
    return writeOut(bytes, static_cast<LONG>(dataTypeSize(settings_.dataType)));
}
HRESULT ChannelObject::GetAsynchronousFlag(VARIANT_BOOL* flag) {
    return writeOut(flag, flagOf(settings_.asynchronous));
}
HRESULT ChannelObject::GetInteger38(LONG* value) { return writeOut(value, settings_.integer38); }
HRESULT ChannelObject::GetText40(BSTR* text) {
    return guarded([&] { return answerText(text, settings_.text40); });
}
HRESULT ChannelObject::SetText41(BSTR text) { return storeText(settings_.text40, text); }
HRESULT ChannelObject::GetUnit(BSTR* unit) {
    return guarded([&] { return answerText(unit, settings_.unit); });
}
HRESULT ChannelObject::SetUnit(BSTR unit) { return storeText(settings_.unit, unit); }
HRESULT ChannelObject::GetOutputParameter(LONG* value) { return writeOut(value, settings_.outputParameter); }
HRESULT ChannelObject::SetOutputParameter(LONG value) { return store(settings_.outputParameter, value); }
HRESULT ChannelObject::GetColor(LONG* rgb) { return writeOut(rgb, settings_.color); }
HRESULT ChannelObject::SetColor(LONG rgb) { return store(settings_.color, rgb); }
HRESULT ChannelObject::GetFloat63(FLOAT* value) { return writeOut(value, settings_.float63); }
HRESULT ChannelObject::SetFloat64(FLOAT value) { return store(settings_.float63, value); }
HRESULT ChannelObject::GetFloat65(FLOAT* value) { return writeOut(value, settings_.float65); }
HRESULT ChannelObject::SetFloat66(FLOAT value) { return store(settings_.float65, value); }
HRESULT ChannelObject::GetDouble67(DOUBLE* value) { return writeOut(value, settings_.double67); }
HRESULT ChannelObject::SetDouble68(DOUBLE value) { return store(settings_.double67, value); }
HRESULT ChannelObject::GetDouble69(DOUBLE* value) { return writeOut(value, settings_.double69); }
HRESULT ChannelObject::SetDouble70(DOUBLE value) { return store(settings_.double69, value); }

// The position wraps at the end of the buffers, as the host's own
// recording does.
HRESULT ChannelObject::AdvanceWritePosition(LONG samples) {
    if (samples < 0) return E_INVALIDARG;
    ring_.advance(samples);
    return S_OK;
}

HRESULT ChannelObject::SetInteger73(LONG value) { return store(settings_.integer73, value); }
HRESULT ChannelObject::GetInteger75(LONG* value) { return writeOut(value, settings_.integer75); }
HRESULT ChannelObject::SetInteger76(LONG value) { return store(settings_.integer75, value); }
HRESULT ChannelObject::SetBufferOffset(LONG offset) { return store(settings_.bufferOffset, offset); }
HRESULT ChannelObject::GetValuesPerSample(LONG* count) { return writeOut(count, settings_.valuesPerSample); }
HRESULT ChannelObject::GetEntryList(HostEntryList** list) { return writeOutObject(list, entries_); }

HRESULT ChannelObject::SetDataType(LONG type) {
    if (dataTypeSize(type) == 0) return E_INVALIDARG;
    return guarded([&] {
        if (type == settings_.dataType) return;
        settings_.dataType = type;
        makeBuffers();
    });
}

HRESULT ChannelObject::GetSingleValueFlag(VARIANT_BOOL* flag) { return writeOut(flag, flagOf(settings_.singleValue)); }
HRESULT ChannelObject::SetAsynchronousFlag(VARIANT_BOOL flag) { return store(settings_.asynchronous, isSet(flag)); }
HRESULT ChannelObject::SetSingleValueFlag(VARIANT_BOOL flag) { return store(settings_.singleValue, isSet(flag)); }
HRESULT ChannelObject::GetStored(VARIANT_BOOL* stored) { return writeOut(stored, flagOf(settings_.stored)); }
HRESULT ChannelObject::SetStored(VARIANT_BOOL stored) { return store(settings_.stored, isSet(stored)); }

HRESULT ChannelObject::SerializeSettings(VARIANT* document, VARIANT* element, VARIANT_BOOL saving) {
    return guarded([&] {
        if (document == nullptr || element == nullptr) return E_POINTER;
        const ComPtr<HostXmlDocument> hostDocument = objectIn<HostXmlDocument>(*document);
        const ComPtr<HostXmlElement> hostElement = objectIn<HostXmlElement>(*element);
        // The settings go into documents of this host only.
        auto* ownDocument = dynamic_cast<XmlDocumentObject*>(hostDocument.get());
        XmlElementObject* ownElement = elementObject(hostElement.get());
        if (ownDocument == nullptr || ownElement == nullptr) return E_INVALIDARG;
        if (isSet(saving)) saveSettings(*ownDocument, *ownElement);
        else loadSettings(*ownDocument, *ownElement);
        return S_OK;
    });
}

HRESULT ChannelObject::GetArrayDescription(HostArrayDescription** description) {
    return writeOutObject(description, array_);
}
HRESULT ChannelObject::GetBool125(VARIANT_BOOL* value) { return writeOut(value, flagOf(settings_.flag125)); }
HRESULT ChannelObject::SetCarriesArrays(VARIANT_BOOL arrays) { return store(settings_.carriesArrays, isSet(arrays)); }
HRESULT ChannelObject::GetArraySize(LONG* values) { return writeOut(values, arraySize_); }
HRESULT ChannelObject::GetFloat131(FLOAT* value) { return writeOut(value, settings_.float131); }
HRESULT ChannelObject::SetFloat132(FLOAT value) { return store(settings_.float131, value); }
HRESULT ChannelObject::SetInteger138(LONG value) { return store(settings_.integer138, value); }
HRESULT ChannelObject::SetInteger140(LONG value) { return store(settings_.integer140, value); }

HRESULT ChannelObject::SetDimensions(VARIANT* sizes) {
    return guarded([&] {
        if (sizes == nullptr) return E_POINTER;
        settings_.dimensions = int32ArrayOf(*sizes);
        return S_OK;
    });
}

HRESULT ChannelObject::ScaleValue(DOUBLE value, DOUBLE* scaled) {
    return writeOut(scaled, value * settings_.scale + settings_.offset);
}

HRESULT ChannelObject::GetIndexPath(VARIANT* path) {
    return guarded([&] {
        if (path == nullptr) return E_POINTER;
        VariantInit(path);
        *path = Variant::ofInt32Array(settings_.indexPath).release();
        return S_OK;
    });
}

HRESULT ChannelObject::AddTimedBinarySample(DOUBLE time, VARIANT* bytes) {
    return guarded([&] {
        if (bytes == nullptr) return E_POINTER;
        if (bytes->vt != (VT_ARRAY | VT_UI1)) return E_INVALIDARG;
        const SafeArrayLock<BYTE> lock(bytes->parray);
        BinarySample sample{time, {}};
        sample.bytes.assign(lock.elements().begin(), lock.elements().end());
        binarySamples_.push_back(std::move(sample));
        return S_OK;
    });
}

HRESULT ChannelObject::GetInteger174(LONG* value) { return writeOut(value, settings_.integer174); }
HRESULT ChannelObject::SetInteger175(LONG value) { return store(settings_.integer174, value); }
HRESULT ChannelObject::GetSampleBuffer(BYTE** base) {
    return writeOut(base, reinterpret_cast<BYTE*>(ring_.samples()));
}
HRESULT ChannelObject::GetTimeBuffer(DOUBLE** base) { return writeOut(base, ring_.times()); }
HRESULT ChannelObject::GetProperties(HostPropertyCollection** properties) {
    return writeOutObject(properties, properties_);
}
HRESULT ChannelObject::GetText199(BSTR* text) {
    return guarded([&] { return answerText(text, settings_.text199); });
}
HRESULT ChannelObject::GetText201(BSTR* text) {
    return guarded([&] { return answerText(text, settings_.text201); });
}

HRESULT ChannelObject::Activate(VARIANT_BOOL active) { return store(settings_.active, isSet(active)); }
HRESULT ChannelObject::SetControlText(BSTR text) { return storeText(settings_.controlText, text); }
HRESULT ChannelObject::MarkRetained() {
    ++settings_.retainMarks;
    return S_OK;
}

}  // namespace vexa::host

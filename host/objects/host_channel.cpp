#include "host/objects/host_channel.h"

#include "host/objects/host_text.h"
#include "platform/variant.h"

namespace vexa::host {

namespace {

template <class T>
HRESULT store(T& field, T value) {
    field = value;
    return S_OK;
}

void storeText(std::string& field, BSTR text) { field = utf8Of(text); }

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

HRESULT ChannelObject::GetBufferLength(LONG* samples) {
    return call(10, [&] { return writeOut(samples, ring_.length()); });
}
HRESULT ChannelObject::GetWritePosition(LONG* position) {
    return call(12, [&] { return writeOut(position, ring_.position()); });
}
HRESULT ChannelObject::GetName(BSTR* name) {
    return call(19, [&] { return answerText(name, settings_.name); });
}
HRESULT ChannelObject::SetName(BSTR name) {
    return call(20, [&] { storeText(settings_.name, name); });
}
HRESULT ChannelObject::GetUsed(VARIANT_BOOL* used) {
    return call(22, [&] { return writeOut(used, settings_.used.answer()); });
}
HRESULT ChannelObject::SetUsed(VARIANT_BOOL used) {
    return call(23, [&] { return takeFlag(used, settings_.used); });
}
HRESULT ChannelObject::GetBool24(VARIANT_BOOL* value) {
    return call(24, [&] { return writeOut(value, settings_.flag24.answer()); });
}
HRESULT ChannelObject::SetBool25(VARIANT_BOOL value) {
    return call(25, [&] { return takeFlag(value, settings_.flag24); });
}
HRESULT ChannelObject::GetDataType(LONG* type) {
    return call(29, [&] { return writeOut(type, settings_.dataType); });
}
HRESULT ChannelObject::GetValueSize(LONG* bytes) {
    return call(30, [&] { return writeOut(bytes, static_cast<LONG>(dataTypeSize(settings_.dataType))); });
}
HRESULT ChannelObject::GetAsynchronousFlag(VARIANT_BOOL* flag) {
    return call(31, [&] { return writeOut(flag, settings_.asynchronous.answer()); });
}
HRESULT ChannelObject::GetInteger38(LONG* value) {
    return call(38, [&] { return writeOut(value, settings_.integer38); });
}
HRESULT ChannelObject::GetText40(BSTR* text) {
    return call(40, [&] { return answerText(text, settings_.text40); });
}
HRESULT ChannelObject::SetText41(BSTR text) {
    return call(41, [&] { storeText(settings_.text40, text); });
}
HRESULT ChannelObject::GetUnit(BSTR* unit) {
    return call(42, [&] { return answerText(unit, settings_.unit); });
}
HRESULT ChannelObject::SetUnit(BSTR unit) {
    return call(43, [&] { storeText(settings_.unit, unit); });
}
HRESULT ChannelObject::GetOutputParameter(LONG* value) {
    return call(46, [&] { return writeOut(value, settings_.outputParameter); });
}
HRESULT ChannelObject::SetOutputParameter(LONG value) {
    return call(47, [&] { return store(settings_.outputParameter, value); });
}
HRESULT ChannelObject::GetColor(LONG* rgb) {
    return call(51, [&] { return writeOut(rgb, settings_.color); });
}
HRESULT ChannelObject::SetColor(LONG rgb) {
    return call(52, [&] { return store(settings_.color, rgb); });
}
HRESULT ChannelObject::GetFloat63(FLOAT* value) {
    return call(63, [&] { return writeOut(value, settings_.float63); });
}
HRESULT ChannelObject::SetFloat64(FLOAT value) {
    return call(64, [&] { return store(settings_.float63, value); });
}
HRESULT ChannelObject::GetFloat65(FLOAT* value) {
    return call(65, [&] { return writeOut(value, settings_.float65); });
}
HRESULT ChannelObject::SetFloat66(FLOAT value) {
    return call(66, [&] { return store(settings_.float65, value); });
}
HRESULT ChannelObject::GetDouble67(DOUBLE* value) {
    return call(67, [&] { return writeOut(value, settings_.double67); });
}
HRESULT ChannelObject::SetDouble68(DOUBLE value) {
    return call(68, [&] { return store(settings_.double67, value); });
}
HRESULT ChannelObject::GetDouble69(DOUBLE* value) {
    return call(69, [&] { return writeOut(value, settings_.double69); });
}
HRESULT ChannelObject::SetDouble70(DOUBLE value) {
    return call(70, [&] { return store(settings_.double69, value); });
}

// The position wraps at the end of the buffers, as the host's own
// recording does.
HRESULT ChannelObject::AdvanceWritePosition(LONG samples) {
    return call(71, [&] {
        if (samples < 0) return E_INVALIDARG;
        ring_.advance(samples);
        return S_OK;
    });
}

HRESULT ChannelObject::SetInteger73(LONG value) {
    return call(73, [&] { return store(settings_.integer73, value); });
}
HRESULT ChannelObject::GetInteger75(LONG* value) {
    return call(75, [&] { return writeOut(value, settings_.integer75); });
}
HRESULT ChannelObject::SetInteger76(LONG value) {
    return call(76, [&] { return store(settings_.integer75, value); });
}
HRESULT ChannelObject::SetBufferOffset(LONG offset) {
    return call(78, [&] { return store(settings_.bufferOffset, offset); });
}
HRESULT ChannelObject::GetValuesPerSample(LONG* count) {
    return call(83, [&] { return writeOut(count, settings_.valuesPerSample); });
}
HRESULT ChannelObject::GetEntryList(HostEntryList** list) {
    return call(86, [&] { return writeOutObject(list, entries_); });
}

HRESULT ChannelObject::SetDataType(LONG type) {
    return call(89, [&] {
        if (dataTypeSize(type) == 0) return E_INVALIDARG;
        if (type != settings_.dataType) {
            settings_.dataType = type;
            makeBuffers();
        }
        return S_OK;
    });
}

HRESULT ChannelObject::GetSingleValueFlag(VARIANT_BOOL* flag) {
    return call(98, [&] { return writeOut(flag, settings_.singleValue.answer()); });
}
HRESULT ChannelObject::SetAsynchronousFlag(VARIANT_BOOL flag) {
    return call(108, [&] { return takeFlag(flag, settings_.asynchronous); });
}
HRESULT ChannelObject::SetSingleValueFlag(VARIANT_BOOL flag) {
    return call(109, [&] { return takeFlag(flag, settings_.singleValue); });
}
HRESULT ChannelObject::GetStored(VARIANT_BOOL* stored) {
    return call(112, [&] { return writeOut(stored, settings_.stored.answer()); });
}
HRESULT ChannelObject::SetStored(VARIANT_BOOL stored) {
    return call(113, [&] { return takeFlag(stored, settings_.stored); });
}

HRESULT ChannelObject::SerializeSettings(VARIANT* document, VARIANT* element, VARIANT_BOOL saving) {
    return call(123, [&] {
        if (document == nullptr || element == nullptr) return E_POINTER;
        bool save = false;
        if (const HRESULT refused = takeFlag(saving, save); FAILED(refused)) return refused;
        const ComPtr<HostXmlDocument> hostDocument = objectIn<HostXmlDocument>(*document);
        const ComPtr<HostXmlElement> hostElement = objectIn<HostXmlElement>(*element);
        // The settings go into documents of this host only.
        auto* ownDocument = dynamic_cast<XmlDocumentObject*>(hostDocument.get());
        XmlElementObject* ownElement = elementObject(hostElement.get());
        if (ownDocument == nullptr || ownElement == nullptr || ownElement->documentId() != ownDocument->id())
            return E_INVALIDARG;
        if (save) saveSettings(*ownDocument, *ownElement);
        else loadSettings(*ownDocument, *ownElement);
        return S_OK;
    });
}

HRESULT ChannelObject::GetArrayDescription(HostArrayDescription** description) {
    return call(124, [&] { return writeOutObject(description, array_); });
}
HRESULT ChannelObject::GetBool125(VARIANT_BOOL* value) {
    return call(125, [&] { return writeOut(value, settings_.flag125.answer()); });
}
HRESULT ChannelObject::SetCarriesArrays(VARIANT_BOOL arrays) {
    return call(126, [&] { return takeFlag(arrays, settings_.carriesArrays); });
}
HRESULT ChannelObject::GetArraySize(LONG* values) {
    return call(127, [&] { return writeOut(values, arraySize_); });
}
HRESULT ChannelObject::GetFloat131(FLOAT* value) {
    return call(131, [&] { return writeOut(value, settings_.float131); });
}
HRESULT ChannelObject::SetFloat132(FLOAT value) {
    return call(132, [&] { return store(settings_.float131, value); });
}
HRESULT ChannelObject::SetInteger138(LONG value) {
    return call(138, [&] { return store(settings_.integer138, value); });
}
HRESULT ChannelObject::SetInteger140(LONG value) {
    return call(140, [&] { return store(settings_.integer140, value); });
}

HRESULT ChannelObject::SetDimensions(VARIANT* sizes) {
    return call(142, [&] {
        if (sizes == nullptr) return E_POINTER;
        settings_.dimensions = int32ArrayOf(*sizes);
        return S_OK;
    });
}

HRESULT ChannelObject::ScaleValue(DOUBLE value, DOUBLE* scaled) {
    return call(156, [&] { return writeOut(scaled, value * settings_.scale + settings_.offset); });
}

HRESULT ChannelObject::GetIndexPath(VARIANT* path) {
    return call(160, [&] {
        if (path == nullptr) return E_POINTER;
        VariantInit(path);
        *path = Variant::ofInt32Array(settings_.indexPath).release();
        return S_OK;
    });
}

HRESULT ChannelObject::AddTimedBinarySample(DOUBLE time, VARIANT* bytes) {
    return call(173, [&] {
        if (bytes == nullptr) return E_POINTER;
        if (bytes->vt != (VT_ARRAY | VT_UI1)) return E_INVALIDARG;
        const SafeArrayLock<BYTE> lock(bytes->parray);
        BinarySample sample{time, {}};
        sample.bytes.assign(lock.elements().begin(), lock.elements().end());
        binarySamples_.push_back(std::move(sample));
        return S_OK;
    });
}

HRESULT ChannelObject::GetInteger174(LONG* value) {
    return call(174, [&] { return writeOut(value, settings_.integer174); });
}
HRESULT ChannelObject::SetInteger175(LONG value) {
    return call(175, [&] { return store(settings_.integer174, value); });
}
HRESULT ChannelObject::GetSampleBuffer(BYTE** base) {
    return call(184, [&] { return writeOut(base, reinterpret_cast<BYTE*>(ring_.samples())); });
}
HRESULT ChannelObject::GetTimeBuffer(DOUBLE** base) {
    return call(185, [&] { return writeOut(base, ring_.times()); });
}
HRESULT ChannelObject::GetProperties(HostPropertyCollection** properties) {
    return call(188, [&] { return writeOutObject(properties, properties_); });
}
HRESULT ChannelObject::GetText199(BSTR* text) {
    return call(199, [&] { return answerText(text, settings_.text199); });
}
HRESULT ChannelObject::GetText201(BSTR* text) {
    return call(201, [&] { return answerText(text, settings_.text201); });
}

HRESULT ChannelObject::Activate(VARIANT_BOOL active) {
    return call<HostChannelControl>(7, [&] { return takeFlag(active, settings_.active); });
}
HRESULT ChannelObject::SetControlText(BSTR text) {
    return call<HostChannelControl>(10, [&] { storeText(settings_.controlText, text); });
}
HRESULT ChannelObject::MarkRetained() {
    return call<HostChannelControl>(14, [&] { ++settings_.retainMarks; });
}

}  // namespace vexa::host

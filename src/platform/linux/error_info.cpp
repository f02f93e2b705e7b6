// Per-thread rich error information, as OLE Automation keeps it.
#include <atomic>
#include <new>

#include "platform/linux/oleaut.h"

namespace {

struct ThreadErrorInfo {
    IErrorInfo* info = nullptr;
    ~ThreadErrorInfo() {
        if (info != nullptr) info->Release();
    }
};
thread_local ThreadErrorInfo current;

class ErrorInfoObject final : public IErrorInfo, public ICreateErrorInfo {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
            *object = static_cast<IErrorInfo*>(this);
        } else if (riid == IID_ICreateErrorInfo) {
            *object = static_cast<ICreateErrorInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetGUID(GUID* guid) override {
        if (guid == nullptr) return E_INVALIDARG;
        *guid = guid_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR* text) override { return copyOut(source_, text); }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR* text) override { return copyOut(description_, text); }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR* text) override { return copyOut(helpFile_, text); }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD* context) override {
        if (context == nullptr) return E_INVALIDARG;
        *context = helpContext_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guid) override {
        guid_ = guid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSource(LPOLESTR text) override { return replace(source_, text); }
    HRESULT STDMETHODCALLTYPE SetDescription(LPOLESTR text) override { return replace(description_, text); }
    HRESULT STDMETHODCALLTYPE SetHelpFile(LPOLESTR text) override { return replace(helpFile_, text); }
    HRESULT STDMETHODCALLTYPE SetHelpContext(DWORD context) override {
        helpContext_ = context;
        return S_OK;
    }

private:
    ~ErrorInfoObject() {
        SysFreeString(source_);
        SysFreeString(description_);
        SysFreeString(helpFile_);
    }

    static HRESULT copyOut(BSTR text, BSTR* out) {
        if (out == nullptr) return E_INVALIDARG;
        *out = text == nullptr ? nullptr : SysAllocStringLen(text, SysStringLen(text));
        return (text != nullptr && *out == nullptr) ? E_OUTOFMEMORY : S_OK;
    }
    static HRESULT replace(BSTR& field, LPOLESTR text) {
        BSTR copy = SysAllocString(text);
        if (text != nullptr && copy == nullptr) return E_OUTOFMEMORY;
        SysFreeString(field);
        field = copy;
        return S_OK;
    }

    std::atomic<ULONG> refs_{1};
    GUID guid_ = GUID_NULL;
    BSTR source_ = nullptr;
    BSTR description_ = nullptr;
    BSTR helpFile_ = nullptr;
    DWORD helpContext_ = 0;
};

}  // namespace

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) {
    if (reserved != 0) return E_INVALIDARG;
    if (info != nullptr) info->AddRef();
    IErrorInfo* previous = current.info;
    current.info = info;
    if (previous != nullptr) previous->Release();
    return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
    if (reserved != 0 || info == nullptr) return E_INVALIDARG;
    // Taking the error information clears it for the thread.
    *info = current.info;
    current.info = nullptr;
    return *info != nullptr ? S_OK : S_FALSE;
}

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
    if (info == nullptr) return E_INVALIDARG;
    *info = new (std::nothrow) ErrorInfoObject();
    return *info != nullptr ? S_OK : E_OUTOFMEMORY;
}

#include "host/objects/host_app_object.h"

#include <cstdio>
#include <filesystem>

#include "platform/bstr.h"

namespace vexa::host {

namespace {

constexpr LONG logFolderKind = 1;

std::string temporaryFolder() {
    std::error_code failed;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(failed);
    if (failed) return {};
    const std::u8string utf8 = folder.u8string();
    std::string text(utf8.begin(), utf8.end());
    if (!text.empty() && text.back() != '/' && text.back() != '\\')
        text += static_cast<char>(std::filesystem::path::preferred_separator);
    return text;
}

}  // namespace

HostAppObject::HostAppObject()
    : logFolder_(temporaryFolder()),
      dataObject_(makeHostObject<AcquisitionDataObject>(makeHostObject<ChannelGroupObject>())),
      data_(dataObject_.get()),
      clock_(makeHostObject<HostClock>()),
      timeSource_(clock_.get()) {}

HRESULT HostAppObject::GetData(HostData** data) {
    if (const HRESULT failure = enter(7); failure != S_OK) return failure;
    return writeOutObject(data, data_);
}

HRESULT HostAppObject::GetHostMode(LONG* mode) {
    if (const HRESULT failure = enter(57); failure != S_OK) return failure;
    if (mode == nullptr) return E_POINTER;
    *mode = hostMode_;
    return S_OK;
}

HRESULT HostAppObject::GetTimeSource(HostTimeSource** source) {
    if (const HRESULT failure = enter(59); failure != S_OK) return failure;
    return writeOutObject(source, timeSource_);
}

HRESULT HostAppObject::ReportError(BSTR text) {
    if (const HRESULT failure = enter(84); failure != S_OK) return failure;
    try {
        std::string message = wideToUtf8(WideView(text, SysStringLen(text)));
        if (echoReports_) {
            std::fprintf(stderr, "host: %s\n", message.c_str());
            std::fflush(stderr);
        }
        reports_.push_back(std::move(message));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT HostAppObject::IsSetupMode(VARIANT_BOOL* setup) {
    if (const HRESULT failure = enter(111); failure != S_OK) return failure;
    if (setup == nullptr) return E_POINTER;
    *setup = setupFlag_;
    return S_OK;
}

HRESULT HostAppObject::GetFolder(LONG kind, BSTR* folder) {
    if (const HRESULT failure = enter(146); failure != S_OK) return failure;
    if (folder == nullptr) return E_POINTER;
    if (kind != logFolderKind) return E_INVALIDARG;
    try {
        *folder = Bstr(logFolder_).release();
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT HostAppObject::GetVersion(LONG* first, LONG* major, LONG* servicePack, LONG* fourth, LONG* fifth) {
    if (const HRESULT failure = enter(161); failure != S_OK) return failure;
    if (!first || !major || !servicePack || !fourth || !fifth) return E_POINTER;
    *first = version_.first;
    *major = version_.major;
    *servicePack = version_.servicePack;
    *fourth = version_.fourth;
    *fifth = version_.fifth;
    return S_OK;
}

}  // namespace vexa::host

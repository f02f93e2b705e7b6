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
    return call(7, [&] { return writeOutObject(data, data_); });
}

HRESULT HostAppObject::GetHostMode(LONG* mode) {
    return call(57, [&] { return writeOut(mode, hostMode_); });
}

HRESULT HostAppObject::GetTimeSource(HostTimeSource** source) {
    return call(59, [&] { return writeOutObject(source, timeSource_); });
}

HRESULT HostAppObject::ReportError(BSTR text) {
    return call(84, [&] {
        std::string message = wideToUtf8(WideView(text, SysStringLen(text)));
        if (echoReports_) {
            std::fprintf(stderr, "host: %s\n", message.c_str());
            std::fflush(stderr);
        }
        reports_.push_back(std::move(message));
    });
}

HRESULT HostAppObject::IsSetupMode(VARIANT_BOOL* setup) {
    return call(111, [&] { return writeOut(setup, setupFlag_); });
}

HRESULT HostAppObject::GetFolder(LONG kind, BSTR* folder) {
    return call(146, [&] {
        if (folder == nullptr) return E_POINTER;
        if (kind != logFolderKind) return E_INVALIDARG;
        *folder = Bstr(logFolder_).release();
        return S_OK;
    });
}

HRESULT HostAppObject::GetVersion(LONG* first, LONG* major, LONG* servicePack, LONG* fourth, LONG* fifth) {
    return call(161, [&] {
        if (!first || !major || !servicePack || !fourth || !fifth) return E_POINTER;
        *first = version_.first;
        *major = version_.major;
        *servicePack = version_.servicePack;
        *fourth = version_.fourth;
        *fifth = version_.fifth;
        return S_OK;
    });
}

}  // namespace vexa::host

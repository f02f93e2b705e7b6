// The numbered host events of IPlugin4.
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "platform/com_error.h"
#include "platform/variant.h"
#include "platform/com_boundary.h"
#include "plugin/host_report.h"
#include "plugin/plugin.h"
#include "serialization/nerova_ncom_node.h"
#include "ui/analysis_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"

namespace {

using Nerova::Utils::Ncom::Utils::NerovaNCOMNode;

// The host's own values for the answer-only events.
constexpr SHORT event169Answer = 1;
constexpr LONG event178Answer = 3;
// The host mode in which the host keeps its documents to itself: the
// document events then do nothing at all.
constexpr LONG hostModeKeepsDocuments = 2;
// The document events' result: VT_UI4 1 whatever the answer.
constexpr ULONG documentEventResult = 1;
// The host's "true" in a document event's saving flag; any other value means
// loading.
constexpr std::uint16_t savingFlag = 0xFFFF;

struct DocumentArgument {
    vexa::ComPtr<HostXmlDocument> document;
    vexa::ComPtr<HostXmlElement> element;
    bool saving = false;
};

// A VARIANT element offers the interface only when it holds an object that
// has it; anything else leaves the reference empty.
template <class T>
vexa::ComPtr<T> interfaceIn(const VARIANT& value) {
    IUnknown* object = vexa::interfaceIn(value);
    if (object == nullptr) return {};
    return vexa::ComPtr<IUnknown>(object).tryQuery<T>();
}

// The array in the argument, copied so that the host's array stays as it
// was, with its VARIANT elements at `firstIndex` to `lastIndex` required.
// Indices are the array's own: its lower bound need not be 0.
class DocumentArray {
public:
    explicit DocumentArray(const VARIANT& argument)
        : copy_(vexa::SafeArray::copyOf(arrayIn(argument))), lock_(copy_.get()) {}

    const VARIANT& at(LONG index) const { return lock_.at(index); }
    void require(LONG index) const {
        if (!lock_.contains(index)) vexa::throwComError(E_INVALIDARG);
    }

private:
    static SAFEARRAY* arrayIn(const VARIANT& argument) {
        SAFEARRAY* array = vexa::arrayIn(argument);
        if (array == nullptr) vexa::throwComError(E_INVALIDARG);
        return array;
    }

    vexa::SafeArray copy_;
    vexa::SafeArrayLock<VARIANT> lock_;  // unlocks before the copy is destroyed
};

DocumentArgument readDocumentArgument(const DocumentArray& array) {
    DocumentArgument result;
    result.document = interfaceIn<HostXmlDocument>(array.at(0));
    result.element = interfaceIn<HostXmlElement>(array.at(1));
    const std::optional<VARIANT_BOOL> saving = vexa::boolIn(array.at(2));
    result.saving = saving && static_cast<std::uint16_t>(*saving) == savingFlag;
    return result;
}

// The result of an event that writes one; E_POINTER when the host gave none.
VARIANT& resultSlot(VARIANT* result) {
    if (result == nullptr) vexa::throwComError(E_POINTER);
    return *result;
}

void setDocumentEventResult(VARIANT& result) {
    result.vt = VT_UI4;
    result.ulVal = documentEventResult;
}

// The host's window comes as the VT_UNKNOWN of the event's argument. That
// COM IUnknown is the window's core IUnknown (the two share identifier and
// first positions), which is asked for IWindow; no object at all gives an
// empty window.
Nerova::Kite::WindowPtr hostWindowIn(const VARIANT& argument) {
    return Nerova::Kite::WindowPtr(reinterpret_cast<Nerova::RT::Core::IUnknown*>(vexa::interfaceIn(argument)));
}

// The new window replaces the held one, which goes only once the new one
// stands; a window that cannot be made leaves the held one in place.
template <class Window, class... Args>
void replaceWindow(std::unique_ptr<Window>& held, Args&&... args) {
    auto fresh = std::make_unique<Window>(std::forward<Args>(args)...);
    auto previous = std::exchange(held, std::move(fresh));
}

template <class Window>
void dropWindow(std::unique_ptr<Window>& held) {
    auto previous = std::move(held);
}

}  // namespace

HRESULT Plugin::ProcessEvent(HostEventId id, VARIANT* argument, VARIANT* result) {
    // The id says what an event uses, so a pointer it does not use may be
    // null. A missing argument reads as an empty one; a missing result
    // refuses only the events that write one, before they act.
    VARIANT noArgument;
    VariantInit(&noArgument);
    const VARIANT& given = argument != nullptr ? *argument : noArgument;
    return vexa::guarded([&]() -> HRESULT {
        switch (id) {
        case HostEvent::Reconfigure:
            core_.reconfigure();
            return S_FALSE;
        case HostEvent::Event110:
            resultSlot(result).boolVal = VARIANT_TRUE;
            return S_OK;
        case HostEvent::Event113:
        case HostEvent::Event129:
        case HostEvent::Event133:
        case HostEvent::Event134:
        case HostEvent::Event154:
        case HostEvent::Event155:
            return S_OK;
        case HostEvent::Event157:
            DocumentArray(given).require(0);
            return S_OK;
        case HostEvent::SetupDocument:
        case HostEvent::SettingsDocument:
            return processDocumentEvent(id, given, result);
        case HostEvent::Event169:
            resultSlot(result).iVal = event169Answer;
            return S_OK;
        case HostEvent::Event173: {
            VARIANT& written = resultSlot(result);
            written.vt = VT_BOOL;
            written.boolVal = VARIANT_FALSE;
            return S_OK;
        }
        case HostEvent::Event178:
            resultSlot(result).lVal = event178Answer;
            return S_OK;
        case HostEvent::CreateSetupWindow:
        case HostEvent::DropSetupWindow:
        case HostEvent::CreateSettingsWindow:
        case HostEvent::DropSettingsWindow:
        case HostEvent::CreateAnalysisWindow:
        case HostEvent::DropAnalysisWindow:
            return processWindowEvent(id, given);
        default:
            return S_FALSE;
        }
    }, HostReport(&core_));
}

HRESULT Plugin::processDocumentEvent(HostEventId id, const VARIANT& argument, VARIANT* result) {
    HostApp* host = vexa::required(app_);
    LONG hostMode = 0;
    vexa::checkCall(host->GetHostMode(&hostMode), host);
    if (hostMode == hostModeKeepsDocuments) return S_OK;

    // Refused before the document is touched: the load or save below
    // cannot be taken back when the result cannot be written.
    VARIANT& written = resultSlot(result);
    const DocumentArray array(argument);
    DocumentArgument document = readDocumentArgument(array);
    // The setup event's fourth element is not read, but the host always
    // sends it.
    if (id == HostEvent::SetupDocument) array.require(3);

    auto node = std::make_shared<NerovaNCOMNode>(std::move(document.document), std::move(document.element));
    node->setWriting(document.saving);

    HRESULT answer = S_OK;
    if (id == HostEvent::SetupDocument) {
        answer = core_.saveOrLoadSetup(*node);
    } else if (node->isValid()) {
        core_.serializeSettings(*node);
    }
    setDocumentEventResult(written);
    return answer;
}

HRESULT Plugin::processWindowEvent(HostEventId id, const VARIANT& argument) {
    switch (id) {
    case HostEvent::CreateSetupWindow: replaceWindow(core_.setupWindow, hostWindowIn(argument), core_.devices); break;
    case HostEvent::DropSetupWindow: dropWindow(core_.setupWindow); break;
    case HostEvent::CreateSettingsWindow:
        replaceWindow(core_.settingsWindow, hostWindowIn(argument), core_.devices);
        break;
    case HostEvent::DropSettingsWindow: dropWindow(core_.settingsWindow); break;
    case HostEvent::CreateAnalysisWindow: replaceWindow(core_.analysisWindow, hostWindowIn(argument), &core_); break;
    case HostEvent::DropAnalysisWindow: dropWindow(core_.analysisWindow); break;
    default: return S_FALSE;
    }
    return S_OK;
}

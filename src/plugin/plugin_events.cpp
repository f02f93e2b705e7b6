// The numbered host events of IPlugin4.
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/com_error.h"
#include "platform/variant.h"
#include "plugin/com_boundary.h"
#include "plugin/plugin.h"
#include "serialization/nerova_ncom_node.h"
#include "ui/windows.h"

namespace {

using Nerova::Utils::Ncom::Utils::NerovaNCOMNode;

// The host's own values for the answer-only events.
constexpr SHORT event169Answer = 1;
constexpr LONG event178Answer = 3;
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
    if ((value.vt != VT_UNKNOWN && value.vt != VT_DISPATCH) || value.punkVal == nullptr) return {};
    return vexa::ComPtr<IUnknown>(value.punkVal).tryQuery<T>();
}

// The array in the argument, copied so that the host's array stays as it
// was, with its VARIANT elements at `firstIndex` to `lastIndex` required.
// Indices are the array's own: its lower bound need not be 0.
class DocumentArray {
public:
    explicit DocumentArray(const VARIANT& argument)
        : copy_(vexa::SafeArray::copyOf(arrayIn(argument))), lock_(copy_.get(), VT_VARIANT) {}

    const VARIANT& at(LONG index) const { return lock_.at<VARIANT>(index); }
    void require(LONG index) const {
        if (!lock_.contains(index)) vexa::throwComError(E_INVALIDARG);
    }

private:
    static SAFEARRAY* arrayIn(const VARIANT& argument) {
        const bool holdsArray = (argument.vt & VT_ARRAY) != 0 && (argument.vt & VT_BYREF) == 0;
        if (!holdsArray || argument.parray == nullptr) vexa::throwComError(E_INVALIDARG);
        return argument.parray;
    }

    vexa::SafeArray copy_;
    vexa::SafeArrayLock lock_;  // unlocks before the copy is destroyed
};

DocumentArgument readDocumentArgument(const DocumentArray& array) {
    DocumentArgument result;
    result.document = interfaceIn<HostXmlDocument>(array.at(0));
    result.element = interfaceIn<HostXmlElement>(array.at(1));
    result.saving = static_cast<std::uint16_t>(array.at(2).boolVal) == savingFlag;
    return result;
}

void setDocumentEventResult(VARIANT& result) {
    result.vt = VT_UI4;
    result.ulVal = documentEventResult;
}

IUnknown* hostWindowIn(const VARIANT& argument) {
    return argument.vt == VT_UNKNOWN || argument.vt == VT_DISPATCH ? argument.punkVal : nullptr;
}

// The new window replaces the held one, which goes only once the new one
// stands; a window that cannot be made leaves the held one in place.
template <class Window>
void replaceWindow(std::unique_ptr<Window>& held, IUnknown* hostWindow, PluginCore& core) {
    auto fresh = std::make_unique<Window>(hostWindow, &core);
    auto previous = std::exchange(held, std::move(fresh));
}

template <class Window>
void dropWindow(std::unique_ptr<Window>& held) {
    auto previous = std::move(held);
}

}  // namespace

HRESULT Plugin::ProcessEvent(HostEventId id, VARIANT* argument, VARIANT* result) {
    if (argument == nullptr || result == nullptr) return E_POINTER;
    return answerGuarded(&core_, [&]() -> HRESULT {
        switch (id) {
        case HostEvent::Reconfigure:
            core_.reconfigure();
            return S_FALSE;
        case HostEvent::Event110:
            result->boolVal = VARIANT_TRUE;
            return S_OK;
        case HostEvent::Event113:
        case HostEvent::Event129:
        case HostEvent::Event133:
        case HostEvent::Event134:
        case HostEvent::Event154:
        case HostEvent::Event155:
            return S_OK;
        case HostEvent::Event157:
            DocumentArray(*argument).require(0);
            return S_OK;
        case HostEvent::SetupDocument:
        case HostEvent::SettingsDocument:
            return processDocumentEvent(id, *argument, *result);
        case HostEvent::Event169:
            result->iVal = event169Answer;
            return S_OK;
        case HostEvent::Event173:
            result->vt = VT_BOOL;
            result->boolVal = VARIANT_FALSE;
            return S_OK;
        case HostEvent::Event178:
            result->lVal = event178Answer;
            return S_OK;
        case HostEvent::CreateSetupWindow:
        case HostEvent::DropSetupWindow:
        case HostEvent::CreateSettingsWindow:
        case HostEvent::DropSettingsWindow:
        case HostEvent::CreateAnalysisWindow:
        case HostEvent::DropAnalysisWindow:
            return processWindowEvent(id, *argument);
        default:
            return S_FALSE;
        }
    });
}

HRESULT Plugin::processDocumentEvent(HostEventId id, const VARIANT& argument, VARIANT& result) {
    HostApp* host = vexa::required(app_);
    LONG hostMode = 0;
    vexa::checkCall(host->GetHostMode(&hostMode), host);
    // In this mode the host keeps its documents to itself.
    if (hostMode == 2) return S_OK;

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
    setDocumentEventResult(result);
    return answer;
}

HRESULT Plugin::processWindowEvent(HostEventId id, const VARIANT& argument) {
    IUnknown* hostWindow = hostWindowIn(argument);
    switch (id) {
    case HostEvent::CreateSetupWindow: replaceWindow(core_.setupWindow, hostWindow, core_); break;
    case HostEvent::DropSetupWindow: dropWindow(core_.setupWindow); break;
    case HostEvent::CreateSettingsWindow: replaceWindow(core_.settingsWindow, hostWindow, core_); break;
    case HostEvent::DropSettingsWindow: dropWindow(core_.settingsWindow); break;
    case HostEvent::CreateAnalysisWindow: replaceWindow(core_.analysisWindow, hostWindow, core_); break;
    case HostEvent::DropAnalysisWindow: dropWindow(core_.analysisWindow); break;
    default: return S_FALSE;
    }
    return S_OK;
}

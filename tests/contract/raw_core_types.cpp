// A core-types library made of raw slot tables: the four functions a host's
// library exports, handing out strings and error infos whose slots record
// their numbers. Tests load it before anything binds the library, so the
// plug-in's core layer talks to it as it would to the host's.
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "support/raw_com.h"

#ifdef _WIN32
#define RAW_CORE_EXPORT extern "C" __declspec(dllexport)
#else
#define RAW_CORE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using ErrCode = std::uint32_t;
constexpr ErrCode ok = 0;
constexpr ErrCode argumentNull = 0x80000026u;

// The identifiers, laid out as the core headers give them (a GUID's layout).
constexpr IID stringId = {0x4D1B5C27, 0x8C42, 0x5E3A, {0x9F, 0x10, 0x2B, 0x6E, 0xC4, 0x71, 0x0A, 0x93}};
constexpr IID errorInfoId = {0x2E3B7D41, 0x6A15, 0x5C08, {0x8B, 0x62, 0xF1, 0x0C, 0x3D, 0x94, 0x57, 0xE6}};

class RawCore : public raw::World {
public:
    std::map<std::string, std::string> texts;  // by string object
    std::string pendingError;                  // the thread's error info, when set
};

RawCore& core() {
    static RawCore instance;
    return instance;
}

// IString: 8 the text (owned by the string), 9 its length.
HRESULT stringText(raw::Object& self, const char** text) {
    if (text == nullptr) return static_cast<HRESULT>(argumentNull);
    *text = core().texts.at(self.name()).c_str();
    return ok;
}
HRESULT stringLength(raw::Object& self, std::size_t* length) {
    if (length == nullptr) return static_cast<HRESULT>(argumentNull);
    *length = core().texts.at(self.name()).size();
    return ok;
}

raw::Object& makeString(const std::string& text) {
    RawCore& c = core();
    const std::string name = "string" + std::to_string(c.texts.size());
    c.texts[name] = text;
    return c.make(name).offers(stringId).on<8, &stringText>().on<9, &stringLength>();
}

// The error info: 9 its message, a new string.
HRESULT errorMessage(raw::Object&, IUnknown** message) {
    if (message == nullptr) return static_cast<HRESULT>(argumentNull);
    *message = makeString(core().pendingError).unknown();
    return ok;
}

}  // namespace

RAW_CORE_EXPORT ErrCode createString(IUnknown** string, const char* text) {
    core().add({"createString", 0});
    if (string == nullptr || text == nullptr) return argumentNull;
    *string = makeString(text).unknown();
    return ok;
}

RAW_CORE_EXPORT ErrCode nvRtGetErrorInfo(IUnknown** info) {
    RawCore& c = core();
    c.add({"nvRtGetErrorInfo", 0});
    if (info == nullptr) return argumentNull;
    *info = c.pendingError.empty() ? nullptr : c["errorInfo"].addRef();
    return ok;
}

RAW_CORE_EXPORT void nvRtClearErrorInfo() {
    core().add({"nvRtClearErrorInfo", 0});
    core().pendingError.clear();
}

RAW_CORE_EXPORT ErrCode nvRtDuplicateCharPtr(const char* source, char** copy) {
    core().add({"nvRtDuplicateCharPtr", 0});
    if (source == nullptr || copy == nullptr) return argumentNull;
    *copy = static_cast<char*>(std::malloc(std::strlen(source) + 1));
    std::strcpy(*copy, source);
    return ok;
}

// For the tests only: the journal of calls, and an error info to leave for
// the next failing call.
RAW_CORE_EXPORT raw::World* rawCoreWorld() {
    RawCore& c = core();
    static const bool made = [&] {
        c.make("errorInfo").offers(errorInfoId).on<9, &errorMessage>();
        return true;
    }();
    (void)made;
    return &c;
}

RAW_CORE_EXPORT void rawCoreFail(const char* message) { core().pendingError = message; }

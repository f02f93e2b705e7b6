// The host's core-types runtime: core strings, error infos and one error info
// per thread, with the exports the plug-in looks up by name. A failing call
// leaves an error info with its reason for the calling thread.
//
// Built with CORETYPES_FOUR_EXPORTS it exports only what the host's own
// library is known to export (createString, nvRtGetErrorInfo,
// nvRtClearErrorInfo, nvRtDuplicateCharPtr); the others stay inside.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "contract/core_interfaces.h"

#ifdef _WIN32
#define CORETYPES_EXPORT extern "C" __declspec(dllexport)
#else
#define CORETYPES_EXPORT extern "C" __attribute__((visibility("default")))
#endif
#ifdef CORETYPES_FOUR_EXPORTS
#define CORETYPES_EXTRA extern "C"
#else
#define CORETYPES_EXTRA CORETYPES_EXPORT
#endif

using namespace Nerova::RT::Core;

namespace {

char* duplicate(const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

// Reference counting, identity and naming shared by the library's objects.
template <class I>
class RuntimeObject : public I {
public:
    ErrCode queryInterface(const IntfID& id, void** intf) override {
        const ErrCode status = borrowInterface(id, intf);
        if (status == errOk) addRef();
        return status;
    }
    int addRef() override { return static_cast<int>(++refs_); }
    int release() override {
        const int left = static_cast<int>(--refs_);
        if (left == 0) delete this;
        return left;
    }
    ErrCode borrowInterface(const IntfID& id, void** intf) override {
        if (intf == nullptr) return errArgumentNull;
        if (!(id == IUnknown::Id || id == IBaseObject::Id || id == I::Id)) return errNoInterface;
        *intf = static_cast<I*>(this);
        return errOk;
    }
    ErrCode dispose() override { return errOk; }
    ErrCode getHashCode(SizeT* hashCode) override {
        if (hashCode == nullptr) return errArgumentNull;
        *hashCode = reinterpret_cast<SizeT>(this);
        return errOk;
    }
    ErrCode equals(IBaseObject* other) override {
        if (other == nullptr) return 1;
        void* theirs = nullptr;
        other->borrowInterface(IBaseObject::Id, &theirs);
        return theirs == static_cast<I*>(this) ? 0 : 1;
    }
    ErrCode toString(CharPtr* text) override {
        if (text == nullptr) return errArgumentNull;
        *text = duplicate(describe());
        return *text == nullptr ? errNoMemory : errOk;
    }
    virtual ~RuntimeObject() = default;

protected:
    virtual const char* describe() const = 0;

private:
    std::atomic<int> refs_{1};
};

class String final : public RuntimeObject<IString> {
public:
    explicit String(const char* text) : text_(text) {}
    ErrCode getCharPtr(ConstCharPtr* text) override {
        if (text == nullptr) return errArgumentNull;
        *text = text_.c_str();
        return errOk;
    }
    ErrCode getLength(SizeT* length) override {
        if (length == nullptr) return errArgumentNull;
        *length = text_.size();
        return errOk;
    }

private:
    const char* describe() const override { return text_.c_str(); }
    std::string text_;
};

class ErrorInfo final : public RuntimeObject<IErrorInfo> {
public:
    ~ErrorInfo() override {
        if (message_ != nullptr) message_->release();
    }
    ErrCode setMessage(IString* message) override {
        if (message != nullptr) message->addRef();
        if (message_ != nullptr) message_->release();
        message_ = message;
        return errOk;
    }
    ErrCode getMessage(IString** message) override {
        if (message == nullptr) return errArgumentNull;
        if (message_ != nullptr) message_->addRef();
        *message = message_;
        return errOk;
    }

private:
    const char* describe() const override { return "ErrorInfo"; }
    IString* message_ = nullptr;
};

struct ThreadErrorInfo {
    IErrorInfo* info = nullptr;
    void replace(IErrorInfo* next) {
        if (next != nullptr) next->addRef();
        if (info != nullptr) info->release();
        info = next;
    }
    ~ThreadErrorInfo() { replace(nullptr); }
};
thread_local ThreadErrorInfo threadError;

// A new object with its first reference, or null when there is no memory.
template <class T, class... Args>
T* make(Args&&... args) noexcept {
    try {
        return new T(std::forward<Args>(args)...);
    } catch (...) {
        return nullptr;
    }
}

// Leaves `reason` for the calling thread, as the answer to a failing call.
ErrCode fail(ErrCode code, const char* reason) noexcept {
    ErrorInfo* info = make<ErrorInfo>();
    if (info == nullptr) return code;
    if (String* message = make<String>(reason)) {
        info->setMessage(message);
        message->release();
    }
    threadError.replace(info);
    info->release();
    return code;
}

}  // namespace

CORETYPES_EXPORT ErrCode createString(IString** string, ConstCharPtr text) {
    if (string == nullptr) return fail(errArgumentNull, "createString: no place for the string");
    if (text == nullptr) return fail(errArgumentNull, "createString: the text is NULL");
    *string = make<String>(text);
    return *string == nullptr ? errNoMemory : errOk;
}

CORETYPES_EXTRA ErrCode createErrorInfo(IErrorInfo** info) {
    if (info == nullptr) return fail(errArgumentNull, "createErrorInfo: no place for the info");
    *info = make<ErrorInfo>();
    return *info == nullptr ? errNoMemory : errOk;
}

CORETYPES_EXTRA void nvRtSetErrorInfo(IErrorInfo* info) { threadError.replace(info); }

CORETYPES_EXPORT ErrCode nvRtGetErrorInfo(IErrorInfo** info) {
    if (info == nullptr) return errArgumentNull;
    if (threadError.info != nullptr) threadError.info->addRef();
    *info = threadError.info;
    return errOk;
}

CORETYPES_EXPORT void nvRtClearErrorInfo() { threadError.replace(nullptr); }

CORETYPES_EXPORT ErrCode nvRtDuplicateCharPtr(ConstCharPtr source, CharPtr* copy) {
    if (copy == nullptr)
        return fail(errArgumentNull, "nvRtDuplicateCharPtr: no place for the copy");
    if (source == nullptr) return fail(errArgumentNull, "nvRtDuplicateCharPtr: the text is NULL");
    *copy = duplicate(source);
    return *copy == nullptr ? errNoMemory : errOk;
}

// Frees what nvRtDuplicateCharPtr and toString hand out.
CORETYPES_EXTRA void nvRtFreeMemory(void* memory) { std::free(memory); }

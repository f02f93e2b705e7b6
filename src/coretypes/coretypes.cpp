// The host's core-types runtime: core strings, error infos and one error info
// per thread, with the exports the plug-in looks up by name.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "core/core_interfaces.h"

#ifdef _WIN32
#define CORETYPES_EXPORT extern "C" __declspec(dllexport)
#else
#define CORETYPES_EXPORT extern "C" __attribute__((visibility("default")))
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

}  // namespace

CORETYPES_EXPORT ErrCode createString(IString** string, ConstCharPtr text) {
    if (string == nullptr || text == nullptr) return errArgumentNull;
    *string = new (std::nothrow) String(text);
    return *string == nullptr ? errNoMemory : errOk;
}

CORETYPES_EXPORT ErrCode createErrorInfo(IErrorInfo** info) {
    if (info == nullptr) return errArgumentNull;
    *info = new (std::nothrow) ErrorInfo();
    return *info == nullptr ? errNoMemory : errOk;
}

CORETYPES_EXPORT void nvRtSetErrorInfo(IErrorInfo* info) { threadError.replace(info); }

CORETYPES_EXPORT ErrCode nvRtGetErrorInfo(IErrorInfo** info) {
    if (info == nullptr) return errArgumentNull;
    if (threadError.info != nullptr) threadError.info->addRef();
    *info = threadError.info;
    return errOk;
}

CORETYPES_EXPORT void nvRtClearErrorInfo() { threadError.replace(nullptr); }

CORETYPES_EXPORT ErrCode nvRtDuplicateCharPtr(ConstCharPtr source, CharPtr* copy) {
    if (source == nullptr || copy == nullptr) return errArgumentNull;
    *copy = duplicate(source);
    return *copy == nullptr ? errNoMemory : errOk;
}

CORETYPES_EXPORT void nvRtFreeMemory(void* memory) { std::free(memory); }

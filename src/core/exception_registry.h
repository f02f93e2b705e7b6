// Maps a failing core status back to its exception class.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "core/errors.h"

namespace Nerova::RT::Core {

class IExceptionFactory {
public:
    virtual ~IExceptionFactory() = default;
    // Deletes the factory; the registry calls it for factories it owns.
    virtual void destroy() = 0;
    [[noreturn]] virtual void throwException(ErrCode code, const std::string& text) = 0;
};

template <class T>
class GenericExceptionFactory final : public IExceptionFactory {
public:
    void destroy() override { delete this; }
    // The class has its own code, so `code` is not used.
    [[noreturn]] void throwException(ErrCode, const std::string& text) override {
        if (text.empty()) throw T();
        throw T(text);
    }
};

// The fallback: the status is not registered, so it travels in the exception.
template <>
class GenericExceptionFactory<NvrtException> final : public IExceptionFactory {
public:
    void destroy() override { delete this; }
    [[noreturn]] void throwException(ErrCode code, const std::string& text) override {
        throw NvrtException(code, text);
    }
};

class ExceptionRegistry {
public:
    ExceptionRegistry() = default;
    ~ExceptionRegistry() { close(); }
    ExceptionRegistry(const ExceptionRegistry&) = delete;
    ExceptionRegistry& operator=(const ExceptionRegistry&) = delete;

    // The process-wide registry, made on first use.
    static ExceptionRegistry& instance();

    // Takes ownership of `factory`; a factory it replaces is destroyed.
    void registerFactory(ErrCode code, IExceptionFactory* factory);
    void unregisterFactory(ErrCode code);
    IExceptionFactory& lookupFactory(ErrCode code);
    // Sets the closed flag, then destroys every factory; later removals do nothing.
    void close();
    bool isClosed() const noexcept { return closed_.load(); }

private:
    struct FactoryDeleter {
        void operator()(IExceptionFactory* f) const { f->destroy(); }
    };
    using FactoryOwner = std::unique_ptr<IExceptionFactory, FactoryDeleter>;

    std::atomic<bool> closed_{false};
    std::mutex mutex_;
    std::unordered_map<ErrCode, FactoryOwner> factories_;
};

// The process-wide registry's operations.
void registerFactory(ErrCode code, IExceptionFactory* factory);
void unregisterFactory(ErrCode code);
IExceptionFactory& lookupFactory(ErrCode code);
[[noreturn]] void throwForCode(ErrCode code, const std::string& text);

// Registers every class of the family at module start and removes them at
// unload. One object per module (see the end of this header).
class ExceptionRegistrar {
public:
    ExceptionRegistrar();
    ~ExceptionRegistrar();
    ExceptionRegistrar(const ExceptionRegistrar&) = delete;
    ExceptionRegistrar& operator=(const ExceptionRegistrar&) = delete;
};

inline const ExceptionRegistrar exceptionRegistrar;

}  // namespace Nerova::RT::Core

#include "core/exception_registry.h"

#include <stdexcept>

namespace Nerova::RT::Core {

namespace {

// Outlives the process-wide registry (it has no destructor), so that a late
// removal during unload can tell the registry is gone.
constinit std::atomic<bool> processRegistryClosed{false};

struct ProcessRegistry {
    ExceptionRegistry registry;
    ~ProcessRegistry() { processRegistryClosed = true; }
};

GenericExceptionFactory<NvrtException>& fallbackFactory() {
    static GenericExceptionFactory<NvrtException> fallback;
    return fallback;
}

template <class... T>
struct ExceptionClasses {
    static void registerAll() { (registerFactory(T::errorCode, new GenericExceptionFactory<T>()), ...); }
    static void unregisterAll() { (unregisterFactory(T::errorCode), ...); }
};

// In registration order.
using Family = ExceptionClasses<
    NoMemoryException, InvalidParameterException, ArgumentNullException, NoInterfaceException,
    NotAssignedException, NotEnabledException, OutOfRangeException, NotFoundException,
    GeneralErrorException, InvalidTypeException, AlreadyExistsException, FrozenException,
    ParseFailedException, NotImplementedException, NotSerializableException, DeserializeException,
    ConversionFailedException, InvalidPropertyException, InvalidValueException,
    InvalidStateException, ValidateFailedException, UninitializedException,
    InvalidOperationException>;

}  // namespace

ExceptionRegistry& ExceptionRegistry::instance() {
    static ProcessRegistry process;
    return process.registry;
}

void ExceptionRegistry::registerFactory(ErrCode code, IExceptionFactory* factory) {
    FactoryOwner owner(factory);
    std::lock_guard lock(mutex_);
    if (closed_) return;  // the owner destroys the factory
    factories_[code].swap(owner);  // the replaced factory goes with `owner`
}

void ExceptionRegistry::unregisterFactory(ErrCode code) {
    if (closed_) return;
    std::lock_guard lock(mutex_);
    factories_.erase(code);
}

IExceptionFactory& ExceptionRegistry::lookupFactory(ErrCode code) {
    std::lock_guard lock(mutex_);
    const auto found = factories_.find(code);
    if (found == factories_.end()) return fallbackFactory();
    return *found->second;
}

void ExceptionRegistry::close() {
    closed_ = true;
    std::lock_guard lock(mutex_);
    factories_.clear();
}

void registerFactory(ErrCode code, IExceptionFactory* factory) {
    ExceptionRegistry::instance().registerFactory(code, factory);
}

void unregisterFactory(ErrCode code) {
    if (processRegistryClosed) return;
    ExceptionRegistry::instance().unregisterFactory(code);
}

IExceptionFactory& lookupFactory(ErrCode code) {
    if (processRegistryClosed) return fallbackFactory();
    return ExceptionRegistry::instance().lookupFactory(code);
}

void throwForCode(ErrCode code, const std::string& text) {
    lookupFactory(code).throwException(code, text);
    // No factory returns; this is the guard should one ever do so.
    throw std::runtime_error(text + " (" + std::to_string(code) + ")");
}

ExceptionRegistrar::ExceptionRegistrar() { Family::registerAll(); }

ExceptionRegistrar::~ExceptionRegistrar() { Family::unregisterAll(); }

}  // namespace Nerova::RT::Core

// The edge of every toolkit operation: no exception leaves one, a failure
// answers its status and leaves its reason as the thread's error info, and
// out-parameters are checked before they are written.
#pragma once

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "host/kite/core_runtime.h"

namespace vexa::kite {

// A failing toolkit operation: the status its caller gets and why.
class KiteError : public std::runtime_error {
public:
    KiteError(ErrCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    ErrCode code() const noexcept { return code_; }

private:
    ErrCode code_;
};

// Runs an operation's body and answers errOk, or the status of what it threw.
template <class Body>
ErrCode kiteCall(Body&& body) noexcept {
    try {
        body();
        return errOk;
    } catch (const KiteError& error) {
        leaveErrorMessage(error.what());
        return error.code();
    } catch (const std::bad_alloc&) {
        return errNoMemory;
    } catch (const std::exception& error) {
        leaveErrorMessage(error.what());
        return errGeneralError;
    } catch (...) {
        return errGeneralError;
    }
}

template <class T>
T& outParameter(T* out) {
    if (out == nullptr) throw KiteError(errArgumentNull, "no place for the answer");
    return *out;
}

template <class T, class V>
void giveValue(T* out, V value) {
    outParameter(out) = static_cast<T>(value);
}

// Hands the caller a reference of its own; `object` may be null.
template <class I, class T>
void giveObject(I** out, T* object) {
    I*& slot = outParameter(out);
    I* given = object;
    if (given != nullptr) given->addRef();
    slot = given;
}

inline void giveString(IString** out, const std::string& text) {
    IString*& slot = outParameter(out);
    slot = newString(text);
}

}  // namespace vexa::kite

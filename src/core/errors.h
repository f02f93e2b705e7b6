// The error codes of the core object model and one exception class per code.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "contract/core_codes.h"

namespace Nerova::RT::Core {

class NvrtException : public std::exception {
public:
    NvrtException(ErrCode code, std::string message, bool defaultMessage = false)
        : code_(code), message_(std::move(message)), defaultMessage_(defaultMessage) {}
    NvrtException(const NvrtException&) = default;
    NvrtException& operator=(const NvrtException&) = default;

    const char* what() const noexcept override { return message_.c_str(); }
    ErrCode code() const noexcept { return code_; }
    bool isDefaultMessage() const noexcept { return defaultMessage_; }

private:
    ErrCode code_;
    std::string message_;
    bool defaultMessage_;
};

// A class of the family: its own code and default message. An empty text
// gives the default message.
#define NVRT_EXCEPTION_CLASS(Name, Code, Default)                                          \
    class Name : public NvrtException {                                                    \
    public:                                                                                \
        static constexpr ErrCode errorCode = Code;                                         \
        static constexpr const char* defaultText = Default;                                \
        Name() : NvrtException(Code, Default, true) {}                                     \
        explicit Name(const std::string& text)                                             \
            : NvrtException(Code, text.empty() ? std::string(Default) : text, text.empty()) {} \
        Name(const Name&) = default;                                                       \
        Name& operator=(const Name&) = default;                                            \
    };

NVRT_EXCEPTION_CLASS(NoMemoryException, errNoMemory, "No memory")
NVRT_EXCEPTION_CLASS(InvalidParameterException, errInvalidParameter, "Invalid parameter")
NVRT_EXCEPTION_CLASS(ArgumentNullException, errArgumentNull, "Argument must not be NULL.")
NVRT_EXCEPTION_CLASS(NoInterfaceException, errNoInterface,
                     "Invalid cast. The object does not implement this interface.")
NVRT_EXCEPTION_CLASS(NotAssignedException, errNotAssigned, "Not assigned")
NVRT_EXCEPTION_CLASS(NotEnabledException, errNotEnabled, "Not enabled")
NVRT_EXCEPTION_CLASS(OutOfRangeException, errOutOfRange, "Out of range")
NVRT_EXCEPTION_CLASS(NotFoundException, errNotFound, "Not found")
NVRT_EXCEPTION_CLASS(GeneralErrorException, errGeneralError, "General error")
NVRT_EXCEPTION_CLASS(InvalidTypeException, errInvalidType, "Invalid type")
NVRT_EXCEPTION_CLASS(AlreadyExistsException, errAlreadyExists, "Already exists")
NVRT_EXCEPTION_CLASS(FrozenException, errFrozen, "Object frozen")
NVRT_EXCEPTION_CLASS(ParseFailedException, errParseFailed, "Parse failed")
NVRT_EXCEPTION_CLASS(NotImplementedException, errNotImplemented, "Not Implemented")
NVRT_EXCEPTION_CLASS(NotSerializableException, errNotSerializable, "Not serializable")
NVRT_EXCEPTION_CLASS(DeserializeException, errDeserialize, "Error when parsing or deserializing")
NVRT_EXCEPTION_CLASS(ConversionFailedException, errConversionFailed, "Conversion failed")
NVRT_EXCEPTION_CLASS(InvalidPropertyException, errInvalidProperty, "Invalid property")
NVRT_EXCEPTION_CLASS(InvalidValueException, errInvalidValue, "Invalid value")
NVRT_EXCEPTION_CLASS(InvalidStateException, errInvalidState, "Invalid state")
NVRT_EXCEPTION_CLASS(ValidateFailedException, errValidateFailed, "Validate failed")
NVRT_EXCEPTION_CLASS(UninitializedException, errUninitialized, "The operation requires initialization")
NVRT_EXCEPTION_CLASS(InvalidOperationException, errInvalidOperation,
                     "Operation in not valid for the current type or state.")

#undef NVRT_EXCEPTION_CLASS

}  // namespace Nerova::RT::Core

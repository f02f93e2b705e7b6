// Failures of the setup documents, by numeric code.
#pragma once

#include <cstdint>
#include <exception>

namespace Nerova::Utils::Serialization {

enum class XmlExceptionCode : std::int32_t {
    WrongType = 0,
    NodeDoesNotExist = 1,
    IndexTooLarge = 2,
    ValueTooLarge = 3,
    OutOfRange = 4,
    ElementNotSet = 5,
    DocumentNotSet = 6,
    NodeArgumentNull = 7,
    DocumentArgumentNull = 8,
    FileNameNotSet = 9,
    FileOpenFailed = 10,
    FileReadFailed = 11,
    ParseFailed = 12,
    DummyNode = 13,
};

class XmlException : public std::exception {
public:
    explicit XmlException(XmlExceptionCode code) noexcept : code_(code) {}

    XmlExceptionCode code() const noexcept { return code_; }
    // The fixed text of the code.
    const char* what() const noexcept override;

private:
    XmlExceptionCode code_;
};

}  // namespace Nerova::Utils::Serialization

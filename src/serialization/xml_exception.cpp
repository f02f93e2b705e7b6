#include "serialization/xml_exception.h"

namespace Nerova::Utils::Serialization {

const char* XmlException::what() const noexcept {
    switch (code_) {
    case XmlExceptionCode::WrongType: return "Node does not contain expected type!";
    case XmlExceptionCode::NodeDoesNotExist: return "Node you want to read does not exist!";
    case XmlExceptionCode::IndexTooLarge: return "NCOM index size is limited to values of long type!";
    case XmlExceptionCode::ValueTooLarge:
        return "Values you can write to NCOM node are limited to values of long type!";
    case XmlExceptionCode::OutOfRange: return "Value is out of range!";
    case XmlExceptionCode::ElementNotSet: return "Inner node is not initialized!";
    case XmlExceptionCode::DocumentNotSet: return "NCOM document is not set!";
    case XmlExceptionCode::NodeArgumentNull: return "Node in function argument is nullptr!";
    case XmlExceptionCode::DocumentArgumentNull: return "Document in function argument is nullptr!";
    case XmlExceptionCode::FileNameNotSet: return "File name is not set!";
    case XmlExceptionCode::FileOpenFailed: return "Failure when opening a file!";
    case XmlExceptionCode::FileReadFailed: return "Failure when reading a buffer from a file!";
    case XmlExceptionCode::ParseFailed: return "Failure when parsing Xml file!";
    case XmlExceptionCode::DummyNode: return "Parameter is a dummy node!";
    }
    return "XmlExceptionCode is not set!";
}

}  // namespace Nerova::Utils::Serialization

// An element handle over a setup document, held by shared pointer. One set
// of operations serves saving and loading: the document carries the
// direction.
#pragma once

namespace Nerova::Utils::Serialization {

class Node {
public:
    virtual ~Node() = default;

    // Sets the direction of the whole document.
    virtual void setWriting(bool writing) = 0;
    virtual bool isWriting() const = 0;
    // The handle refers to a real element of a real document.
    virtual bool isValid() const = 0;

protected:
    Node() = default;
    Node(const Node&) = default;
    Node& operator=(const Node&) = default;
};

}  // namespace Nerova::Utils::Serialization

// Named property documents that the host keeps per channel, handed out as
// nodes so that they are read and written like the setup.
#pragma once

#include <string>

#include "platform/com_ptr.h"
#include "contract/host_channels.h"
#include "serialization/node.h"

namespace Nerova::Utils::Ncom::Utils {

class Properties {
public:
    virtual ~Properties() = default;

    // The root of the document of that name, or an empty handle when the
    // host has none.
    virtual Serialization::NodePtr getProperty(const std::string& name) const = 0;
    // As getProperty; a non-empty `node` is copied under the root first.
    virtual Serialization::NodePtr getPropertyInto(const std::string& name,
                                                   const Serialization::NodePtr& node) const = 0;
    // The root of the document of that name, made when there is none.
    virtual Serialization::NodePtr addProperty(const std::string& name) = 0;

protected:
    Properties() = default;
    Properties(const Properties&) = default;
    Properties& operator=(const Properties&) = default;
};

// Bound to a host channel's collection while the channel has one; without
// it every operation raises E_POINTER.
class PropertiesImpl final : public Properties {
public:
    Serialization::NodePtr getProperty(const std::string& name) const override;
    Serialization::NodePtr getPropertyInto(const std::string& name,
                                           const Serialization::NodePtr& node) const override;
    Serialization::NodePtr addProperty(const std::string& name) override;

    void bind(vexa::ComPtr<HostPropertyCollection> collection) noexcept { collection_ = std::move(collection); }
    void unbind() noexcept { collection_.reset(); }
    bool isBound() const noexcept { return static_cast<bool>(collection_); }

private:
    vexa::ComPtr<HostPropertyCollection> collection_;
};

}  // namespace Nerova::Utils::Ncom::Utils

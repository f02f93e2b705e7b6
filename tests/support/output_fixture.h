// An output factory bound to a reference host, and the host's side of the
// channels it makes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "output/output_factory.h"
#include "serialization/nerova_ncom_node.h"
#include "support/test_host.h"

namespace output_test {

using namespace Nerova::Utils::Ncom::OutputChannel;
using Nerova::Utils::Serialization::NodePtr;
using vexa::ComPtr;
using vexa::host::asInterface;
using vexa::host::ChannelObject;
using vexa::host::TestHost;
using vexa::host::XmlDocumentObject;

inline HRESULT comResultOf(const auto& action) {
    try {
        action();
    } catch (const vexa::ComError& e) {
        return e.result();
    }
    return S_OK;
}

// A document in the given mode and a node on its root.
struct SetupDocument {
    explicit SetupDocument(LONG mode = XmlDocumentObject::writing) : object(XmlDocumentObject::create("Setup")) {
        object->setMode(mode);
        root = Nerova::Utils::Ncom::Utils::rootNode(asInterface<HostXmlDocument>(object));
    }
    ComPtr<XmlDocumentObject> object;
    NodePtr root;
};

class OutputTest : public ::testing::Test {
protected:
    OutputTest() { bind(factory, host); }

    static void bind(OutputFactoryImpl& target, TestHost& boundHost) {
        target.setHost(asInterface<HostApp>(boundHost.app), boundHost.pluginId,
                       static_cast<HostChannelGroup*>(boundHost.group.get()));
    }

    std::shared_ptr<OutputChannel> create(const OutputChannelType& type = timedDoubleChannel) {
        return factory.createOutputChannel(type, nullptr);
    }

    // The host channel the factory made for `channel`.
    ChannelObject& hostOf(const OutputChannel& channel) const {
        ChannelObject* found = host.group->findById(static_cast<LONG>(channel.getKey()));
        if (found == nullptr) throw std::logic_error("no host channel");
        return *found;
    }

    TestHost host;
    OutputFactoryImpl factory;
};

}  // namespace output_test

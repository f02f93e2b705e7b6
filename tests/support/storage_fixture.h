// The plug-in's shared state on a reference host, with documents to save
// into and load from as the host's document events hand them over.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/vexa_device.h"
#include "host/objects/xml_document.h"
#include "output/output_channel.h"
#include "log/logging_internal.h"
#include "plugin/plugin_core.h"
#include "serialization/nerova_ncom_node.h"
#include "support/temp_file.h"
#include "support/test_host.h"

namespace storage_test {

using Nerova::Utils::Serialization::NodePtr;
using vexa::ComPtr;
using vexa::host::XmlDocumentObject;
using vexa::host::XmlElementObject;

inline constexpr std::uint32_t kFreshKey = 0xFFFFFFFFu;

class StorageTest : public ::testing::Test {
protected:
    StorageTest() {
        resetLoggingForTests();
        host.app->setLogFolder((std::filesystem::path(log_.path()).parent_path() / "").string());
        core.bindHost(vexa::host::asInterface<HostApp>(host.app));
    }
    ~StorageTest() override { resetLoggingForTests(); }

    // Not connected; channels "G/c1".. named "c1".. as a channel list gives them.
    std::shared_ptr<VexaDevice> addDevice(const std::string& ip, std::uint32_t port, int channelCount) {
        auto device = core.devices.add(ip, port);
        for (int i = 1; i <= channelCount; ++i) {
            // Appended rather than concatenated: GCC 12 at -O3 warns falsely
            // about a literal plus a string.
            std::string name = "c";
            name += std::to_string(i);
            std::string fullName = "G/";
            fullName += name;
            device->channelTable().addChannel(static_cast<std::uint32_t>(i), fullName, "G", name, name, "V");
        }
        return device;
    }

    static NodePtr rootOf(const ComPtr<XmlDocumentObject>& document, bool writing) {
        auto root = Nerova::Utils::Ncom::Utils::rootNode(vexa::host::asInterface<HostXmlDocument>(document));
        root->setWriting(writing);
        return root;
    }
    ComPtr<XmlDocumentObject> saveSetup() {
        auto document = XmlDocumentObject::create("Setup");
        EXPECT_EQ(core.saveOrLoadSetup(*rootOf(document, true)), S_OK);
        return document;
    }
    void loadSetup(const ComPtr<XmlDocumentObject>& document) {
        EXPECT_EQ(core.saveOrLoadSetup(*rootOf(document, false)), S_OK);
    }

    static std::vector<std::shared_ptr<VexaChannel>> channelsOf(const VexaDevice& device) {
        return device.channelTable().channels("allChannels");
    }
    static std::vector<std::string> hostNames(const VexaDevice& device) {
        std::vector<std::string> names;
        for (const auto& channel : channelsOf(device)) names.push_back(channel->hostName());
        return names;
    }
    static std::vector<std::uint32_t> keys(const VexaDevice& device) {
        std::vector<std::uint32_t> found;
        for (const auto& channel : channelsOf(device))
            found.push_back(channel->output() ? channel->output()->getKey() : kFreshKey);
        return found;
    }
    // The name the host shows for the channel's output channel.
    std::string hostChannelName(const VexaChannel& channel) const {
        const auto* found = host.group->findById(static_cast<LONG>(channel.output()->getKey()));
        return found == nullptr ? std::string("<none>") : found->settings().name;
    }

    std::string log() const { return log_.exists() ? log_.contents() : std::string(); }

    vexa::test::TempFile log_{"VexaLog.txt"};
    vexa::host::TestHost host;
    PluginCore core;
};

}  // namespace storage_test

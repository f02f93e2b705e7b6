// Channel bindings through setup documents: what is written, how stored
// devices find the current ones, and what channels get when the setup
// holds nothing for them.
#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>

#include "serialization/xml_exception.h"
#include "support/storage_fixture.h"

namespace storage_test {
namespace {

using Nerova::Utils::Serialization::XmlException;
using Nerova::Utils::Serialization::XmlExceptionCode;

std::vector<std::string> childNames(const XmlElementObject& element) {
    std::vector<std::string> names;
    for (const auto& child : element.children()) names.push_back(child->name());
    return names;
}

// The text of the `Expected` that `action` throws.
template <class Expected>
std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Expected& error) {
        return error.what();
    }
    return "nothing thrown";
}

using SetupStorage = StorageTest;

TEST_F(SetupStorage, SavesDevicesInListOrderAndOnlyBoundChannelsCarryAKey) {
    auto first = addDevice("127.0.0.2", 5963, 2);
    auto second = addDevice("127.0.0.3", 6001, 1);
    channelsOf(*first)[0]->createOutput(kFreshKey);
    channelsOf(*first)[0]->setHostName("Speed");
    channelsOf(*second)[0]->createOutput(kFreshKey);

    auto document = saveSetup();
    const XmlElementObject* devices = document->root().findChild("VexaDevicesSetup");
    ASSERT_NE(devices, nullptr);
    ASSERT_EQ(childNames(*devices), (std::vector<std::string>{"VexaDeviceSetup", "VexaDeviceSetup"}));
    const XmlElementObject& stored = *devices->children()[0];
    EXPECT_EQ(stored.attributeValue("IpAddress"), "127.0.0.2");
    EXPECT_EQ(stored.attributeValue("PortNumber"), "5963");
    EXPECT_EQ(devices->children()[1]->attributeValue("PortNumber"), "6001");

    const auto channels = stored.findChild("VexaChannels")->children();
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(childNames(*channels[0]),
              (std::vector<std::string>{"VexaChannelPosition", "VexaNvChannelName", "NvChannelId"}));
    EXPECT_EQ(channels[0]->findChild("VexaChannelPosition")->text(), "1");
    EXPECT_EQ(channels[0]->findChild("VexaNvChannelName")->text(), "Speed");
    EXPECT_EQ(channels[0]->findChild("NvChannelId")->text(), std::to_string(keys(*first)[0]));
    EXPECT_EQ(childNames(*channels[1]), (std::vector<std::string>{"VexaChannelPosition", "VexaNvChannelName"}));
}

TEST_F(SetupStorage, StoredDevicesFindTheirsByAddressAndPortThenLeftoversByPosition) {
    auto a = addDevice("127.0.0.2", 5963, 3);
    auto b = addDevice("127.0.0.3", 5963, 3);
    for (const auto& device : {a, b}) {
        for (const auto& channel : channelsOf(*device)) {
            std::string name = device == a ? "A " : "B ";
            channel->setHostName(name += channel->deviceName());
            channel->createOutput(kFreshKey);
        }
    }
    const auto keysOfA = keys(*a);
    const auto keysOfB = keys(*b);
    auto document = saveSetup();

    // The list the setup comes back to: b's address under another port
    // first, then b itself, then a device the setup never saw.
    core.devices.eraseAt(1);
    core.devices.eraseAt(0);
    a.reset();
    b.reset();
    auto samePlaceOtherPort = addDevice("127.0.0.3", 6000, 3);
    auto sameDevice = addDevice("127.0.0.3", 5963, 3);
    auto newcomer = addDevice("127.0.0.4", 5963, 3);
    loadSetup(document);

    EXPECT_EQ(keys(*sameDevice), keysOfB);
    EXPECT_EQ(hostNames(*sameDevice), (std::vector<std::string>{"B c1", "B c2", "B c3"}));
    EXPECT_EQ(keys(*samePlaceOtherPort), keysOfA) << "the unmatched stored device, by position";
    EXPECT_EQ(hostNames(*samePlaceOtherPort), (std::vector<std::string>{"A c1", "A c2", "A c3"}));
    EXPECT_EQ(hostChannelName(*channelsOf(*samePlaceOtherPort)[0]), "A c1");

    // Nothing left for the newcomer: fresh output channels, names kept.
    EXPECT_EQ(hostNames(*newcomer), (std::vector<std::string>{"c1", "c2", "c3"}));
    for (const std::uint32_t key : keys(*newcomer)) {
        EXPECT_NE(key, kFreshKey);
        EXPECT_EQ(std::count(keysOfA.begin(), keysOfA.end(), key) + std::count(keysOfB.begin(), keysOfB.end(), key), 0);
    }
    EXPECT_EQ(host.group->channels().size(), 9u) << "no output channel left over or missing";
}

TEST_F(SetupStorage, ChannelsTakeTheFirstStoredNodeOfTheirPosition) {
    auto device = addDevice("127.0.0.2", 5963, 4);
    auto document = XmlDocumentObject::parse(
        "<Setup><VexaDevicesSetup><VexaDeviceSetup IpAddress=\"127.0.0.2\" PortNumber=\"5963\"><VexaChannels>"
        "<Channel><VexaChannelPosition>3</VexaChannelPosition><VexaNvChannelName>Third</VexaNvChannelName>"
        "</Channel>"
        "<Channel><VexaChannelPosition>1</VexaChannelPosition></Channel>"
        "<Channel><VexaChannelPosition>3</VexaChannelPosition><VexaNvChannelName>Shadowed</VexaNvChannelName>"
        "</Channel>"
        "</VexaChannels></VexaDeviceSetup></VexaDevicesSetup></Setup>");
    loadSetup(document);

    // A stored node without a name clears it; channels not stored keep theirs.
    EXPECT_EQ(hostNames(*device), (std::vector<std::string>{"", "c2", "Third", "c4"}));
    const auto bound = keys(*device);
    for (const std::uint32_t key : bound) EXPECT_NE(key, kFreshKey) << "every channel gets an output channel";
    EXPECT_EQ(std::set<std::uint32_t>(bound.begin(), bound.end()).size(), bound.size());
    EXPECT_EQ(hostChannelName(*channelsOf(*device)[2]), "Third");
}

TEST_F(SetupStorage, MissingPartsOfASetupCountAsHoldingNothing) {
    auto device = addDevice("127.0.0.2", 5963, 2);
    for (const char* text :
         {"<Setup/>", "<Setup><VexaDevicesSetup/></Setup>",
          "<Setup><VexaDevicesSetup><VexaDeviceSetup IpAddress=\"127.0.0.2\" PortNumber=\"5963\"/>"
          "</VexaDevicesSetup></Setup>"}) {
        SCOPED_TRACE(text);
        channelsOf(*device)[0]->setHostName("kept");
        loadSetup(XmlDocumentObject::parse(text));
        EXPECT_EQ(hostNames(*device), (std::vector<std::string>{"kept", "c2"}));
        for (const std::uint32_t key : keys(*device)) EXPECT_NE(key, kFreshKey);
        EXPECT_EQ(host.group->channels().size(), 2u) << "the previous binding is given back";
    }
}

TEST_F(SetupStorage, ASetupWithoutElementResetsEveryChannelToItsDeviceName) {
    auto device = addDevice("127.0.0.2", 5963, 2);
    loadSetup(XmlDocumentObject::create("Setup"));
    for (const auto& channel : channelsOf(*device)) channel->setHostName("renamed");

    Nerova::Utils::Ncom::Utils::NerovaNCOMNode noElement(
        vexa::host::asInterface<HostXmlDocument>(XmlDocumentObject::create("Setup")), {});
    noElement.setWriting(false);
    EXPECT_EQ(core.saveOrLoadSetup(noElement), S_OK);
    EXPECT_EQ(hostNames(*device), (std::vector<std::string>{"c1", "c2"}));
    EXPECT_EQ(hostChannelName(*channelsOf(*device)[1]), "c2");

    noElement.setWriting(true);
    EXPECT_EQ(core.saveOrLoadSetup(noElement), S_FALSE) << "nothing to write into";
}

TEST_F(SetupStorage, AnOutputWithACorruptIdCostsOnlyItsOwnBinding) {
    auto device = addDevice("127.0.0.2", 5963, 3);
    for (const auto& channel : channelsOf(*device)) channel->createOutput(kFreshKey);
    const auto stored = keys(*device);
    const std::string saved = saveSetup()->toText();

    for (const char* corrupt : {"12a", "-1", "", "4294967296"}) {
        SCOPED_TRACE(std::string("Id \"") + corrupt + "\"");
        auto document = XmlDocumentObject::parse(saved);
        XmlElementObject* list = document->root().findChild("OutputList");
        ASSERT_NE(list, nullptr);
        list->childrenNamed("Output")[1]->findAttribute("Id")->setText(corrupt);
        loadSetup(document);

        const auto loaded = keys(*device);
        EXPECT_EQ(loaded[0], stored[0]);
        EXPECT_EQ(loaded[2], stored[2]);
        EXPECT_NE(loaded[1], kFreshKey) << "the channel of the corrupt output gets a new one";
        EXPECT_EQ(host.group->channels().size(), 3u);
    }
}

TEST_F(SetupStorage, BadStoredNumbersFailTheLoad) {
    addDevice("127.0.0.2", 5963, 1);
    const auto setupWith = [](const std::string& port, const std::string& position) {
        return XmlDocumentObject::parse(
            "<Setup><VexaDevicesSetup><VexaDeviceSetup IpAddress=\"127.0.0.2\" PortNumber=\"" + port +
            "\"><VexaChannels><Channel><VexaChannelPosition>" + position +
            "</VexaChannelPosition></Channel></VexaChannels></VexaDeviceSetup></VexaDevicesSetup></Setup>");
    };
    const auto load = [&](const ComPtr<XmlDocumentObject>& document) {
        core.devices.loadSetup(*rootOf(document, false));
    };

    EXPECT_EQ(failureOf<std::invalid_argument>([&] { load(setupWith("port", "1")); }), "invalid stoi argument");
    EXPECT_EQ(failureOf<std::out_of_range>([&] { load(setupWith("4294967296", "1")); }),
              "stoi argument out of range");
    EXPECT_EQ(failureOf<XmlException>([&] { load(setupWith("5963", "first")); }),
              XmlException(XmlExceptionCode::WrongType).what());
    // Ports are read only for a matching address; trailing text is ignored,
    // as the standard conversion does.
    auto other = XmlDocumentObject::parse(
        "<Setup><VexaDevicesSetup><VexaDeviceSetup IpAddress=\"127.0.0.3\" PortNumber=\"port\"/>"
        "<VexaDeviceSetup IpAddress=\"127.0.0.2\" PortNumber=\" 5963 \"/></VexaDevicesSetup></Setup>");
    EXPECT_NO_THROW(load(other));
}

}  // namespace
}  // namespace storage_test

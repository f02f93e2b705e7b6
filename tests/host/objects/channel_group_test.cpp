// The reference host's channel group: identifiers, index paths and what a
// removed channel answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/objects/channel_group.h"
#include "platform/bstr.h"
#include "platform/variant.h"

namespace {

using namespace vexa::host;
using vexa::Bstr;
using vexa::ComPtr;
using vexa::Variant;

const Bstr plugin("{PLUGIN-A}");

class ChannelGroup : public ::testing::Test {
protected:
    HRESULT create(const std::vector<std::int32_t>& ids, LONG count = -1, BSTR pluginId = plugin.get()) {
        Variant list = Variant::ofInt32Array(ids);
        ComPtr<HostChannel> made;
        return group->CreateChannels(pluginId, count < 0 ? static_cast<LONG>(ids.size()) : count, list.get(),
                                     made.put());
    }
    std::vector<LONG> ids() const {
        std::vector<LONG> held;
        for (const ChannelPtr& channel : group->channels()) held.push_back(channel->settings().id);
        return held;
    }

    ComPtr<ChannelGroupObject> group = makeHostObject<ChannelGroupObject>(4);
};

TEST_F(ChannelGroup, RefusesAnIdentifierItHasAndCreatesNothingFromARefusedList) {
    ASSERT_EQ(create({0, 1}), S_OK);
    const Bstr other("{PLUGIN-B}");
    Variant text = Variant::ofString(Bstr("3"));
    ComPtr<HostChannel> made;
    EXPECT_EQ(group->CreateChannels(plugin.get(), 1, text.get(), made.put()), E_INVALIDARG) << "no integers";
    struct Case {
        const char* what;
        std::vector<std::int32_t> ids;
        LONG count;
        BSTR pluginId;
    };
    const Case refused[] = {
        {"an identifier it has", {1}, -1, plugin.get()},
        {"one of a list", {2, 0}, -1, plugin.get()},
        {"twice in one list", {2, 2}, -1, plugin.get()},
        {"more counted than listed", {2}, 2, plugin.get()},
        {"fewer counted than listed", {2, 3}, 1, plugin.get()},
        {"nothing", {}, -1, plugin.get()},
        {"another plug-in", {2}, -1, other.get()},
        {"no plug-in", {2}, -1, nullptr},
    };
    for (const Case& c : refused) EXPECT_EQ(create(c.ids, c.count, c.pluginId), E_INVALIDARG) << c.what;
    EXPECT_EQ(ids(), (std::vector<LONG>{0, 1}));
    EXPECT_EQ(group->pluginId(), "{PLUGIN-A}");
    EXPECT_THROW(group->addChannel(1), vexa::ComError) << "nor does the host make one twice";
}

TEST_F(ChannelGroup, IndexPathsAreNeverGivenTwiceWhileIdentifiersAreFreeAgainAfterARemoval) {
    ASSERT_EQ(create({0, 1, 2}), S_OK);
    ChannelObject* second = group->findById(1);
    const std::vector<std::int32_t> oldPath = second->settings().indexPath;
    EXPECT_EQ(oldPath, (std::vector<std::int32_t>{4, 1}));
    ASSERT_EQ(group->RemoveChannel(second), S_OK);
    ASSERT_EQ(create({1}), S_OK);
    EXPECT_EQ(group->findById(1)->settings().indexPath, (std::vector<std::int32_t>{4, 3}));

    auto data = makeHostObject<AcquisitionDataObject>(group);
    const auto find = [&](Variant path, HRESULT expected) {
        ComPtr<HostChannel> found;
        EXPECT_EQ(data->FindChannel(path.get(), found.put()), expected);
        return found;
    };
    EXPECT_FALSE(find(Variant::ofInt32Array(oldPath), S_OK)) << "the removed channel's place names no channel";
    EXPECT_TRUE(find(Variant::ofInt32Array(std::vector<std::int32_t>{4, 3}), S_OK));
    find(Variant::ofString(Bstr("4:3")), E_INVALIDARG);
}

TEST_F(ChannelGroup, ARemovedChannelAnswersDisconnectedAndStaysRemoved) {
    ASSERT_EQ(create({7}), S_OK);
    const ChannelPtr channel(group->findById(7));
    channel->settings().name = "Speed";
    ASSERT_EQ(group->RemoveChannel(channel.get()), S_OK);
    EXPECT_TRUE(channel->removed());

    VARIANT_BOOL used = 0;
    EXPECT_EQ(channel->GetUsed(&used), ChannelObject::removedAnswer);
    EXPECT_EQ(channel->SetName(Bstr("Torque").get()), ChannelObject::removedAnswer);
    EXPECT_EQ(channel->settings().name, "Speed");
    EXPECT_EQ(channel->AdvanceWritePosition(1), ChannelObject::removedAnswer);
    EXPECT_EQ(channel->Activate(VARIANT_TRUE), ChannelObject::removedAnswer);

    EXPECT_EQ(group->RemoveChannel(channel.get()), E_INVALIDARG) << "removed already";
    EXPECT_EQ(group->RemoveChannel(nullptr), E_POINTER);
    const ChannelPtr stranger = makeHostObject<ChannelObject>(8);
    EXPECT_EQ(group->RemoveChannel(stranger.get()), E_INVALIDARG) << "never in the group";
    EXPECT_EQ(group->removals(), 1);
}

TEST_F(ChannelGroup, GroupsOnlyChannelsItHas) {
    ASSERT_EQ(create({0, 1}), S_OK);
    const auto groupKeys = [&](const std::vector<std::int32_t>& keys) {
        Variant list = Variant::ofInt32Array(keys);
        return group->GroupChannels(plugin.get(), static_cast<LONG>(keys.size()), list.get(), Bstr("Rig").get());
    };
    EXPECT_EQ(groupKeys({0, 9}), E_INVALIDARG);
    ASSERT_EQ(group->RemoveChannel(group->findById(1)), S_OK);
    EXPECT_EQ(groupKeys({1}), E_INVALIDARG) << "a removed channel is no channel of the group";
    EXPECT_TRUE(group->groupings().empty());
    EXPECT_EQ(groupKeys({0}), S_OK);
    ASSERT_EQ(group->groupings().size(), 1u);
    EXPECT_EQ(group->groupings()[0].keys, (std::vector<std::int32_t>{0}));
}

}  // namespace

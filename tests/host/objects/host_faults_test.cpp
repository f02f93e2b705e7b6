// Failures switched on in the reference host's objects, the error
// information they leave, and flags of any 16-bit value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/objects/channel_group.h"
#include "host/objects/xml_document.h"
#include "platform/bstr.h"
#include "platform/com_error.h"

namespace {

using namespace vexa::host;
using vexa::Bstr;
using vexa::ComError;
using vexa::ComPtr;

// 'o' for a call that succeeded, 'F' for one that failed.
template <class Call>
std::string outcomes(int calls, Call&& call) {
    std::string pattern;
    for (int i = 0; i < calls; ++i) pattern += FAILED(call()) ? 'F' : 'o';
    return pattern;
}

TEST(HostFaults, FailAfterSomeCallsForSomeCallsThenWorkAgain) {
    struct Case {
        int after;
        int times;
        const char* pattern;
    };
    const Case cases[] = {
        {0, 0, "FFFFF"},  // every call
        {2, 0, "ooFFF"},  // after two that succeed
        {1, 2, "oFFoo"},  // two failures, then it works again
        {0, 1, "Foooo"},
    };
    for (const Case& c : cases) {
        auto channel = makeHostObject<ChannelObject>(8);
        channel->failMethod(12, HostFault(E_UNEXPECTED).afterCalls(c.after).failing(c.times));
        LONG position = 0;
        EXPECT_EQ(outcomes(5, [&] { return channel->GetWritePosition(&position); }), c.pattern)
            << "after " << c.after << ", failing " << c.times;
        EXPECT_EQ(channel->callCount(12), 5) << "failed calls count as well";
    }

    auto channel = makeHostObject<ChannelObject>(8);
    channel->failMethod(71, E_UNEXPECTED);
    EXPECT_EQ(channel->AdvanceWritePosition(1), E_UNEXPECTED);
    EXPECT_EQ(channel->writePosition(), 0) << "a failed call does nothing";
    channel->failMethod(71, S_OK);
    EXPECT_EQ(channel->AdvanceWritePosition(1), S_OK);
    EXPECT_EQ(channel->writePosition(), 1);
}

// The plug-in takes error information from objects that offer it for the
// called interface; ours offer it for each of their own interfaces.
TEST(HostFaults, AFailureLeavesItsOwnDescriptionAndNeverAStaleOne) {
    auto document = XmlDocumentObject::create("Setup");
    XmlElementObject& root = document->root();
    const auto support = ComPtr<HostXmlElement>(&root).query<ISupportErrorInfo>();
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(vexa::interfaceId<HostXmlElement>()), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);

    const auto failureOf = [&](auto&& call) -> ComError {
        try {
            vexa::checkCall(call(), static_cast<HostXmlElement*>(&root));
        } catch (const ComError& error) {
            return error;
        }
        ADD_FAILURE() << "the call did not fail";
        return ComError(S_OK);
    };
    LONG count = 0;
    root.failMethod(13, HostFault(E_UNEXPECTED).describedAs("document is locked").failing(1));
    const ComError described = failureOf([&] { return root.GetChildCount(&count); });
    EXPECT_EQ(described.result(), E_UNEXPECTED);
    EXPECT_EQ(described.message(), "document is locked");
    EXPECT_TRUE(described.iid() == vexa::interfaceId<HostXmlElement>());

    // A description left over from an earlier failure must not be taken
    // for this one, whether it was switched on or is the host's own.
    leaveErrorInfo(IID_IDispatch, "stale");
    root.failMethod(13, HostFault(E_FAIL).failing(1));
    EXPECT_FALSE(failureOf([&] { return root.GetChildCount(&count); }).errorInfo());
    leaveErrorInfo(IID_IDispatch, "stale");
    HostXmlElement* child = nullptr;
    const ComError own = failureOf([&] { return root.GetChild(3, &child); });
    EXPECT_EQ(own.result(), E_INVALIDARG);
    EXPECT_FALSE(own.errorInfo());
}

TEST(HostFaults, TheTwoInterfacesOfAChannelFailApart) {
    auto channel = makeHostObject<ChannelObject>(8);
    channel->failMethod<HostChannelControl>(10, HostFault(E_FAIL));
    LONG length = 0;
    EXPECT_EQ(channel->GetBufferLength(&length), S_OK) << "HostChannel's own method 10";
    EXPECT_EQ(channel->SetControlText(Bstr("x").get()), E_FAIL);
    EXPECT_EQ(channel->callCount(10), 1);
    EXPECT_EQ(channel->callCount<HostChannelControl>(10), 1);
}

TEST(HostFaults, ChannelsTheGroupHasYetToMakeFailAsSwitchedOn) {
    auto group = makeHostObject<ChannelGroupObject>();
    group->addChannel(1);
    group->failNewChannels(22, HostFault(E_OUTOFMEMORY));
    group->failNewChannels<HostChannelControl>(7, HostFault(E_UNEXPECTED));
    const ChannelPtr made = group->addChannel(2);
    VARIANT_BOOL used = VARIANT_FALSE;
    EXPECT_EQ(made->GetUsed(&used), E_OUTOFMEMORY);
    EXPECT_EQ(made->Activate(VARIANT_TRUE), E_UNEXPECTED);
    EXPECT_EQ(group->findById(1)->GetUsed(&used), S_OK) << "channels made before are left alone";
    group->clearNewChannelFaults();
    EXPECT_EQ(group->addChannel(3)->GetUsed(&used), S_OK);
}

TEST(HostFlags, AnswerAnySixteenBitValueButTakeOnlyTheTwoProperOnes) {
    using Get = HRESULT (ChannelObject::*)(VARIANT_BOOL*);
    using Set = HRESULT (ChannelObject::*)(VARIANT_BOOL);
    struct Flag {
        const char* name;
        HostFlag ChannelSettings::*field;
        Get get;
        Set set;  // null where the plug-in only reads the flag
    };
    const Flag flags[] = {
        {"used", &ChannelSettings::used, &ChannelObject::GetUsed, &ChannelObject::SetUsed},
        {"stored", &ChannelSettings::stored, &ChannelObject::GetStored, &ChannelObject::SetStored},
        {"asynchronous", &ChannelSettings::asynchronous, &ChannelObject::GetAsynchronousFlag,
         &ChannelObject::SetAsynchronousFlag},
        {"single value", &ChannelSettings::singleValue, &ChannelObject::GetSingleValueFlag,
         &ChannelObject::SetSingleValueFlag},
        {"24", &ChannelSettings::flag24, &ChannelObject::GetBool24, &ChannelObject::SetBool25},
        {"125", &ChannelSettings::flag125, &ChannelObject::GetBool125, nullptr},
    };
    const VARIANT_BOOL values[] = {0, VARIANT_TRUE, 1, 0x7FFF, static_cast<VARIANT_BOOL>(0x8000)};
    for (const Flag& flag : flags) {
        auto channel = makeHostObject<ChannelObject>(8);
        for (const VARIANT_BOOL value : values) {
            channel->settings().*flag.field = HostFlag::answering(value);
            VARIANT_BOOL answered = 0x1234;
            ASSERT_EQ((channel.get()->*flag.get)(&answered), S_OK) << flag.name;
            EXPECT_EQ(answered, value) << flag.name << ": answered as held";
            EXPECT_EQ(static_cast<bool>(channel->settings().*flag.field), value != 0) << "the host's own reading";
        }
        if (flag.set == nullptr) continue;
        channel->settings().*flag.field = false;
        for (const VARIANT_BOOL value : {VARIANT_BOOL{1}, VARIANT_BOOL{0x7FFF}})
            EXPECT_EQ((channel.get()->*flag.set)(value), E_INVALIDARG) << flag.name << " " << value;
        EXPECT_FALSE(channel->settings().*flag.field) << flag.name << ": a refused flag changes nothing";
        EXPECT_EQ((channel.get()->*flag.set)(VARIANT_TRUE), S_OK);
        EXPECT_EQ((channel->settings().*flag.field).answer(), VARIANT_TRUE) << flag.name;
    }

    auto data = makeHostObject<AcquisitionDataObject>(makeHostObject<ChannelGroupObject>());
    data->retainChannels = HostFlag::answering(1);
    VARIANT_BOOL retain = 0;
    EXPECT_EQ(data->GetRetainChannels(&retain), S_OK);
    EXPECT_EQ(retain, 1);
}

}  // namespace

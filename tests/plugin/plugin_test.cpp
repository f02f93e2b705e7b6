// The plug-in's own methods: the answer-only slots, Initialize with its
// host chain and version check, the acquisition methods and NewSetup.
#include "host/objects/host_clock.h"
#include "support/plugin_test_support.h"

namespace plugin_test {
namespace {

// Slots counted from 0 with IUnknown's and IDispatch's seven methods.
constexpr int initializeSlot = 7;
constexpr int readDataSlot = 12;
constexpr int readData3Slot = 36;
// A failure no code path of the plug-in produces by itself.
const HRESULT hostFailure = static_cast<HRESULT>(0x80040201u);

TEST_F(PluginTest, AnswerOnlySlotsWriteTheHostsConstantsAtTheirPositions) {
    IUnknown* object = plugin.plugin().get();
    VARIANT_BOOL flag = -1;
    EXPECT_EQ(callSlot(object, 20, LONG{5}, &flag), S_OK);
    EXPECT_EQ(flag, 1) << "the flags are 1, not VARIANT_TRUE";
    flag = -1;
    EXPECT_EQ(callSlot(object, 23, &flag), S_OK);
    EXPECT_EQ(flag, 1);
    LONG value = 0;
    EXPECT_EQ(callSlot(object, 35, &value), S_OK);
    EXPECT_EQ(value, 7);
    flag = 5;
    EXPECT_EQ(callSlot(object, 38, &flag), S_OK);
    EXPECT_EQ(flag, 0);
    flag = -1;
    EXPECT_EQ(callSlot(object, 44, LONG{0}, &flag), S_OK);
    EXPECT_EQ(flag, 1);

    for (int slot : {11, 13, 14, 15, 16, 17, 21, 22, 24, 25, 28, 29, 30, 31, 32, 33, 34, 37, 39, 40, 41, 42, 43, 45})
        EXPECT_EQ(callSlot(object, slot), S_OK) << "slot " << slot;
}

TEST_F(PluginTest, NamedSlotsSitWhereTheHostCallsThem) {
    IUnknown* object = plugin.plugin().get();
    // Without Initialize there is no host to read the time from.
    EXPECT_EQ(callSlot(object, readDataSlot), E_POINTER);
    EXPECT_EQ(callSlot(object, readData3Slot), E_POINTER);
    EXPECT_EQ(callSlot(object, initializeSlot, static_cast<HostApp*>(app.get())), S_OK);
    EXPECT_EQ(callSlot(object, readDataSlot), S_OK);
    EXPECT_EQ(callSlot(object, readData3Slot), S_OK);
}

struct VersionCase {
    LONG major;
    LONG servicePack;
    HRESULT answer;
};

class HostVersionTest : public PluginTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(HostVersionTest, OnlyX3Sp4OrNewerIsAccepted) {
    const VersionCase& version = GetParam();
    app->setVersion({-1, version.major, version.servicePack, 0, 0});
    EXPECT_EQ(initialize(), version.answer);
    if (version.answer == S_OK) {
        EXPECT_TRUE(app->reportedErrors().empty());
    } else {
        EXPECT_EQ(app->reportedErrors(), std::vector<std::string>{"Kite3 Plugin \"Vexa\" needs Nerova X3 SP4 or newer."});
    }
    // Either way the plug-in is bound to the host.
    EXPECT_EQ(plugin.readData(), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Boundary, HostVersionTest,
                         ::testing::Values(VersionCase{3, 3, E_ABORT}, VersionCase{3, 4, S_OK},
                                           VersionCase{4, 0, S_OK}, VersionCase{2, 9, E_ABORT},
                                           VersionCase{3, -1, E_ABORT}),
                         [](const auto& instance) {
                             const LONG sp = instance.param.servicePack;
                             return "Major" + std::to_string(instance.param.major) + "Sp" +
                                    (sp < 0 ? std::string("Unset") : std::to_string(sp));
                         });

TEST_F(PluginTest, AMissingObjectOnTheWayToTheChannelGroupIsEPointer) {
    EXPECT_EQ(plugin.initialize(nullptr), E_POINTER);

    auto data = app->dataObject();
    auto model = data->modelObject();
    app->setData(nullptr);
    EXPECT_EQ(initialize(), E_POINTER);
    app->setData(ComPtr<HostData>(data.get()));
    data->setModel(nullptr);
    EXPECT_EQ(initialize(), E_POINTER);
    data->setModel(ComPtr<HostDataModel>(model.get()));
    model->setGroupItem(nullptr);
    EXPECT_EQ(initialize(), E_POINTER);
    model->setGroupItem(ComPtr<IUnknown>(app->clock().get()));
    EXPECT_EQ(initialize(), E_POINTER) << "an item without a channel group";
    model->setGroupItem(ComPtr<IUnknown>(model->channelGroup().get()));
    EXPECT_EQ(initialize(), S_OK);
    EXPECT_TRUE(app->reportedErrors().empty()) << "COM errors keep their result and are not reported";
}

TEST_F(PluginTest, InitializeAsksForTheLogFolderAndKeepsHostReferencesUntilRelease) {
    const ULONG appReferences = app->referenceCount();
    const ULONG groupReferences = app->dataObject()->modelObject()->channelGroup()->referenceCount();
    const ULONG dataReferences = app->dataObject()->referenceCount();
    ASSERT_EQ(initialize(), S_OK);
    EXPECT_EQ(app->callCount(146), 1) << "the log folder (kind 1; other kinds fail)";
    EXPECT_GT(app->referenceCount(), appReferences);
    EXPECT_GT(app->dataObject()->modelObject()->channelGroup()->referenceCount(), groupReferences);

    plugin = PluginDriver(loadedModule().createPlugin());
    EXPECT_EQ(app->referenceCount(), appReferences);
    EXPECT_EQ(app->dataObject()->modelObject()->channelGroup()->referenceCount(), groupReferences);
    EXPECT_EQ(app->dataObject()->referenceCount(), dataReferences) << "the chain's inner objects are released";
}

TEST_F(PluginTest, AFailingHostCallAnswersItsOwnResult) {
    app->failMethod(161, E_UNEXPECTED);
    EXPECT_EQ(initialize(), E_UNEXPECTED);
    app->failMethod(161, S_OK);
    ASSERT_EQ(initialize(), S_OK);
    app->clock()->failMethod(7, hostFailure);
    EXPECT_EQ(plugin.readData(), hostFailure);
    EXPECT_TRUE(app->reportedErrors().empty());
}

TEST_F(PluginTest, ReadDataTakesTheHostTimeOncePerStep) {
    ASSERT_EQ(initialize(), S_OK);
    EXPECT_EQ(plugin.prepareAcquisition(), S_OK);
    EXPECT_EQ(plugin.startAcquisition(), S_OK);
    for (int step = 1; step <= 3; ++step) {
        app->clock()->setTime(step * 0.5);
        EXPECT_EQ(plugin.readData(), S_OK);
    }
    EXPECT_EQ(plugin.stopAcquisition(), S_OK);
    EXPECT_EQ(app->clock()->callCount(7), 3);

    app->setTimeSource(nullptr);
    EXPECT_EQ(plugin.readData(), E_POINTER);
    EXPECT_EQ(plugin.plugin()->StartAcquisition(), S_OK) << "the IPlugin2 form acts like the IPlugin3 one";
    EXPECT_EQ(plugin.plugin()->StopAcquisition(), S_OK);
}

TEST_F(PluginTest, NewSetupClosesEachSetupLoadItOpens) {
    ASSERT_EQ(initialize(), S_OK);
    // A load left open would make the next one fail and be reported.
    EXPECT_EQ(plugin.newSetup(), S_OK);
    EXPECT_EQ(plugin.newSetup(), S_OK);
    EXPECT_EQ(plugin.detachOutputChannels(), S_OK);
    EXPECT_TRUE(app->reportedErrors().empty());
}

}  // namespace
}  // namespace plugin_test

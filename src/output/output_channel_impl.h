// The only output channel: one host channel, the plug-in's automatic name,
// unit and colour, the channel's part of the setup and the add-data
// strategy that follows the host's state.
#pragma once

#include <initializer_list>
#include <memory>

#include "output/add_data.h"
#include "output/output_channel.h"
#include "output/properties.h"
#include "contract/host_app.h"

namespace Nerova::Utils::Ncom::OutputChannel {

class OutputFactoryImpl;

class OutputChannelImpl final : public OutputChannel {
public:
    // A key the factory has not set yet.
    static constexpr OutputChannelKey noKey = 0xFFFFFFFF;

    OutputChannelImpl(OutputFactoryImpl* factory, vexa::ComPtr<HostApp> app) noexcept
        : factory_(factory), app_(std::move(app)) {}
    OutputChannelImpl(const OutputChannelImpl&) = delete;
    OutputChannelImpl& operator=(const OutputChannelImpl&) = delete;

    std::string getIndexPath() const override;
    OutputChannelKey getKey() const override { return key_; }
    OutputChannelType getType() const override;
    void setHostName(const std::string& name) override;
    std::string getHostName() const override;
    void setText41(const std::string& text) override;
    std::string getText40() const override;
    void setControlText(const std::string& text) override;
    std::string getText199() const override;
    std::string getText201() const override;
    void setHostUnit(const std::string& unit) override;
    std::string getHostUnit() const override;
    void setUsed(bool used) override;
    bool isUsed() const override;
    void setFlag25(bool flag) override;
    bool getFlag24() const override;
    void setStored(bool stored) override;
    bool isStored() const override;
    void setHostColor(std::uint32_t rgb) override;
    std::uint32_t getHostColor() const override;
    void setDouble68(double value) override;
    double getDouble67() const override;
    void setDouble70(double value) override;
    double getDouble69() const override;
    void setFloat64(float value) override;
    float getFloat63() const override;
    void setFloat66(float value) override;
    float getFloat65() const override;
    void setInteger73(std::int32_t value) override;
    std::int32_t getInteger38() const override;
    std::int32_t valuesPerSample() const override;
    void setOutputParameter(std::int32_t value) override;
    std::int32_t getOutputParameter() const override;
    void setInteger76(std::int32_t value) override;
    std::int32_t getInteger75() const override;

    void addEntry(const EntryDescription& entry) override;
    void addOrUpdateEntry(const EntryDescription& entry) override;
    EntryLookup getEntryById(std::uint32_t id) const override;
    void removeEntryById(std::uint32_t id) override;
    void removeEntry(std::uint32_t index) override;
    void setEntry(std::uint32_t index, const EntryDescription& entry) override;
    void setEntries(const std::vector<EntryDescription>& entries) override;
    std::vector<EntryDescription> getEntries() const override;
    void clearEntries() override;
    std::uint32_t entryCount() const override;

    void setName(const std::string& name) override;
    bool isAutomaticName() const override;
    void setUnit(const std::string& unit) override;
    bool isAutomaticUnit() const override;
    void setColor(std::uint32_t rgb) override;
    bool isAutomaticColor() const override;
    void setLocalFlag(bool flag) override { localFlag_ = flag; }
    bool getLocalFlag() const override { return localFlag_; }

    void setArrayDimensions(const std::vector<std::int32_t>& dimensions) override;
    void setFloat132(float value) override;
    float getFloat131() const override;
    void setInteger175(std::int32_t value) override;
    std::int32_t getInteger174() const override;
    void defineArrayAxis(const Utils::AxisProperties& axis) override;
    void defineArrayAxis(const Utils::AxisProperties& axis, bool flag) override;
    void defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second) override;
    void defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second,
                         bool flag) override;
    bool getFlag125() const override;
    std::int32_t arraySize() const override;
    vexa::ComPtr<HostArrayDescription> getArrayDescription() const override;
    bool getArrayFlag() const override;
    std::vector<vexa::ComPtr<HostAxis>> getArrayAxes() const override;

    const Utils::Properties& getProperties() const override { return properties_; }
    Utils::Properties& getProperties() override { return properties_; }

    void refreshIndexPath(Serialization::Node& node) override;
    void saveSetup(Serialization::Node& node) override;

    double lastValue() const override;
    void setValue(const void* data, std::size_t size) override;
    void setArrayValue(const void* data, std::size_t size) override;
    void addSample(const void* data, std::size_t size) override;
    void addTimedArraySample(const void* data, std::size_t size, double time) override;
    void addTimedSample(const void* data, std::size_t size, double time) override;
    void addTimedBinarySample(const void* data, std::size_t size, double time) override;
    double samplesToSeconds(std::uint64_t count) const override;

    // Used by the factory.
    void setKey(OutputChannelKey key) noexcept { key_ = key; }
    // Attaches (or with an empty reference detaches) the host channel:
    // pushes the automatic name, unit and colour, binds the properties and
    // chooses the strategy.
    void setHostChannel(vexa::ComPtr<HostChannel> channel);
    const vexa::ComPtr<HostChannel>& hostChannel() const noexcept { return hostChannel_; }
    void loadSetup(Serialization::Node& node, OutputChannelKey key, vexa::ComPtr<HostChannel> channel);
    // Tells a synchronous channel where the acquisition stands, in samples.
    void alignBufferPosition(std::int64_t position);
    void activate();
    // Chooses the add-data strategy for the host's current state.
    void refreshAddData();

private:
    HostChannel* host() const;
    vexa::ComPtr<HostEntryList> entryList() const;
    vexa::ComPtr<HostEntry> entryAt(std::uint32_t index) const;
    // The index of the first entry with that id, or -1.
    LONG findEntry(std::uint32_t id) const;
    IAddData& strategy() const;
    void defineAxes(std::initializer_list<const Utils::AxisProperties*> axes, bool flag);
    // The host channel writes or reads its own settings at `node`.
    void serializeHostSettings(Serialization::Node& node, bool saving);
    // Reads the automatic flags, lets the host read its settings and takes
    // the host's values for the automatic ones.
    void readSettings(Serialization::Node& node);

    OutputChannelKey key_ = noKey;
    vexa::ComPtr<HostChannel> hostChannel_;
    OutputFactoryImpl* factory_;
    vexa::ComPtr<HostApp> app_;
    std::unique_ptr<IAddData> addData_;
    std::string automaticName_ = "Channel";
    std::string automaticUnit_;
    std::uint32_t automaticColor_ = 65535;
    bool localFlag_ = false;
    Utils::PropertiesImpl properties_;
};

}  // namespace Nerova::Utils::Ncom::OutputChannel

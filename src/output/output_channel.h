// The plug-in's handle on one host output channel, as the device link and
// the windows see it. Texts are UTF-8 here and BSTRs at the host.
// Properties whose meaning is the host's are named after their type and
// the host's method number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/output_types.h"
#include "platform/com_ptr.h"
#include "contract/host_channels.h"

namespace Nerova::Utils::Serialization {
class Node;
}

namespace Nerova::Utils::Ncom::Utils {
class AxisProperties;
class Properties;
}  // namespace Nerova::Utils::Ncom::Utils

namespace Nerova::Utils::Ncom::OutputChannel {

class OutputChannel {
public:
    virtual ~OutputChannel() = default;

    // The host's index path of the channel as list text ("a:b;c").
    virtual std::string getIndexPath() const = 0;
    virtual OutputChannelKey getKey() const = 0;
    virtual OutputChannelType getType() const = 0;
    virtual void setHostName(const std::string& name) = 0;
    virtual std::string getHostName() const = 0;
    virtual void setText41(const std::string& text) = 0;
    virtual std::string getText40() const = 0;
    virtual void setControlText(const std::string& text) = 0;
    virtual std::string getText199() const = 0;
    virtual std::string getText201() const = 0;
    virtual void setHostUnit(const std::string& unit) = 0;
    virtual std::string getHostUnit() const = 0;
    virtual void setUsed(bool used) = 0;
    virtual bool isUsed() const = 0;
    virtual void setFlag25(bool flag) = 0;
    virtual bool getFlag24() const = 0;
    virtual void setStored(bool stored) = 0;
    virtual bool isStored() const = 0;
    // Writes the host colour and leaves the automatic colour alone.
    virtual void setHostColor(std::uint32_t rgb) = 0;
    virtual std::uint32_t getHostColor() const = 0;
    virtual void setDouble68(double value) = 0;
    virtual double getDouble67() const = 0;
    virtual void setDouble70(double value) = 0;
    virtual double getDouble69() const = 0;
    virtual void setFloat64(float value) = 0;
    virtual float getFloat63() const = 0;
    virtual void setFloat66(float value) = 0;
    virtual float getFloat65() const = 0;
    virtual void setInteger73(std::int32_t value) = 0;
    virtual std::int32_t getInteger38() const = 0;
    virtual std::int32_t valuesPerSample() const = 0;
    virtual void setOutputParameter(std::int32_t value) = 0;
    virtual std::int32_t getOutputParameter() const = 0;
    virtual void setInteger76(std::int32_t value) = 0;
    virtual std::int32_t getInteger75() const = 0;

    // The host channel's entry list. Indices past the end throw
    // std::out_of_range "Index out of bounds".
    virtual void addEntry(const EntryDescription& entry) = 0;
    // Updates the first entry with the same id, or appends one.
    virtual void addOrUpdateEntry(const EntryDescription& entry) = 0;
    virtual EntryLookup getEntryById(std::uint32_t id) const = 0;
    virtual void removeEntryById(std::uint32_t id) = 0;
    virtual void removeEntry(std::uint32_t index) = 0;
    virtual void setEntry(std::uint32_t index, const EntryDescription& entry) = 0;
    virtual void setEntries(const std::vector<EntryDescription>& entries) = 0;
    virtual std::vector<EntryDescription> getEntries() const = 0;
    virtual void clearEntries() = 0;
    virtual std::uint32_t entryCount() const = 0;

    // Automatic name, unit and colour: the plug-in's own choice reaches the
    // host only while the host still shows the previous automatic value,
    // so that what the user changed in the host stays.
    virtual void setName(const std::string& name) = 0;
    virtual bool isAutomaticName() const = 0;
    virtual void setUnit(const std::string& unit) = 0;
    virtual bool isAutomaticUnit() const = 0;
    virtual void setColor(std::uint32_t rgb) = 0;
    virtual bool isAutomaticColor() const = 0;
    virtual void setLocalFlag(bool flag) = 0;
    virtual bool getLocalFlag() const = 0;

    // Arrays: the dimensions of a two-level array sample.
    virtual void setArrayDimensions(const std::vector<std::int32_t>& dimensions) = 0;
    virtual void setFloat132(float value) = 0;
    virtual float getFloat131() const = 0;
    virtual void setInteger175(std::int32_t value) = 0;
    virtual std::int32_t getInteger174() const = 0;
    virtual void defineArrayAxis(const Utils::AxisProperties& axis) = 0;
    virtual void defineArrayAxis(const Utils::AxisProperties& axis, bool flag) = 0;
    virtual void defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second) = 0;
    virtual void defineArrayAxes(const Utils::AxisProperties& first, const Utils::AxisProperties& second,
                                 bool flag) = 0;
    virtual bool getFlag125() const = 0;
    // Values per array sample.
    virtual std::int32_t arraySize() const = 0;
    virtual vexa::ComPtr<HostArrayDescription> getArrayDescription() const = 0;
    virtual bool getArrayFlag() const = 0;
    virtual std::vector<vexa::ComPtr<HostAxis>> getArrayAxes() const = 0;

    virtual const Utils::Properties& getProperties() const = 0;
    virtual Utils::Properties& getProperties() = 0;

    // After the host reloaded its channels: points the stored index path
    // at the channel's current place and takes the settings again.
    virtual void refreshIndexPath(Serialization::Node& node) = 0;
    // Writes the channel's settings into its "Output" element.
    virtual void saveSetup(Serialization::Node& node) = 0;

    // Samples go through the current add-data strategy; a channel without a
    // host channel has none and must not be given data.
    virtual double lastValue() const = 0;
    virtual void setValue(const void* data, std::size_t size) = 0;
    virtual void setArrayValue(const void* data, std::size_t size) = 0;
    virtual void addSample(const void* data, std::size_t size) = 0;
    virtual void addTimedArraySample(const void* data, std::size_t size, double time) = 0;
    virtual void addTimedSample(const void* data, std::size_t size, double time) = 0;
    virtual void addTimedBinarySample(const void* data, std::size_t size, double time) = 0;
    // `count` samples at the acquisition's sample rate.
    virtual double samplesToSeconds(std::uint64_t count) const = 0;

protected:
    OutputChannel() = default;
    OutputChannel(const OutputChannel&) = default;
    OutputChannel& operator=(const OutputChannel&) = default;
};

}  // namespace Nerova::Utils::Ncom::OutputChannel

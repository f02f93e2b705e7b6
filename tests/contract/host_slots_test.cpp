// Each host method we declare is called through a raw table of recording
// stubs: the slot it reaches must be the host's number for it, as the host
// documents it (counted from 0 with IUnknown's three methods).
#include <gtest/gtest.h>

#include "contract/host_app.h"
#include "contract/host_channels.h"
#include "contract/host_data.h"
#include "contract/host_xml.h"
#include "support/raw_com.h"

namespace {

// The slot a call of `method` reaches; the stubs ignore the arguments.
template <class I, class... A>
int slotOf(HRESULT (STDMETHODCALLTYPE I::*method)(A...)) {
    raw::World world;
    raw::Object& object = world.make("object");
    (object.as<I>()->*method)(A{}...);
    return world.calls().size() == 1 ? world.calls()[0].slot : -1;
}

#define SLOT(Interface, Method, number) EXPECT_EQ(slotOf(&Interface::Method), number) << #Interface "::" #Method;

TEST(HostSlots, HostApplicationMethodsSitAtTheHostsNumbers) {
    SLOT(HostApp, GetData, 7) SLOT(HostApp, GetHostMode, 57) SLOT(HostApp, GetTimeSource, 59)
    SLOT(HostApp, ReportError, 84) SLOT(HostApp, IsSetupMode, 111) SLOT(HostApp, GetFolder, 146)
    SLOT(HostApp, GetVersion, 161)
    SLOT(HostTimeSource, GetTime, 7)
    SLOT(HostData, GetModel, 7) SLOT(HostData, GetBlockCount, 10) SLOT(HostData, GetBlockGeometry, 11)
    SLOT(HostData, RefreshPluginChannels, 34) SLOT(HostData, GetSampleRate, 44) SLOT(HostData, FindChannel, 56)
    SLOT(HostData, GetRetainChannels, 58)
    SLOT(HostDataModel, GetItem, 8)
    SLOT(HostChannelGroup, RemoveChannel, 16) SLOT(HostChannelGroup, CreateChannels, 18)
    SLOT(HostChannelGroup, GroupChannels, 21)
}

TEST(HostSlots, HostDocumentsMethodsSitAtTheHostsNumbers) {
    SLOT(HostXmlDocument, GetRootElement, 7) SLOT(HostXmlDocument, CreateElement, 9)
    SLOT(HostXmlDocument, WriteValue, 16) SLOT(HostXmlDocument, ReadValue, 17)
    SLOT(HostXmlDocument, GetMode, 19) SLOT(HostXmlDocument, SetMode, 20)
    SLOT(HostXmlDocument, GetElementName, 26) SLOT(HostXmlDocument, GetElementText, 27)
    SLOT(HostXmlElement, SetText, 7) SLOT(HostXmlElement, AppendChild, 8) SLOT(HostXmlElement, RemoveChild, 9)
    SLOT(HostXmlElement, ClearChildren, 10) SLOT(HostXmlElement, FindChild, 11)
    SLOT(HostXmlElement, GetChild, 12) SLOT(HostXmlElement, GetChildCount, 13)
    SLOT(HostXmlElement, GetParent, 14) SLOT(HostXmlElement, GetRelated, 15)
    SLOT(HostXmlElement, AddAttribute, 16) SLOT(HostXmlElement, RemoveAttribute, 17)
    SLOT(HostXmlElement, FindAttribute, 18) SLOT(HostXmlElement, GetAttribute, 19)
    SLOT(HostXmlElement, GetAttributeCount, 20) SLOT(HostXmlElement, ClearAttributes, 21)
    SLOT(HostXmlElement, GetName, 22) SLOT(HostXmlElement, GetText, 23)
}

TEST(HostSlots, HostChannelsMethodsSitAtTheHostsNumbers) {
    SLOT(HostChannel, GetBufferLength, 10) SLOT(HostChannel, GetWritePosition, 12)
    SLOT(HostChannel, GetName, 19) SLOT(HostChannel, SetName, 20) SLOT(HostChannel, GetUsed, 22)
    SLOT(HostChannel, SetUsed, 23) SLOT(HostChannel, GetBool24, 24) SLOT(HostChannel, SetBool25, 25)
    SLOT(HostChannel, GetDataType, 29) SLOT(HostChannel, GetValueSize, 30)
    SLOT(HostChannel, GetAsynchronousFlag, 31) SLOT(HostChannel, GetInteger38, 38)
    SLOT(HostChannel, GetText40, 40) SLOT(HostChannel, SetText41, 41) SLOT(HostChannel, GetUnit, 42)
    SLOT(HostChannel, SetUnit, 43) SLOT(HostChannel, GetOutputParameter, 46)
    SLOT(HostChannel, SetOutputParameter, 47) SLOT(HostChannel, GetColor, 51) SLOT(HostChannel, SetColor, 52)
    SLOT(HostChannel, GetFloat63, 63) SLOT(HostChannel, SetFloat64, 64) SLOT(HostChannel, GetFloat65, 65)
    SLOT(HostChannel, SetFloat66, 66) SLOT(HostChannel, GetDouble67, 67) SLOT(HostChannel, SetDouble68, 68)
    SLOT(HostChannel, GetDouble69, 69) SLOT(HostChannel, SetDouble70, 70)
    SLOT(HostChannel, AdvanceWritePosition, 71) SLOT(HostChannel, SetInteger73, 73)
    SLOT(HostChannel, GetInteger75, 75) SLOT(HostChannel, SetInteger76, 76)
    SLOT(HostChannel, SetBufferOffset, 78) SLOT(HostChannel, GetValuesPerSample, 83)
    SLOT(HostChannel, GetEntryList, 86) SLOT(HostChannel, SetDataType, 89)
    SLOT(HostChannel, GetSingleValueFlag, 98) SLOT(HostChannel, SetAsynchronousFlag, 108)
    SLOT(HostChannel, SetSingleValueFlag, 109) SLOT(HostChannel, GetStored, 112)
    SLOT(HostChannel, SetStored, 113) SLOT(HostChannel, SerializeSettings, 123)
    SLOT(HostChannel, GetArrayDescription, 124) SLOT(HostChannel, GetBool125, 125)
    SLOT(HostChannel, SetCarriesArrays, 126) SLOT(HostChannel, GetArraySize, 127)
    SLOT(HostChannel, GetFloat131, 131) SLOT(HostChannel, SetFloat132, 132)
    SLOT(HostChannel, SetInteger138, 138) SLOT(HostChannel, SetInteger140, 140)
    SLOT(HostChannel, SetDimensions, 142) SLOT(HostChannel, ScaleValue, 156)
    SLOT(HostChannel, GetIndexPath, 160) SLOT(HostChannel, AddTimedBinarySample, 173)
    SLOT(HostChannel, GetInteger174, 174) SLOT(HostChannel, SetInteger175, 175)
    SLOT(HostChannel, GetSampleBuffer, 184) SLOT(HostChannel, GetTimeBuffer, 185)
    SLOT(HostChannel, GetProperties, 188) SLOT(HostChannel, GetText199, 199) SLOT(HostChannel, GetText201, 201)
    SLOT(HostChannelControl, Activate, 7) SLOT(HostChannelControl, SetControlText, 10)
    SLOT(HostChannelControl, MarkRetained, 14)
    SLOT(HostEntryList, GetCount, 7) SLOT(HostEntryList, RemoveAt, 9) SLOT(HostEntryList, GetAt, 10)
    SLOT(HostEntryList, Append, 11)
    SLOT(HostEntry, GetId, 7) SLOT(HostEntry, SetId, 8) SLOT(HostEntry, GetName, 9)
    SLOT(HostEntry, SetName, 10) SLOT(HostEntry, GetValue, 11) SLOT(HostEntry, SetValue, 12)
    SLOT(HostPropertyCollection, AddProperty, 12) SLOT(HostPropertyCollection, FindProperty, 13)
    SLOT(HostArrayDescription, GetAxis, 7) SLOT(HostArrayDescription, GetAxisCount, 8)
    SLOT(HostArrayDescription, SetAxisCount, 9) SLOT(HostArrayDescription, SetAxisSize, 11)
    SLOT(HostArrayDescription, Commit, 12) SLOT(HostArrayDescription, SetFlag, 19)
    SLOT(HostAxis, SetType, 8) SLOT(HostAxis, SetStart, 10) SLOT(HostAxis, SetStep, 12)
    SLOT(HostAxis, SetValue, 14) SLOT(HostAxis, SetLabel, 16) SLOT(HostAxis, SetName, 19)
    SLOT(HostAxis, SetUnit, 21) SLOT(HostAxis, SetPrecision, 23) SLOT(HostAxis, GetOptions, 26)
    SLOT(HostAxisOptions, SetKind, 8) SLOT(HostAxisOptions, SetFlag, 10)
}

}  // namespace

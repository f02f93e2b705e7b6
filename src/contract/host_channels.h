// A host output channel and the host objects reached through it. Every slot
// up to the last one the plug-in uses is declared, unused ones as
// placeholders; each comment gives the host's method number (counted from 0
// with IUnknown's three methods). Properties whose meaning is the host's are
// named after their type and number.
#pragma once

#include "contract/host_slots.h"
#include "platform/com.h"

struct HostXmlDocument;
struct HostEntryList;
struct HostArrayDescription;
struct HostPropertyCollection;

struct HostChannel : IDispatch {
    VEXA_UNUSED_SLOTS(HostChannel, 7, 9)
    virtual HRESULT STDMETHODCALLTYPE GetBufferLength(LONG* samples) = 0;   // 10
    VEXA_UNUSED_SLOTS(HostChannel, 11, 11)
    virtual HRESULT STDMETHODCALLTYPE GetWritePosition(LONG* position) = 0;  // 12
    VEXA_UNUSED_SLOTS(HostChannel, 13, 18)
    virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;              // 19
    virtual HRESULT STDMETHODCALLTYPE SetName(BSTR name) = 0;               // 20
    VEXA_UNUSED_SLOTS(HostChannel, 21, 21)
    virtual HRESULT STDMETHODCALLTYPE GetUsed(VARIANT_BOOL* used) = 0;      // 22
    virtual HRESULT STDMETHODCALLTYPE SetUsed(VARIANT_BOOL used) = 0;       // 23
    virtual HRESULT STDMETHODCALLTYPE GetBool24(VARIANT_BOOL* value) = 0;   // 24
    virtual HRESULT STDMETHODCALLTYPE SetBool25(VARIANT_BOOL value) = 0;    // 25
    VEXA_UNUSED_SLOTS(HostChannel, 26, 28)
    virtual HRESULT STDMETHODCALLTYPE GetDataType(LONG* type) = 0;          // 29
    virtual HRESULT STDMETHODCALLTYPE GetValueSize(LONG* bytes) = 0;        // 30
    virtual HRESULT STDMETHODCALLTYPE GetAsynchronousFlag(VARIANT_BOOL* flag) = 0;  // 31
    VEXA_UNUSED_SLOTS(HostChannel, 32, 37)
    virtual HRESULT STDMETHODCALLTYPE GetInteger38(LONG* value) = 0;        // 38
    VEXA_UNUSED_SLOTS(HostChannel, 39, 39)
    virtual HRESULT STDMETHODCALLTYPE GetText40(BSTR* text) = 0;            // 40
    virtual HRESULT STDMETHODCALLTYPE SetText41(BSTR text) = 0;             // 41
    virtual HRESULT STDMETHODCALLTYPE GetUnit(BSTR* unit) = 0;              // 42
    virtual HRESULT STDMETHODCALLTYPE SetUnit(BSTR unit) = 0;               // 43
    VEXA_UNUSED_SLOTS(HostChannel, 44, 45)
    virtual HRESULT STDMETHODCALLTYPE GetOutputParameter(LONG* value) = 0;  // 46
    virtual HRESULT STDMETHODCALLTYPE SetOutputParameter(LONG value) = 0;   // 47
    VEXA_UNUSED_SLOTS(HostChannel, 48, 50)
    virtual HRESULT STDMETHODCALLTYPE GetColor(LONG* rgb) = 0;              // 51
    virtual HRESULT STDMETHODCALLTYPE SetColor(LONG rgb) = 0;               // 52
    VEXA_UNUSED_SLOTS(HostChannel, 53, 62)
    virtual HRESULT STDMETHODCALLTYPE GetFloat63(FLOAT* value) = 0;         // 63
    virtual HRESULT STDMETHODCALLTYPE SetFloat64(FLOAT value) = 0;          // 64
    virtual HRESULT STDMETHODCALLTYPE GetFloat65(FLOAT* value) = 0;         // 65
    virtual HRESULT STDMETHODCALLTYPE SetFloat66(FLOAT value) = 0;          // 66
    virtual HRESULT STDMETHODCALLTYPE GetDouble67(DOUBLE* value) = 0;       // 67
    virtual HRESULT STDMETHODCALLTYPE SetDouble68(DOUBLE value) = 0;        // 68
    virtual HRESULT STDMETHODCALLTYPE GetDouble69(DOUBLE* value) = 0;       // 69
    virtual HRESULT STDMETHODCALLTYPE SetDouble70(DOUBLE value) = 0;        // 70
    virtual HRESULT STDMETHODCALLTYPE AdvanceWritePosition(LONG samples) = 0;  // 71
    VEXA_UNUSED_SLOTS(HostChannel, 72, 72)
    virtual HRESULT STDMETHODCALLTYPE SetInteger73(LONG value) = 0;         // 73
    VEXA_UNUSED_SLOTS(HostChannel, 74, 74)
    virtual HRESULT STDMETHODCALLTYPE GetInteger75(LONG* value) = 0;        // 75
    virtual HRESULT STDMETHODCALLTYPE SetInteger76(LONG value) = 0;         // 76
    VEXA_UNUSED_SLOTS(HostChannel, 77, 77)
    // Where the channel's buffer stands against the acquisition position.
    virtual HRESULT STDMETHODCALLTYPE SetBufferOffset(LONG offset) = 0;     // 78
    VEXA_UNUSED_SLOTS(HostChannel, 79, 82)
    virtual HRESULT STDMETHODCALLTYPE GetValuesPerSample(LONG* count) = 0;  // 83
    VEXA_UNUSED_SLOTS(HostChannel, 84, 85)
    virtual HRESULT STDMETHODCALLTYPE GetEntryList(HostEntryList** list) = 0;  // 86
    VEXA_UNUSED_SLOTS(HostChannel, 87, 88)
    virtual HRESULT STDMETHODCALLTYPE SetDataType(LONG type) = 0;           // 89
    VEXA_UNUSED_SLOTS(HostChannel, 90, 97)
    virtual HRESULT STDMETHODCALLTYPE GetSingleValueFlag(VARIANT_BOOL* flag) = 0;   // 98
    VEXA_UNUSED_SLOTS(HostChannel, 99, 107)
    virtual HRESULT STDMETHODCALLTYPE SetAsynchronousFlag(VARIANT_BOOL flag) = 0;   // 108
    virtual HRESULT STDMETHODCALLTYPE SetSingleValueFlag(VARIANT_BOOL flag) = 0;    // 109
    VEXA_UNUSED_SLOTS(HostChannel, 110, 111)
    virtual HRESULT STDMETHODCALLTYPE GetStored(VARIANT_BOOL* stored) = 0;  // 112
    virtual HRESULT STDMETHODCALLTYPE SetStored(VARIANT_BOOL stored) = 0;   // 113
    VEXA_UNUSED_SLOTS(HostChannel, 114, 122)
    // The channel writes (saving true) or reads its own settings at the
    // element; both VARIANTs hold interface pointers.
    virtual HRESULT STDMETHODCALLTYPE SerializeSettings(VARIANT* document, VARIANT* element,
                                                        VARIANT_BOOL saving) = 0;  // 123
    virtual HRESULT STDMETHODCALLTYPE GetArrayDescription(HostArrayDescription** description) = 0;  // 124
    virtual HRESULT STDMETHODCALLTYPE GetBool125(VARIANT_BOOL* value) = 0;  // 125
    virtual HRESULT STDMETHODCALLTYPE SetCarriesArrays(VARIANT_BOOL arrays) = 0;  // 126
    virtual HRESULT STDMETHODCALLTYPE GetArraySize(LONG* values) = 0;       // 127
    VEXA_UNUSED_SLOTS(HostChannel, 128, 130)
    virtual HRESULT STDMETHODCALLTYPE GetFloat131(FLOAT* value) = 0;        // 131
    virtual HRESULT STDMETHODCALLTYPE SetFloat132(FLOAT value) = 0;         // 132
    VEXA_UNUSED_SLOTS(HostChannel, 133, 137)
    virtual HRESULT STDMETHODCALLTYPE SetInteger138(LONG value) = 0;        // 138
    VEXA_UNUSED_SLOTS(HostChannel, 139, 139)
    virtual HRESULT STDMETHODCALLTYPE SetInteger140(LONG value) = 0;        // 140
    VEXA_UNUSED_SLOTS(HostChannel, 141, 141)
    // `sizes` holds an array of 4-byte integers.
    virtual HRESULT STDMETHODCALLTYPE SetDimensions(VARIANT* sizes) = 0;    // 142
    VEXA_UNUSED_SLOTS(HostChannel, 143, 155)
    // The value as the host scales it for display.
    virtual HRESULT STDMETHODCALLTYPE ScaleValue(DOUBLE value, DOUBLE* scaled) = 0;  // 156
    VEXA_UNUSED_SLOTS(HostChannel, 157, 159)
    // Fills `path` with an array of 4-byte integers.
    virtual HRESULT STDMETHODCALLTYPE GetIndexPath(VARIANT* path) = 0;      // 160
    VEXA_UNUSED_SLOTS(HostChannel, 161, 172)
    // `bytes` holds an array of unsigned bytes.
    virtual HRESULT STDMETHODCALLTYPE AddTimedBinarySample(DOUBLE time, VARIANT* bytes) = 0;  // 173
    virtual HRESULT STDMETHODCALLTYPE GetInteger174(LONG* value) = 0;       // 174
    virtual HRESULT STDMETHODCALLTYPE SetInteger175(LONG value) = 0;        // 175
    VEXA_UNUSED_SLOTS(HostChannel, 176, 183)
    // The base addresses of the host's sample and time-stamp buffers.
    virtual HRESULT STDMETHODCALLTYPE GetSampleBuffer(BYTE** base) = 0;     // 184
    virtual HRESULT STDMETHODCALLTYPE GetTimeBuffer(DOUBLE** base) = 0;     // 185
    VEXA_UNUSED_SLOTS(HostChannel, 186, 187)
    virtual HRESULT STDMETHODCALLTYPE GetProperties(HostPropertyCollection** properties) = 0;  // 188
    VEXA_UNUSED_SLOTS(HostChannel, 189, 198)
    virtual HRESULT STDMETHODCALLTYPE GetText199(BSTR* text) = 0;           // 199
    VEXA_UNUSED_SLOTS(HostChannel, 200, 200)
    virtual HRESULT STDMETHODCALLTYPE GetText201(BSTR* text) = 0;           // 201
};

// A second interface of a host output channel.
struct HostChannelControl : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Activate(VARIANT_BOOL active) = 0;  // 7
    VEXA_UNUSED_SLOTS(HostChannelControl, 8, 9)
    virtual HRESULT STDMETHODCALLTYPE SetControlText(BSTR text) = 0;      // 10
    VEXA_UNUSED_SLOTS(HostChannelControl, 11, 13)
    // Called once on a channel created while the host retains its channels.
    virtual HRESULT STDMETHODCALLTYPE MarkRetained() = 0;                 // 14
};

struct HostEntry : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetId(LONG* id) = 0;         // 7
    virtual HRESULT STDMETHODCALLTYPE SetId(LONG id) = 0;          // 8
    virtual HRESULT STDMETHODCALLTYPE GetName(BSTR* name) = 0;     // 9
    virtual HRESULT STDMETHODCALLTYPE SetName(BSTR name) = 0;      // 10
    virtual HRESULT STDMETHODCALLTYPE GetValue(LONG* value) = 0;   // 11
    virtual HRESULT STDMETHODCALLTYPE SetValue(LONG value) = 0;    // 12
};

struct HostEntryList : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCount(LONG* count) = 0;                  // 7
    VEXA_UNUSED_SLOTS(HostEntryList, 8, 8)
    virtual HRESULT STDMETHODCALLTYPE RemoveAt(LONG index) = 0;                   // 9
    virtual HRESULT STDMETHODCALLTYPE GetAt(LONG index, HostEntry** entry) = 0;   // 10
    virtual HRESULT STDMETHODCALLTYPE Append(HostEntry** entry) = 0;              // 11
};

// Named property documents the host keeps per channel.
struct HostPropertyCollection : IDispatch {
    VEXA_UNUSED_SLOTS(HostPropertyCollection, 7, 11)
    // Creates the document when there is none yet.
    virtual HRESULT STDMETHODCALLTYPE AddProperty(BSTR name, HostXmlDocument** document) = 0;   // 12
    // Null when there is no document of that name.
    virtual HRESULT STDMETHODCALLTYPE FindProperty(BSTR name, HostXmlDocument** document) = 0;  // 13
};

struct HostAxisOptions : IDispatch {
    VEXA_UNUSED_SLOTS(HostAxisOptions, 7, 7)
    virtual HRESULT STDMETHODCALLTYPE SetKind(LONG kind) = 0;           // 8
    VEXA_UNUSED_SLOTS(HostAxisOptions, 9, 9)
    virtual HRESULT STDMETHODCALLTYPE SetFlag(VARIANT_BOOL flag) = 0;   // 10
};

struct HostAxis : IDispatch {
    VEXA_UNUSED_SLOTS(HostAxis, 7, 7)
    virtual HRESULT STDMETHODCALLTYPE SetType(LONG type) = 0;                  // 8
    VEXA_UNUSED_SLOTS(HostAxis, 9, 9)
    virtual HRESULT STDMETHODCALLTYPE SetStart(DOUBLE start) = 0;              // 10
    VEXA_UNUSED_SLOTS(HostAxis, 11, 11)
    virtual HRESULT STDMETHODCALLTYPE SetStep(DOUBLE step) = 0;                // 12
    VEXA_UNUSED_SLOTS(HostAxis, 13, 13)
    virtual HRESULT STDMETHODCALLTYPE SetValue(LONG index, DOUBLE value) = 0;  // 14
    VEXA_UNUSED_SLOTS(HostAxis, 15, 15)
    virtual HRESULT STDMETHODCALLTYPE SetLabel(LONG index, BSTR label) = 0;    // 16
    VEXA_UNUSED_SLOTS(HostAxis, 17, 18)
    virtual HRESULT STDMETHODCALLTYPE SetName(BSTR name) = 0;                  // 19
    VEXA_UNUSED_SLOTS(HostAxis, 20, 20)
    virtual HRESULT STDMETHODCALLTYPE SetUnit(BSTR unit) = 0;                  // 21
    VEXA_UNUSED_SLOTS(HostAxis, 22, 22)
    virtual HRESULT STDMETHODCALLTYPE SetPrecision(LONG digits) = 0;           // 23
    VEXA_UNUSED_SLOTS(HostAxis, 24, 25)
    virtual HRESULT STDMETHODCALLTYPE GetOptions(HostAxisOptions** options) = 0;  // 26
};

// How an array channel's axes are laid out.
struct HostArrayDescription : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetAxis(LONG index, HostAxis** axis) = 0;         // 7
    virtual HRESULT STDMETHODCALLTYPE GetAxisCount(LONG* count) = 0;                    // 8
    virtual HRESULT STDMETHODCALLTYPE SetAxisCount(LONG count) = 0;                     // 9
    VEXA_UNUSED_SLOTS(HostArrayDescription, 10, 10)
    virtual HRESULT STDMETHODCALLTYPE SetAxisSize(LONG index, LONGLONG size) = 0;       // 11
    virtual HRESULT STDMETHODCALLTYPE Commit() = 0;                                     // 12
    VEXA_UNUSED_SLOTS(HostArrayDescription, 13, 18)
    virtual HRESULT STDMETHODCALLTYPE SetFlag(VARIANT_BOOL flag) = 0;                   // 19
};

VEXA_INTERFACE_ID(HostChannel, 0xFD850060, 0x956E, 0x4C18, 0x87, 0xDD, 0x27, 0xD5, 0x88, 0x00, 0x32, 0xF8)
VEXA_INTERFACE_ID(HostChannelControl, 0x318B007D, 0xCBD1, 0x46E5, 0x88, 0x3D, 0xAC, 0x9F, 0x02, 0x29, 0x29, 0xC0)
VEXA_INTERFACE_ID(HostEntryList, 0xCA5BA248, 0x0572, 0x4302, 0x91, 0xAF, 0xB8, 0x88, 0xDA, 0xE4, 0xB7, 0x4E)
VEXA_INTERFACE_ID(HostEntry, 0x52E2766E, 0xF73E, 0x4679, 0x94, 0x4F, 0x8E, 0xA0, 0xA4, 0xAD, 0x10, 0x8B)
VEXA_INTERFACE_ID(HostPropertyCollection, 0x5ECCF9EA, 0x6E60, 0x4379, 0xA6, 0x47, 0xA6, 0x33, 0x56, 0x4A, 0xAE, 0x40)
VEXA_INTERFACE_ID(HostArrayDescription, 0xAF9430BB, 0x8B3E, 0x429F, 0x83, 0xD1, 0xAC, 0xF8, 0x4F, 0x43, 0xEB, 0xE7)
VEXA_INTERFACE_ID(HostAxis, 0x62EE9A53, 0xCECE, 0x4481, 0x83, 0xFA, 0xAB, 0x99, 0x5E, 0x2F, 0x4F, 0xC4)
VEXA_INTERFACE_ID(HostAxisOptions, 0x368622DC, 0x0328, 0x4DA9, 0x9B, 0x97, 0x37, 0xE4, 0xA6, 0x47, 0xB7, 0x0C)

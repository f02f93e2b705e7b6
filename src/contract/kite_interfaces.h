// The Kite toolkit's interfaces, as the plug-in's windows and the host's
// toolkit both see them. They are core-model interfaces: every operation
// answers a status, texts travel as core strings, and positions count from 0
// with the three IUnknown operations. A position is fixed once chosen: the
// toolkit dispatches by position, so a new operation goes at the end of its
// interface and an interface that others derive from never grows.
//
// Every event has an add and a remove operation, side by side, in the order
// the event is listed; a handler is found again on removal by equals().
#pragma once

#include <cstdint>

#include "contract/core_interfaces.h"

namespace Nerova::Kite {

using RT::Core::Bool;
using RT::Core::ErrCode;
using RT::Core::IBaseObject;
using RT::Core::IntfID;
using RT::Core::IString;

// The default namespace of every markup document the toolkit loads.
inline constexpr const char* markupNamespace = "urn:nerova:kite:markup:1";

// A host window reaches the plug-in as the VT_UNKNOWN value of a window
// event's argument. The core IUnknown shares the COM IUnknown's identifier
// and its first three positions, so that pointer is the window's core
// IUnknown: the plug-in asks it for IWindow.

using Int = std::int64_t;
using Float = double;
// A colour as a 32-bit value, passed through unchanged by the plug-in. The
// toolkit reads it as 0x00BBGGRR: the lowest byte is red.
using Color = std::uint32_t;

struct IEventArgs;

// Called by the toolkit for every event it was added to. `sender` is the
// control that raised the event (its own interface, asked again by the
// handler), `args` the event's arguments; either may be null.
struct IEventHandler : IBaseObject {
    static constexpr IntfID Id = {0x5032EB91, 0xE335, 0x45FF, {0x9A, 0x45, 0x10, 0x1D, 0x34, 0x59, 0x98, 0xCA}};
    virtual ErrCode handleEvent(IBaseObject* sender, IEventArgs* args) = 0;  // 8

    // What a handler's toString answers. Not an operation: no position.
    static constexpr const char* typeName() { return "Nerova::Kite::IEventHandler::nvrtType"; }

protected:
    ~IEventHandler() = default;
};

struct IEventArgs : IBaseObject {
    static constexpr IntfID Id = {0xE1FE5A3C, 0x2DE4, 0x4D6C, {0x8C, 0xD2, 0x0F, 0x77, 0x8F, 0x7F, 0x9C, 0x8C}};
    // The event's name as the toolkit knows it, e.g. "Click".
    virtual ErrCode getEventName(IString** name) = 0;  // 8

protected:
    ~IEventArgs() = default;
};

// Anything the toolkit creates by name: controls and timers.
struct IComponent : IBaseObject {
    static constexpr IntfID Id = {0x9B4E9316, 0xC5C9, 0x443D, {0x8D, 0x5A, 0x1C, 0xA3, 0x02, 0xA8, 0xB4, 0x2A}};
    virtual ErrCode getName(IString** name) = 0;  // 8
    virtual ErrCode setName(IString* name) = 0;   // 9

protected:
    ~IComponent() = default;
};

struct IControl : IComponent {
    static constexpr IntfID Id = {0xFB8EB098, 0x4710, 0x4D13, {0x8B, 0xBB, 0xCE, 0x5D, 0x9E, 0xDA, 0x18, 0xD4}};
    // Sizes in pixels; 0 collapses the control.
    virtual ErrCode getWidth(Int* width) = 0;     // 10
    virtual ErrCode setWidth(Int width) = 0;      // 11
    virtual ErrCode getHeight(Int* height) = 0;   // 12
    virtual ErrCode setHeight(Int height) = 0;    // 13
    // A hidden control keeps its place in the tree and its state, and is
    // not drawn.
    virtual ErrCode getHidden(Bool* hidden) = 0;  // 14
    virtual ErrCode setHidden(Bool hidden) = 0;   // 15

protected:
    ~IControl() = default;
};

struct IParentControl : IControl {
    static constexpr IntfID Id = {0xB50773BD, 0x9551, 0x44A1, {0xBA, 0xF3, 0x2E, 0x71, 0xF2, 0x6C, 0x57, 0xFB}};
    virtual ErrCode getChildCount(Int* count) = 0;               // 16
    virtual ErrCode getChild(Int index, IControl** child) = 0;    // 17
    // Searches the whole subtree; no control of that name answers errOk
    // with a null control.
    virtual ErrCode findChild(IString* name, IControl** child) = 0;  // 18

protected:
    ~IParentControl() = default;
};

struct IContentControl : IParentControl {
    static constexpr IntfID Id = {0xFB333A20, 0xAFA5, 0x4132, {0x9B, 0x8B, 0xF7, 0xAF, 0xF8, 0x6E, 0xDD, 0x4A}};
    // Replaces the content with the controls that the markup describes.
    virtual ErrCode loadMarkup(IString* markup) = 0;  // 19

protected:
    ~IContentControl() = default;
};

// A window the host owns and lends to the plug-in to fill. It also answers
// IControlFactory.
struct IWindow : IContentControl {
    static constexpr IntfID Id = {0x3F9FA682, 0x994C, 0x4401, {0x98, 0x5A, 0x9B, 0xBD, 0xDD, 0x3D, 0x80, 0xE5}};
    virtual ErrCode getTitle(IString** title) = 0;  // 20
    virtual ErrCode setTitle(IString* title) = 0;   // 21
    // For a dialog: the result its caller receives.
    virtual ErrCode endDialog(Int result) = 0;  // 22
    virtual ErrCode close() = 0;                // 23
    // Events: opened, closing, closed.
    virtual ErrCode addOpenedHandler(IEventHandler* handler) = 0;      // 24
    virtual ErrCode removeOpenedHandler(IEventHandler* handler) = 0;   // 25
    virtual ErrCode addClosingHandler(IEventHandler* handler) = 0;     // 26
    virtual ErrCode removeClosingHandler(IEventHandler* handler) = 0;  // 27
    virtual ErrCode addClosedHandler(IEventHandler* handler) = 0;      // 28
    virtual ErrCode removeClosedHandler(IEventHandler* handler) = 0;   // 29

protected:
    ~IWindow() = default;
};

struct IControlFactory : IBaseObject {
    static constexpr IntfID Id = {0x10DC4004, 0x7746, 0x4563, {0x81, 0xA7, 0xBB, 0x01, 0xB1, 0x8C, 0x3D, 0xBF}};
    // `typeName` is a markup element name or "Timer"; `name` may be empty.
    virtual ErrCode createControl(IString* typeName, IString* name, IComponent** control) = 0;  // 8

protected:
    ~IControlFactory() = default;
};

struct IButton : IControl {
    static constexpr IntfID Id = {0xC42A93E0, 0x36F0, 0x4358, {0x8C, 0x6B, 0xC8, 0x60, 0x1F, 0xA6, 0x85, 0x4E}};
    virtual ErrCode getLabel(IString** label) = 0;                  // 16
    virtual ErrCode setLabel(IString* label) = 0;                   // 17
    virtual ErrCode addClickHandler(IEventHandler* handler) = 0;     // 18
    virtual ErrCode removeClickHandler(IEventHandler* handler) = 0;  // 19

protected:
    ~IButton() = default;
};

struct IFont : IBaseObject {
    static constexpr IntfID Id = {0x0B3DEC15, 0x9177, 0x4B32, {0xB1, 0xED, 0x89, 0xE9, 0x4F, 0xE6, 0x8D, 0xF5}};
    virtual ErrCode getColor(Color* color) = 0;  // 8
    virtual ErrCode setColor(Color color) = 0;   // 9
    virtual ErrCode getBold(Bool* bold) = 0;     // 10
    virtual ErrCode setBold(Bool bold) = 0;      // 11

protected:
    ~IFont() = default;
};

struct ILabel : IControl {
    static constexpr IntfID Id = {0x86498F5C, 0xEB6C, 0x4152, {0x93, 0x61, 0x36, 0x78, 0x2D, 0x96, 0x69, 0xBA}};
    virtual ErrCode getText(IString** text) = 0;  // 16
    virtual ErrCode setText(IString* text) = 0;   // 17
    // The label's own font: a change shows at once.
    virtual ErrCode getFont(IFont** font) = 0;    // 18

protected:
    ~ILabel() = default;
};

struct ITabControl : IParentControl {
    static constexpr IntfID Id = {0x924A9856, 0x5FDF, 0x4A91, {0x9D, 0x36, 0x34, 0x9C, 0x4B, 0xF9, 0x09, 0xD2}};
    // Appends a tab. Flag bit 0 set: the tab can be selected; clear: it is
    // shown greyed.
    virtual ErrCode addTab(IString* title, Int flags) = 0;  // 19
    virtual ErrCode getTabCount(Int* count) = 0;            // 20
    // -1 when there is no tab.
    virtual ErrCode getSelectedIndex(Int* index) = 0;       // 21
    virtual ErrCode selectTab(Int index) = 0;               // 22
    // Events: selection changed, tab closed.
    virtual ErrCode addSelectionChangedHandler(IEventHandler* handler) = 0;     // 23
    virtual ErrCode removeSelectionChangedHandler(IEventHandler* handler) = 0;  // 24
    virtual ErrCode addTabClosedHandler(IEventHandler* handler) = 0;            // 25
    virtual ErrCode removeTabClosedHandler(IEventHandler* handler) = 0;         // 26

protected:
    ~ITabControl() = default;
};

struct ISearchEdit : IControl {
    static constexpr IntfID Id = {0xD277ED26, 0x80B8, 0x4281, {0x83, 0xC6, 0x15, 0x13, 0x04, 0xFA, 0xC6, 0x1C}};
    virtual ErrCode getText(IString** text) = 0;  // 16
    virtual ErrCode setText(IString* text) = 0;   // 17
    virtual ErrCode addTextChangedHandler(IEventHandler* handler) = 0;     // 18
    virtual ErrCode removeTextChangedHandler(IEventHandler* handler) = 0;  // 19

protected:
    ~ISearchEdit() = default;
};

// Column kinds of a draw grid.
enum class ColumnKind : Int {
    Text = 1,          // read only
    EditableText = 2,  // raises cell input when an edit is committed
    Number = 3,        // read only, drawn from the cell's number
    Button = 5,        // raises cell action when pressed
    CheckBox = 6,      // raises cell action with the new check state
    ColorPick = 7,     // raises cell input with the colour picked
    LiveValue = 9,     // drawn from the live value event
};

struct IDrawGridColumn : IBaseObject {
    static constexpr IntfID Id = {0xF668644B, 0x6F8C, 0x49BE, {0xB9, 0x63, 0x56, 0xC0, 0x44, 0x5E, 0xC0, 0x3B}};
    virtual ErrCode getTitle(IString** title) = 0;  // 8
    virtual ErrCode getKind(Int* kind) = 0;         // 9
    virtual ErrCode getWidth(Int* width) = 0;       // 10
    // Whether the user may drag the column's width; true by default.
    virtual ErrCode getResizable(Bool* resizable) = 0;  // 11
    virtual ErrCode setResizable(Bool resizable) = 0;   // 12

protected:
    ~IDrawGridColumn() = default;
};

// A grid that keeps no cell contents: it asks for every cell it shows
// through its events. Row 0 is the header row and counts in the size.
struct INVDrawGrid : IControl {
    static constexpr IntfID Id = {0x2783F0E7, 0x9F1D, 0x408B, {0x9B, 0x63, 0x91, 0x46, 0xC4, 0x9F, 0x76, 0x36}};
    virtual ErrCode setSize(Int rows, Int columns) = 0;  // 16
    // Flag bit 0 set: the column is shown; clear: it is defined but hidden.
    virtual ErrCode defineColumn(Int index, IString* title, Int kind, Int flags, Int width, IString* key) = 0;  // 17
    // Takes the defined columns into use; until then the grid shows none.
    virtual ErrCode applyColumns() = 0;                                   // 18
    virtual ErrCode getColumn(Int index, IDrawGridColumn** column) = 0;   // 19
    // Whether clicking a header sorts the rows by that column; true by
    // default.
    virtual ErrCode setSortable(Bool sortable) = 0;                       // 20
    // Asks again, through the events, for every cell it shows.
    virtual ErrCode repaint() = 0;                                        // 21
    virtual ErrCode getRowCount(Int* rows) = 0;                           // 22
    virtual ErrCode isRowSelected(Int row, Bool* selected) = 0;           // 23
    // Shows only the rows with a cell whose text contains `text`; `flags`
    // bit 0 makes the match case-sensitive.
    virtual ErrCode search(IString* text, Int flags) = 0;                 // 24

    // Events, in this order: cell click, cell properties, cell double click,
    // live value, header click, cell action, selection changed, cell input,
    // column resized, row moved, key pressed, scrolled, focus changed.
    virtual ErrCode addCellClickHandler(IEventHandler* handler) = 0;              // 25
    virtual ErrCode removeCellClickHandler(IEventHandler* handler) = 0;           // 26
    virtual ErrCode addCellPropertiesHandler(IEventHandler* handler) = 0;         // 27
    virtual ErrCode removeCellPropertiesHandler(IEventHandler* handler) = 0;      // 28
    virtual ErrCode addCellDoubleClickHandler(IEventHandler* handler) = 0;        // 29
    virtual ErrCode removeCellDoubleClickHandler(IEventHandler* handler) = 0;     // 30
    virtual ErrCode addLiveValueHandler(IEventHandler* handler) = 0;              // 31
    virtual ErrCode removeLiveValueHandler(IEventHandler* handler) = 0;           // 32
    virtual ErrCode addHeaderClickHandler(IEventHandler* handler) = 0;            // 33
    virtual ErrCode removeHeaderClickHandler(IEventHandler* handler) = 0;         // 34
    virtual ErrCode addCellActionHandler(IEventHandler* handler) = 0;             // 35
    virtual ErrCode removeCellActionHandler(IEventHandler* handler) = 0;          // 36
    virtual ErrCode addSelectionChangedHandler(IEventHandler* handler) = 0;       // 37
    virtual ErrCode removeSelectionChangedHandler(IEventHandler* handler) = 0;    // 38
    virtual ErrCode addCellInputHandler(IEventHandler* handler) = 0;              // 39
    virtual ErrCode removeCellInputHandler(IEventHandler* handler) = 0;           // 40
    virtual ErrCode addColumnResizedHandler(IEventHandler* handler) = 0;          // 41
    virtual ErrCode removeColumnResizedHandler(IEventHandler* handler) = 0;       // 42
    virtual ErrCode addRowMovedHandler(IEventHandler* handler) = 0;               // 43
    virtual ErrCode removeRowMovedHandler(IEventHandler* handler) = 0;            // 44
    virtual ErrCode addKeyPressedHandler(IEventHandler* handler) = 0;             // 45
    virtual ErrCode removeKeyPressedHandler(IEventHandler* handler) = 0;          // 46
    virtual ErrCode addScrolledHandler(IEventHandler* handler) = 0;               // 47
    virtual ErrCode removeScrolledHandler(IEventHandler* handler) = 0;            // 48
    virtual ErrCode addFocusChangedHandler(IEventHandler* handler) = 0;           // 49
    virtual ErrCode removeFocusChangedHandler(IEventHandler* handler) = 0;        // 50

protected:
    ~INVDrawGrid() = default;
};

// A timer made by a window's control factory. It ticks on the window's
// thread from the moment it is given an interval; it has no stop operation.
struct ITimer : IComponent {
    static constexpr IntfID Id = {0x55C19416, 0xE1E9, 0x4336, {0xAA, 0xF6, 0x16, 0xD4, 0x6C, 0xAB, 0x1A, 0x9C}};
    virtual ErrCode getInterval(Int* milliseconds) = 0;            // 10
    virtual ErrCode setInterval(Int milliseconds) = 0;             // 11
    virtual ErrCode addTickHandler(IEventHandler* handler) = 0;     // 12
    virtual ErrCode removeTickHandler(IEventHandler* handler) = 0;  // 13

protected:
    ~ITimer() = default;
};

// What every grid event carries: the cell it concerns.
struct IDrawGridEventArgs : IEventArgs {
    static constexpr IntfID Id = {0xCE9B4E3C, 0x185D, 0x4F5E, {0x92, 0x2A, 0x13, 0x0F, 0x9F, 0x96, 0x00, 0x78}};
    virtual ErrCode getRow(Int* row) = 0;        // 9
    virtual ErrCode getColumn(Int* column) = 0;  // 10

protected:
    ~IDrawGridEventArgs() = default;
};

// Asked for each cell the grid draws; what the handler sets is drawn.
struct IDrawGridCellPropsArgs : IDrawGridEventArgs {
    static constexpr IntfID Id = {0x1C9D9F69, 0x2430, 0x4822, {0xBF, 0xA0, 0x23, 0x4A, 0x6E, 0x4A, 0x66, 0x43}};
    virtual ErrCode setText(IString* text) = 0;    // 11
    virtual ErrCode setNumber(Float number) = 0;   // 12
    virtual ErrCode setColor(Color color) = 0;     // 13

protected:
    ~IDrawGridCellPropsArgs() = default;
};

// An edit the user committed in an editable or colour cell.
struct IDrawGridCellInputArgs : IDrawGridEventArgs {
    static constexpr IntfID Id = {0xC601AF71, 0x2D3A, 0x4071, {0xB3, 0x0F, 0x19, 0x8E, 0x67, 0xEB, 0xC3, 0xB1}};
    virtual ErrCode getInputText(IString** text) = 0;   // 11
    virtual ErrCode getInputColor(Color* color) = 0;    // 12

protected:
    ~IDrawGridCellInputArgs() = default;
};

// A button or check-box cell the user pressed.
struct IDrawGridCellActionEventArgs : IDrawGridEventArgs {
    static constexpr IntfID Id = {0xC6DD5A83, 0x8C58, 0x48C0, {0xB1, 0x26, 0xEB, 0x65, 0x21, 0x6B, 0x35, 0x2B}};
    // A check box's new state: 0 clear, 1 checked.
    virtual ErrCode getCheckState(Int* state) = 0;  // 11

protected:
    ~IDrawGridCellActionEventArgs() = default;
};

// Live value kinds.
enum class LiveValueKind : Int {
    Text = 1,       // the text alone
    Bar = 2,        // a bar of the value alone
    TextAndBar = 3, // the text over a bar from the value, with a peak mark
};

// Asked for each live-value cell the grid draws.
struct IDrawGridLiveValueArgs : IDrawGridEventArgs {
    static constexpr IntfID Id = {0x37C9D1E9, 0x209C, 0x41FE, {0xB0, 0x7B, 0x57, 0xA4, 0x7D, 0x10, 0x7D, 0xA9}};
    virtual ErrCode setText(IString* text) = 0;     // 11
    // The bar's length follows the value; the peak mark stays at the
    // highest value it was given since the grid was sized.
    virtual ErrCode setValue(Float value) = 0;      // 12
    virtual ErrCode setPeak(Float peak) = 0;        // 13
    virtual ErrCode setKind(Int kind) = 0;          // 14

protected:
    ~IDrawGridLiveValueArgs() = default;
};

}  // namespace Nerova::Kite

// The toolkit's draw grid: it keeps no cell contents and asks for every
// cell it shows through its events.
#pragma once

#include <string>

#include "ui/event_args.h"
#include "ui/event_slot.h"
#include "ui/kite_ptr.h"
#include "ui/window_ptr.h"

namespace Nerova::Kite {

class DrawGridColumn : public ObjectPtr<IDrawGridColumn> {
public:
    DrawGridColumn() noexcept = default;
    explicit DrawGridColumn(ObjectPtr<IDrawGridColumn> held) noexcept : ObjectPtr(std::move(held)) {}

    void setResizable(bool resizable) const;
};

// One column as the grid defines it.
struct GridColumn {
    Int index;
    const char* key;
    const char* title;
    ColumnKind kind;
    Int width;
};

class NVDrawGrid : public ControlPtr<INVDrawGrid> {
public:
    NVDrawGrid() noexcept = default;
    NVDrawGrid(const WindowPtr& window, const std::string& name) { take(lookUpControl<INVDrawGrid>(window, name)); }
    template <class Source>
    explicit NVDrawGrid(Source* source) : ControlPtr(source) {}
    NVDrawGrid(const NVDrawGrid& other) : ControlPtr(other) {}
    NVDrawGrid(NVDrawGrid&& other) noexcept : ControlPtr(std::move(other)) {}
    NVDrawGrid& operator=(NVDrawGrid other) noexcept {
        ControlPtr::operator=(std::move(other));
        return *this;
    }

    // Rows count the header row.
    void setSize(Int rows, Int columns) const;
    void defineColumn(const GridColumn& column, Int flags) const;
    void applyColumns() const;
    DrawGridColumn column(Int index) const;
    void setSortable(bool sortable) const;
    void repaint() const;
    Int rowCount() const;
    bool isRowSelected(Int row) const;
    void search(const std::string& text, Int flags) const;

    // In the interface's order.
    EventSlot<NVDrawGrid, DrawGridEventArgs> cellClick =
        eventSlot<NVDrawGrid, DrawGridEventArgs, &INVDrawGrid::addCellClickHandler,
                  &INVDrawGrid::removeCellClickHandler>(this);
    EventSlot<NVDrawGrid, DrawGridCellPropsArgs> cellProperties =
        eventSlot<NVDrawGrid, DrawGridCellPropsArgs, &INVDrawGrid::addCellPropertiesHandler,
                  &INVDrawGrid::removeCellPropertiesHandler>(this);
    EventSlot<NVDrawGrid, DrawGridEventArgs> cellDoubleClick =
        eventSlot<NVDrawGrid, DrawGridEventArgs, &INVDrawGrid::addCellDoubleClickHandler,
                  &INVDrawGrid::removeCellDoubleClickHandler>(this);
    EventSlot<NVDrawGrid, DrawGridLiveValueArgs> liveValue =
        eventSlot<NVDrawGrid, DrawGridLiveValueArgs, &INVDrawGrid::addLiveValueHandler,
                  &INVDrawGrid::removeLiveValueHandler>(this);
    EventSlot<NVDrawGrid, DrawGridEventArgs> headerClick =
        eventSlot<NVDrawGrid, DrawGridEventArgs, &INVDrawGrid::addHeaderClickHandler,
                  &INVDrawGrid::removeHeaderClickHandler>(this);
    EventSlot<NVDrawGrid, DrawGridCellActionEventArgs> cellAction =
        eventSlot<NVDrawGrid, DrawGridCellActionEventArgs, &INVDrawGrid::addCellActionHandler,
                  &INVDrawGrid::removeCellActionHandler>(this);
    EventSlot<NVDrawGrid, EventArgs> selectionChanged =
        eventSlot<NVDrawGrid, EventArgs, &INVDrawGrid::addSelectionChangedHandler,
                  &INVDrawGrid::removeSelectionChangedHandler>(this);
    EventSlot<NVDrawGrid, DrawGridCellInputArgs> cellInput =
        eventSlot<NVDrawGrid, DrawGridCellInputArgs, &INVDrawGrid::addCellInputHandler,
                  &INVDrawGrid::removeCellInputHandler>(this);
    EventSlot<NVDrawGrid, DrawGridEventArgs> columnResized =
        eventSlot<NVDrawGrid, DrawGridEventArgs, &INVDrawGrid::addColumnResizedHandler,
                  &INVDrawGrid::removeColumnResizedHandler>(this);
    EventSlot<NVDrawGrid, DrawGridEventArgs> rowMoved =
        eventSlot<NVDrawGrid, DrawGridEventArgs, &INVDrawGrid::addRowMovedHandler,
                  &INVDrawGrid::removeRowMovedHandler>(this);
    EventSlot<NVDrawGrid, EventArgs> keyPressed =
        eventSlot<NVDrawGrid, EventArgs, &INVDrawGrid::addKeyPressedHandler,
                  &INVDrawGrid::removeKeyPressedHandler>(this);
    EventSlot<NVDrawGrid, EventArgs> scrolled =
        eventSlot<NVDrawGrid, EventArgs, &INVDrawGrid::addScrolledHandler, &INVDrawGrid::removeScrolledHandler>(
            this);
    EventSlot<NVDrawGrid, EventArgs> focusChanged =
        eventSlot<NVDrawGrid, EventArgs, &INVDrawGrid::addFocusChangedHandler,
                  &INVDrawGrid::removeFocusChangedHandler>(this);
};

}  // namespace Nerova::Kite

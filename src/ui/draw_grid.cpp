#include "ui/draw_grid.h"

#include "core/errors.h"

namespace Nerova::Kite {

void DrawGridColumn::setResizable(bool resizable) const {
    if (get() == nullptr) throw RT::Core::InvalidParameterException();
    checkResult(get()->setResizable(resizable ? 1 : 0));
}

void NVDrawGrid::setSize(Int rows, Int columns) const { checkResult(required()->setSize(rows, columns)); }

void NVDrawGrid::defineColumn(const GridColumn& column, Int flags) const {
    INVDrawGrid* grid = required();
    StringPtr title(column.title);
    StringPtr key(column.key);
    checkResult(grid->defineColumn(column.index, title.get(), static_cast<Int>(column.kind), flags, column.width,
                                   key.get()));
}

void NVDrawGrid::applyColumns() const { checkResult(required()->applyColumns()); }

DrawGridColumn NVDrawGrid::column(Int index) const {
    ObjectPtr<IDrawGridColumn> found;
    checkResult(required()->getColumn(index, found.put()));
    return DrawGridColumn(std::move(found));
}

void NVDrawGrid::setSortable(bool sortable) const { checkResult(required()->setSortable(sortable ? 1 : 0)); }

void NVDrawGrid::repaint() const { checkResult(required()->repaint()); }

Int NVDrawGrid::rowCount() const {
    Int rows = 0;
    checkResult(required()->getRowCount(&rows));
    return rows;
}

bool NVDrawGrid::isRowSelected(Int row) const {
    Bool selected = 0;
    checkResult(required()->isRowSelected(row, &selected));
    return selected != 0;
}

void NVDrawGrid::search(const std::string& text, Int flags) const {
    INVDrawGrid* grid = required();
    StringPtr value(text);
    checkResult(grid->search(value.get(), flags));
}

}  // namespace Nerova::Kite

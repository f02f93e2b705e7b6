// The layout controls: they place their children and draw nothing of their
// own. Sizes in a grid's definitions are kept as the markup gives them
// (pixels, "Auto" or a percentage such as "100%").
#pragma once

#include <string>
#include <vector>

#include "host/kite/control.h"

namespace vexa::kite {

class LayoutGrid final : public ParentObject<IParentControl> {
public:
    LayoutGrid() : ParentObject({}) {}
    const char* typeName() const noexcept override { return "Grid"; }

    std::vector<std::string> columns;  // ColumnDefinition widths
    std::vector<std::string> rows;     // RowDefinition heights

    // With no definitions a grid has one row and one column.
    Int columnCount() const noexcept { return columns.empty() ? 1 : static_cast<Int>(columns.size()); }
    Int rowCount() const noexcept { return rows.empty() ? 1 : static_cast<Int>(rows.size()); }

private:
    void writeOwnJson(Json& out) const override;
};

class StackPanel final : public ParentObject<IParentControl> {
public:
    StackPanel() : ParentObject({}) {}
    const char* typeName() const noexcept override { return "StackPanel"; }

    Int spacing = 0;

private:
    void writeOwnJson(Json& out) const override;
};

// A frame with a title around its content.
class CaptionPanel final : public ParentObject<IParentControl> {
public:
    CaptionPanel() : ParentObject({}) {}
    const char* typeName() const noexcept override { return "CaptionPanel"; }

    std::string title;

private:
    void writeOwnJson(Json& out) const override;
};

}  // namespace vexa::kite

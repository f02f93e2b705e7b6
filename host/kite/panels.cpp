#include "host/kite/panels.h"

#include "host/kite/json_text.h"

namespace vexa::kite {

void LayoutGrid::writeOwnJson(Json& out) const {
    out["columnDefinitions"] = columns;
    out["rowDefinitions"] = rows;
}

void StackPanel::writeOwnJson(Json& out) const { out["spacing"] = spacing; }

void CaptionPanel::writeOwnJson(Json& out) const { out["title"] = title; }

}  // namespace vexa::kite

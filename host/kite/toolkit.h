// The reference host's Kite toolkit (library vexa_host_kite): the controls
// a plug-in's windows are made of, with no drawing. It reads the windows'
// markup into controls that keep their state, delivers the events the
// windows subscribe to, runs timers on the host's UI clock, writes each
// window as JSON and takes scripted user actions. One thread: the host's
// user-interface thread; nothing here locks.
//
// How it behaves where the interfaces leave a choice:
//
// - Painting. The windows' handlers never repaint after what they change:
//   after EVERY handler the toolkit delivers for something a user or the
//   clock did (a click, an edit, a toggle, a press, a colour, a row or tab
//   selection, a search text, a timer tick, the window opening), the
//   window asks again, through the cell-properties and live-value events,
//   for every cell it shows, and keeps what the handlers set until the
//   next paint. INVDrawGrid::repaint() does the same at once. Nothing else
//   paints: sizing a grid or defining its columns shows stale or empty
//   cells until the next paint. A repaint asked for during a paint is that
//   paint.
// - What a grid asks for: every data row (1 to rows - 1) in every shown
//   column, rows that the search hides included (the search matches the
//   texts they give); live-value columns through the live-value event,
//   every other column through cell properties. Row 0 is the header: it
//   shows the column titles and is never asked for.
// - Columns: defineColumn's flag bit 0 set shows the column, clear keeps it
//   defined but hidden. Nothing shows until applyColumns(), which takes the
//   columns defined at that moment. getColumn() answers defined columns,
//   applied or not. A column's boolean option is whether the user may drag
//   its width; the grid's boolean option (setSortable) is whether clicking
//   a header sorts.
// - Sizing a grid clears its row selection, the users' check states and
//   the live-value peak marks.
// - Colours are 0x00BBGGRR: the lowest byte is red. JSON writes "#RRGGBB".
// - Tabs: flag bit 0 set makes a tab selectable, clear shows it greyed;
//   neither a user nor selectTab can select a greyed tab. Adding tabs
//   selects none. A programmatic selectTab raises no selection event, as
//   native tab controls do; only a user's selection does, and only when it
//   changes the selection. Likewise a search edit's setText raises no text
//   event; a user's typing does.
// - Search: INVDrawGrid::search shows only the rows with a shown cell whose
//   text (or, for a number cell, the number as text) contains the search
//   text, ignoring ASCII case unless flag bit 0 is set. An empty text shows
//   every row.
// - Row selection: the user's gesture is selectRows (user_actions.h), which
//   makes exactly the given rows the selection and raises the grid's
//   selection event once, with the first given row.
// - Check boxes: the grid draws what the cell's handler sets; the user's
//   toggle says which state the box goes to, and that is the state the
//   cell-action event carries (a button cell's press carries 0).
// - Live values: kinds 1 (text), 2 (bar) and 3 (text over a bar with a
//   peak mark); the bar follows setValue, the peak mark stays at the
//   highest setPeak since the grid was sized.
// - Hidden and collapsed: setHidden keeps a control in the tree with its
//   state and writes "hidden": true; a user cannot act on it. Width or
//   height 0 is written as 0 (collapsed); -1 is "Auto" and not written.
// - findChild of a name that is not there answers errOk with no control;
//   the markup's namespace is Nerova::Kite::markupNamespace.
// - Failures answer their status and leave their reason as the thread's
//   error info (the core-types runtime's), where the plug-in reads it.
//
// Lifetime: a window's timers and content belong to it. When the host
// drops the window (Window::drop) or loads new content into it, its timers
// stop and its controls let go of every handler, so nothing calls into a
// plug-in window that is gone, and a plug-in window whose construction
// failed after subscribing is never called once the host drops or reuses
// its window. Handlers the plug-in still holds references to stay its own.
#pragma once

#include "host/kite/draw_grid.h"
#include "host/kite/json_text.h"
#include "host/kite/markup_reader.h"
#include "host/kite/panels.h"
#include "host/kite/simple_controls.h"
#include "host/kite/ui_clock.h"
#include "host/kite/user_actions.h"
#include "host/kite/window.h"

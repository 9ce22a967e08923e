#pragma once
// How list and combo items look in their states, from their owner's ListInfoUI: the row
// background (disabled, selected, hot, or the item colour on every row or every second one),
// the line under a row, and the text colour.
#include "ui/controls/list_interfaces.h"
#include "ui/core/render_canvas.h"

namespace SkinUI {

class CSkinHost;

struct ListItemState {
  int index = 0;
  bool selected = false;
  bool hot = false;
  bool enabled = true;
};

// Fills and draws the background of the row `rc` (limited to `dirty`). Images that cannot be
// drawn are forgotten.
void PaintListItemBk(IRenderCanvas& canvas, CSkinHost* host, ListInfoUI& info, const SkinRect& rc,
                     const SkinRect& dirty, const ListItemState& state);
// The line under the row, when the owner has a line colour.
void PaintListItemLine(IRenderCanvas& canvas, const ListInfoUI& info, const SkinRect& rc);
SkinColor ListItemTextColor(const ListInfoUI& info, const ListItemState& state);

}  // namespace SkinUI

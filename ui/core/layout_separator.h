#pragma once
// The drag strip of a vertical or horizontal layout ("sepheight", "sepwidth"): a band along one
// edge that lets the user resize the layout. Shared by both layouts; `vertical` selects the axis.
#include "ui/core/container_ui.h"

namespace SkinUI {

class CLayoutSeparator {
 public:
  explicit CLayoutSeparator(bool vertical) : vertical_(vertical) {}

  int size = 0;          // positive: bottom (right) edge; negative: top (left) edge; 0: none
  bool immediate = false;  // "sepimm"

  // The strip of `layout` (empty when there is none).
  SkinRect Strip(const SkinRect& rc) const;
  // Handles the event when it belongs to the separator; false to let the layout handle it.
  bool HandleEvent(CContainerUI& layout, SkinEvent& event);
  // The marker of the new edge while dragging without "sepimm".
  void PaintOverlay(IRenderCanvas& canvas) const;
  bool IsDragging() const { return dragging_; }

 private:
  SkinRect MarkerRect() const;

  bool vertical_;
  bool dragging_ = false;
  SkinPoint start_;
  SkinRect startRect_;
  SkinRect newRect_;
};

}  // namespace SkinUI

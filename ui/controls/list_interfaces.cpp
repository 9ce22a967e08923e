#include "ui/controls/list_interfaces.h"

namespace SkinUI {

int NumberListItems(IContainerUI& items, IListOwnerUI* owner, CControlUI* added) {
  IListItemUI* keep = AsListItem(added);
  if (keep != nullptr && !keep->IsSelected()) keep = nullptr;
  int selected = -1;
  for (int i = 0; i < items.Count(); ++i) {
    IListItemUI* item = AsListItem(items.ItemAt(i));
    if (item == nullptr) continue;
    item->SetOwner(owner);
    item->SetIndex(i);
    if (!item->IsSelected()) continue;
    if (selected < 0 && (keep == nullptr || item == keep))
      selected = i;
    else
      item->Select(false);
  }
  return selected;
}

int StepSelection(const CContainerUI& items, int curSel, int key) {
  switch (key) {
    case kVkUp: return curSel < 0 ? items.FindSelectable(0, true) : items.FindSelectable(curSel - 1, false);
    case kVkDown: return items.FindSelectable(curSel + 1, true);
    case kVkHome: return items.FindSelectable(0, true);
    case kVkEnd: return items.FindSelectable(items.Count() - 1, false);
    default: return -1;
  }
}

}  // namespace SkinUI

#include "ui/controls/register_controls.h"

#include <memory>

#include "ui/controls/active_x_ui.h"
#include "ui/controls/animation_ui.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/combo_box_ui.h"
#include "ui/controls/combo_ui.h"
#include "ui/controls/date_time_ui.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/gif_ui.h"
#include "ui/controls/icon_image_ui.h"
#include "ui/controls/ip_address_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/list_container_element_ui.h"
#include "ui/controls/list_header_item_ui.h"
#include "ui/controls/list_header_ui.h"
#include "ui/controls/list_label_element_ui.h"
#include "ui/controls/list_text_element_ui.h"
#include "ui/controls/list_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/controls/scroll_bar_ui.h"
#include "ui/controls/sequence_ui.h"
#include "ui/controls/slider_ui.h"
#include "ui/controls/text_ui.h"
#include "ui/controls/tree_node_ui.h"
#include "ui/controls/tree_view_ui.h"
#include "ui/controls/web_browser_ui.h"
#include "ui/core/skin_builder.h"

namespace SkinUI {
namespace {

template <class T>
std::unique_ptr<CControlUI> Make() {
  return std::make_unique<T>();
}

}  // namespace

void RegisterControls() {
  CSkinBuilder::RegisterElement(L"Label", &Make<CLabelUI>);
  CSkinBuilder::RegisterElement(L"Text", &Make<CTextUI>);
  CSkinBuilder::RegisterElement(L"Button", &Make<CButtonUI>);
  CSkinBuilder::RegisterElement(L"Option", &Make<COptionUI>);
  CSkinBuilder::RegisterElement(L"CheckBox", &Make<CCheckBoxUI>);
  CSkinBuilder::RegisterElement(L"Progress", &Make<CProgressUI>);
  CSkinBuilder::RegisterElement(L"Sequence", &Make<CSequenceUI>);
  CSkinBuilder::RegisterElement(L"FadeSequence", &Make<CFadeSequenceUI>);
  CSkinBuilder::RegisterElement(L"RichEdit", &Make<CRichEditUI>);
  CSkinBuilder::RegisterElement(L"ScrollBar", &Make<CScrollBarUI>);
  // Containers' "vscrollbar" and "hscrollbar" make real bars from now on.
  CContainerUI::SetScrollBarFactory(&CScrollBarUI::Make);
  CSkinBuilder::RegisterElement(L"List", &Make<CListUI>);
  CSkinBuilder::RegisterElement(L"ListHeader", &Make<CListHeaderUI>);
  CSkinBuilder::RegisterElement(L"ListHeaderItem", &Make<CListHeaderItemUI>);
  CSkinBuilder::RegisterElement(L"ListLabelElement", &Make<CListLabelElementUI>);
  CSkinBuilder::RegisterElement(L"ListTextElement", &Make<CListTextElementUI>);
  CSkinBuilder::RegisterElement(L"ListContainerElement", &Make<CListContainerElementUI>);
  CSkinBuilder::RegisterElement(L"Combo", &Make<CComboUI>);
  CSkinBuilder::RegisterElement(L"ComboBox", &Make<CComboBoxUI>);
  CSkinBuilder::RegisterElement(L"TreeView", &Make<CTreeViewUI>);
  CSkinBuilder::RegisterElement(L"TreeNode", &Make<CTreeNodeUI>);
  CSkinBuilder::RegisterElement(L"Edit", &Make<CEditUI>);
  CSkinBuilder::RegisterElement(L"Slider", &Make<CSliderUI>);
  CSkinBuilder::RegisterElement(L"DateTime", &Make<CDateTimeUI>);
  CSkinBuilder::RegisterElement(L"IpAddress", &Make<CIpAddressUI>);
  CSkinBuilder::RegisterElement(L"Gif", &Make<CGifUI>);
  CSkinBuilder::RegisterElement(L"Animation", &Make<CAnimationUI>);
  CSkinBuilder::RegisterElement(L"IconImage", &Make<CIconImageUI>);
  CSkinBuilder::RegisterElement(L"ActiveX", &Make<CActiveXUI>);
  CSkinBuilder::RegisterElement(L"WebBrowser", &Make<CWebBrowserUI>);
}

}  // namespace SkinUI

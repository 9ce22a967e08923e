#include "ui/controls/register_controls.h"

#include <memory>

#include "ui/controls/button_ui.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/controls/sequence_ui.h"
#include "ui/controls/text_ui.h"
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
}

}  // namespace SkinUI

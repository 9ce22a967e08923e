#include "ui/core/skin_builder.h"

#include <cwctype>
#include <unordered_map>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "ui/core/child_layout_ui.h"
#include "ui/core/container_ui.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"
#include "ui/core/tab_layout_ui.h"
#include "ui/core/tile_layout_ui.h"
#include "ui/core/vertical_layout_ui.h"

namespace SkinUI {
namespace {

template <class T>
std::unique_ptr<CControlUI> Make() {
  return std::make_unique<T>();
}

// The core's own classes. The other control elements are registered (RegisterElement) by the
// library that implements them, as their classes land:
//   Label CLabelUI, Text CTextUI, Button CButtonUI, Option COptionUI, CheckBox CCheckBoxUI,
//   Progress CProgressUI, Slider CSliderUI, Sequence CSequenceUI, FadeSequence CFadeSequenceUI,
//   Edit CEditUI, RichEdit CRichEditUI, ScrollBar CScrollBarUI, List CListUI,
//   ListHeader CListHeaderUI, ListHeaderItem CListHeaderItemUI,
//   ListTextElement CListTextElementUI, ListLabelElement CListLabelElementUI,
//   ListContainerElement CListContainerElementUI, Combo CComboUI, ComboBox CComboBoxUI,
//   DateTime CDateTimeUI, TreeView CTreeViewUI, TreeNode CTreeNodeUI, IconImage CIconImageUI,
//   Animation CAnimationUI, IpAddress CIpAddressUI, Gif CGifUI, ActiveX CActiveXUI,
//   WebBrowser CWebBrowserUI.
// Until then such an element is offered to the build's callback like any unknown name.
std::unordered_map<std::wstring, CSkinBuilder::ElementFactory>& ElementTable() {
  static std::unordered_map<std::wstring, CSkinBuilder::ElementFactory> table = {
      {L"Control", &Make<CControlUI>},
      {L"Container", &Make<CContainerUI>},
      {L"VerticalLayout", &Make<CVerticalLayoutUI>},
      {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
      {L"TabLayout", &Make<CTabLayoutUI>},
      {L"TileLayout", &Make<CTileLayoutUI>},
      {L"ChildLayout", &Make<CChildLayoutUI>},
  };
  return table;
}

bool EqualsIgnoreCase(const wchar_t* a, const wchar_t* b) {
  for (; *a != 0 && *b != 0; ++a, ++b)
    if (std::towlower(*a) != std::towlower(*b)) return false;
  return *a == *b;
}

std::wstring Str(const wchar_t* s) { return s != nullptr ? std::wstring(s) : std::wstring(); }

bool IsResourceElement(const std::wstring& name) {
  return name == L"Image" || name == L"Font" || name == L"Default" || name == L"Style";
}

ITreeNodeUI* AsTreeNode(CControlUI* c) {
  return c != nullptr ? static_cast<ITreeNodeUI*>(c->AsInterface(L"TreeNode")) : nullptr;
}

}  // namespace

void CSkinBuilder::RegisterElement(const std::wstring& element, ElementFactory factory) {
  if (factory == nullptr)
    ElementTable().erase(element);
  else
    ElementTable()[element] = factory;
}

CSkinBuilder::ElementFactory CSkinBuilder::FindElement(const std::wstring& element) {
  const auto& table = ElementTable();
  auto it = table.find(element);
  return it == table.end() ? nullptr : it->second;
}

std::wstring CSkinBuilder::ErrorMessage() const {
  wchar_t buf[CSkinXml::kMaxErrorMessage];
  xml_.ErrorMessage(buf, static_cast<int>(CSkinXml::kMaxErrorMessage));
  return buf;
}

std::wstring CSkinBuilder::ErrorLocation() const {
  wchar_t buf[CSkinXml::kMaxErrorLocation];
  xml_.ErrorLocation(buf, static_cast<int>(CSkinXml::kMaxErrorLocation));
  return buf;
}

bool CSkinBuilder::LoadSource(const std::wstring& source, const wchar_t* resourceType) {
  resourceType_ = Str(resourceType);
  fromResource_ = false;
  if (!source.empty() && source[0] == L'<') return xml_.LoadText(source.c_str());
  return xml_.LoadFile(source.c_str(), kSkinXmlUtf8);
}

bool CSkinBuilder::LoadResource(int resourceId, const wchar_t* resourceType) {
  resourceType_ = Str(resourceType);
  fromResource_ = true;
  const std::vector<std::uint8_t> bytes = CSkinHost::LoadResourceData(resourceType_, resourceId);
  if (bytes.empty()) return false;  // a missing resource: no message
  return xml_.LoadBytes(bytes.data(), bytes.size(), kSkinXmlUtf8);
}

std::unique_ptr<CControlUI> CSkinBuilder::Build(const std::wstring& source, const wchar_t* resourceType,
                                                ISkinBuilderCallback* callback, CSkinHost* host) {
  if (!LoadSource(source, resourceType)) return nullptr;
  return BuildLoaded(callback, host);
}

CControlUI* CSkinBuilder::Build(const std::wstring& source, const wchar_t* resourceType,
                                ISkinBuilderCallback* callback, CSkinHost* host, CControlUI* parent) {
  if (!LoadSource(source, resourceType)) return nullptr;
  return BuildLoaded(callback, host, parent);
}

std::unique_ptr<CControlUI> CSkinBuilder::Build(int resourceId, const wchar_t* resourceType,
                                                ISkinBuilderCallback* callback, CSkinHost* host) {
  if (!LoadResource(resourceId, resourceType)) return nullptr;
  return BuildLoaded(callback, host);
}

CControlUI* CSkinBuilder::Build(int resourceId, const wchar_t* resourceType, ISkinBuilderCallback* callback,
                                CSkinHost* host, CControlUI* parent) {
  if (!LoadResource(resourceId, resourceType)) return nullptr;
  return BuildLoaded(callback, host, parent);
}

std::unique_ptr<CControlUI> CSkinBuilder::BuildLoaded(ISkinBuilderCallback* callback, CSkinHost* host) {
  Orphans top;
  Run(callback, host, nullptr, &top);
  if (top.empty()) return nullptr;
  if (top.size() > 1) {
    LOG_WARN << "skin has " << top.size() << " top-level controls, only the first is used";
  }
  std::unique_ptr<CControlUI> first = std::move(top.front());
  return first;
}

CControlUI* CSkinBuilder::BuildLoaded(ISkinBuilderCallback* callback, CSkinHost* host, CControlUI* parent) {
  if (parent == nullptr) {
    // Without a parent the result would have no owner: callers that want it use the other form.
    Orphans top;
    Run(callback, host, nullptr, &top);
    return nullptr;
  }
  return Run(callback, host, parent, nullptr);
}

CControlUI* CSkinBuilder::Run(ISkinBuilderCallback* callback, CSkinHost* host, CControlUI* parent, Orphans* orphans) {
  callback_ = callback;
  CSkinXmlNode root = xml_.Root();
  if (!root.IsValid()) return nullptr;
  if (host != nullptr) ResourcePass(root, host, parent);
  WindowPass(root, host);
  return ControlPass(root, parent, host, true, orphans);
}

void CSkinBuilder::ResourcePass(const CSkinXmlNode& root, CSkinHost* host, CControlUI* parent) {
  for (CSkinXmlNode n = root.FirstChild(); n.IsValid(); n = n.NextSibling()) {
    const std::wstring element = Str(n.Name());
    if (element != L"Include" && !IsResourceElement(element)) continue;
    // Attributes may come in any order; a repeated one counts with its last value.
    std::unordered_map<std::wstring, std::wstring> a;
    const int count = n.AttributeCount();
    for (int i = 0; i < count; ++i) a[Str(n.AttributeName(i))] = Str(n.AttributeValue(i));
    auto get = [&a](const wchar_t* key) -> const std::wstring* {
      auto it = a.find(key);
      return it == a.end() ? nullptr : &it->second;
    };
    auto text = [&](const wchar_t* key) { return get(key) != nullptr ? *get(key) : std::wstring(); };
    auto number = [&](const wchar_t* key, int dflt) { return get(key) != nullptr ? ParseSkinInt(*get(key)) : dflt; };
    auto flag = [&](const wchar_t* key) { return get(key) != nullptr && ParseSkinBool(*get(key)); };

    if (element == L"Include") {
      const std::wstring source = text(L"source");
      const int times = number(L"count", 1);
      if (!source.empty() && times > 0) IncludeFile(source, times, host, parent);
    } else if (element == L"Image") {
      const std::wstring name = text(L"name");
      if (name.empty()) continue;
      const SkinSize svg = ParseSkinSize(text(L"svgsize"));
      host->AddImage(name, text(L"restype"), ParseSkinColor(text(L"mask")), svg.cx, svg.cy);
    } else if (element == L"Font") {
      const std::wstring name = text(L"name");
      if (name.empty()) continue;
      const std::wstring file = text(L"file");
      const int size = number(L"size", 12);
      const int weight = flag(L"bold") ? 700 : number(L"weight", 0);
      const bool underline = flag(L"underline");
      const bool italic = flag(L"italic");
      const bool strikeout = flag(L"strikeout");
      if (!file.empty()) host->AddFontFile(file, name);
      host->AddFont(name, size, weight, underline, italic, strikeout, !file.empty());
      if (flag(L"default")) host->SetDefaultFont(name, size, weight, underline, italic, strikeout, false);
    } else if (element == L"Default") {
      const std::wstring name = text(L"name");
      if (!name.empty()) host->AddClassDefaults(name, text(L"value"));
    } else if (element == L"Style") {
      const std::wstring name = text(L"name");
      if (name.empty()) continue;
      std::wstring list = text(L"value");
      const std::wstring inherit = text(L"inherit");
      if (!inherit.empty()) {
        if (const std::wstring* base = host->FindStyle(inherit)) list = list.empty() ? *base : *base + L" " + list;
      }
      host->AddStyle(name, list);
    }
  }
}

void CSkinBuilder::WindowPass(const CSkinXmlNode& root, CSkinHost* host) {
  if (host == nullptr || host->Window() == nullptr || Str(root.Name()) != L"Window") return;
  const int count = root.AttributeCount();
  for (int i = 0; i < count; ++i) {
    const std::wstring name = Str(root.AttributeName(i));
    const wchar_t* v = root.AttributeValue(i);
    if (name == L"size") {
      host->SetInitialSize(ParseSkinSize(v));
    } else if (name == L"sizebox") {
      host->SetSizeBox(ParseSkinRect(v));
    } else if (name == L"caption") {
      host->SetCaptionRect(ParseSkinRect(v));
    } else if (name == L"roundcorner") {
      host->SetRoundCorner(ParseSkinSize(v));
    } else if (name == L"mininfo") {
      host->SetMinTrackSize(ParseSkinSize(v));
    } else if (name == L"maxinfo") {
      host->SetMaxTrackSize(ParseSkinSize(v));
    } else if (name == L"showdirty") {
      host->SetShowDirty(ParseSkinBool(v));
    } else if (name == L"alpha") {
      host->SetOpacity(ParseSkinInt(v));
    } else if (name == L"bktrans") {
      host->SetBackgroundTransparency(ParseSkinInt(v));
    } else if (name == L"disabledfontcolor") {
      host->SetDisabledTextColor(ParseSkinColor(v));
    } else if (name == L"defaultfontcolor") {
      host->SetDefaultTextColor(ParseSkinColor(v));
    } else if (name == L"linkfontcolor") {
      host->SetLinkTextColor(ParseSkinColor(v));
    } else if (name == L"linkhoverfontcolor") {
      host->SetLinkHoverTextColor(ParseSkinColor(v));
    } else if (name == L"selectedcolor") {
      host->SetSelectedTextColor(ParseSkinColor(v));
    } else if (name == L"takefocus") {
      host->SetTakeFocus(ParseSkinBool(v));
    }
  }
}

void CSkinBuilder::IncludeFile(const std::wstring& source, int count, CSkinHost* host, CControlUI* parent) {
  if (depth_ >= kMaxIncludeDepth) {
    LOG_ERROR << "include nested deeper than " << kMaxIncludeDepth << " levels, skipped: "
              << platform::WideToUtf8(source);
    return;
  }
  for (int i = 0; i < count; ++i) {
    CSkinBuilder inner(depth_ + 1);
    const bool loaded = fromResource_ ? inner.LoadResource(ParseSkinInt(source), resourceType_.c_str())
                                      : inner.LoadSource(source, resourceType_.empty() ? nullptr : resourceType_.c_str());
    if (!loaded) {
      // The same source fails the same way every time: one message is enough.
      LOG_WARN << "include failed: " << platform::WideToUtf8(source) << ": "
               << platform::WideToUtf8(inner.ErrorMessage());
      return;
    }
    Orphans orphans;
    inner.Run(callback_, host, parent, parent != nullptr ? nullptr : &orphans);
  }
}

// Not inlined: its buffers would otherwise sit in every frame of the control pass, which recurses
// once per nesting level of the skin (includes included).
[[gnu::noinline]] void CSkinBuilder::IncludeNested(const CSkinXmlNode& n, CSkinHost* host, CControlUI* parent) {
  wchar_t count[500] = L"1";
  wchar_t source[500] = L"";
  n.FindAttribute(L"count", count, 499);
  n.FindAttribute(L"source", source, 499);
  const int times = ParseSkinInt(count);
  if (source[0] != 0 && times > 0) IncludeFile(source, times, host, parent);
}

std::unique_ptr<CControlUI> CSkinBuilder::CreateControl(const std::wstring& element) {
  if (ElementFactory f = FindElement(element)) return f();
  if (callback_ != nullptr) return callback_->CreateControl(element);
  return nullptr;
}

void CSkinBuilder::ApplyElement(const CSkinXmlNode& n, CControlUI* control, CSkinHost* host,
                                const std::wstring& element, bool defaultAttrIsSpecial) {
  control->BeginUpdate();
  if (host != nullptr) {
    // Bound for the time the attributes are applied, so that styles and class defaults resolve.
    control->SetHost(host, nullptr, false, callback_);
    if (const std::wstring* defaults = host->FindClassDefaults(element)) control->ApplyAttributes(std::wstring(*defaults));
  }
  const int count = n.AttributeCount();
  for (int i = 0; i < count; ++i) {
    const wchar_t* name = n.AttributeName(i);
    const wchar_t* value = n.AttributeValue(i);
    if (defaultAttrIsSpecial && EqualsIgnoreCase(name, L"defaulattr")) {
      if (host != nullptr) {
        if (const std::wstring* defaults = host->FindClassDefaults(Str(value)))
          control->ApplyAttributes(std::wstring(*defaults));
      }
      continue;
    }
    control->SetAttribute(Str(name), Str(value));
  }
  control->EndUpdate();
  if (host != nullptr) control->SetHost(nullptr, nullptr, false, callback_);
}

CControlUI* CSkinBuilder::ControlPass(const CSkinXmlNode& node, CControlUI* parent, CSkinHost* host, bool topLevel,
                                      Orphans* orphans) {
  IContainerUI* container = nullptr;
  bool containerAsked = false;
  CControlUI* first = nullptr;
  for (CSkinXmlNode n = node.FirstChild(); n.IsValid(); n = n.NextSibling()) {
    const std::wstring element = Str(n.Name());
    if (IsResourceElement(element)) continue;
    if (element == L"Include") {
      if (!topLevel) IncludeNested(n, host, parent);  // the top level was done by the resource pass
      continue;
    }
    if (element == L"TreeNode") {
      bool stop = false;
      CControlUI* built = BuildTreeNode(n, parent, host, stop);
      if (stop) return first;
      if (first == nullptr) first = built;
      continue;
    }
    std::unique_ptr<CControlUI> control = CreateControl(element);
    if (!control) continue;  // unknown: skipped with everything inside it
    CControlUI* raw = control.get();
    if (n.HasChildren()) ControlPass(n, raw, host, false, nullptr);
    // The control's own attributes go on before it joins its parent, so that a container sees
    // the finished control (a tab page written invisible is not made the current page).
    ApplyElement(n, raw, host, element, true);
    if (parent == nullptr) {
      if (orphans != nullptr) orphans->push_back(std::move(control));
    } else if (ITreeNodeUI* treeNode = AsTreeNode(parent)) {
      if (!treeNode->AddChildNode(raw)) continue;  // refused: destroyed
      control.release();
    } else {
      if (!containerAsked) {
        container = static_cast<IContainerUI*>(parent->AsInterface(L"IContainer"));
        containerAsked = true;
      }
      if (container == nullptr) return first;  // not a container: this level ends here
      if (!container->Add(raw)) continue;      // refused: destroyed
      control.release();
    }
    if (first == nullptr) first = raw;
  }
  return first;
}

CControlUI* CSkinBuilder::BuildTreeNode(const CSkinXmlNode& n, CControlUI* parent, CSkinHost* host, bool& stopLevel) {
  std::unique_ptr<CControlUI> node = CreateControl(L"TreeNode");
  if (!node) return nullptr;
  CControlUI* raw = node.get();
  ITreeNodeUI* parentNode = AsTreeNode(parent);
  if (parentNode != nullptr) {
    if (!parentNode->AddChildNode(raw)) return nullptr;
    node.release();
  }
  ApplyElement(n, raw, host, L"TreeNode", false);
  if (n.HasChildren()) ControlPass(n, raw, host, false, nullptr);
  if (parentNode == nullptr) {
    auto* view = parent != nullptr ? static_cast<ITreeViewUI*>(parent->AsInterface(L"TreeView")) : nullptr;
    if (view == nullptr) {
      stopLevel = true;
      return nullptr;
    }
    if (!view->AddNode(raw)) return nullptr;
    node.release();
  }
  return raw;
}

}  // namespace SkinUI

#pragma once
// Turns a skin file into resources registered with a window's host (fonts, images, styles,
// class defaults, window settings) and into a tree of controls.
#include <memory>
#include <string>

#include "ui/core/control_ui.h"
#include "ui/core/skin_xml.h"

namespace SkinUI {

class CSkinHost;

// Asked for element names the builder does not know; also handed to every control it builds,
// which passes it on to nested builds.
class ISkinBuilderCallback {
 public:
  virtual ~ISkinBuilderCallback() = default;
  virtual std::unique_ptr<CControlUI> CreateControl(const std::wstring& element) = 0;
};

// What the builder needs of tree controls, which answer AsInterface("TreeNode") with an
// ITreeNodeUI* and AsInterface("TreeView") with an ITreeViewUI*. Both take ownership of what
// they accept.
class ITreeNodeUI {
 public:
  virtual ~ITreeNodeUI() = default;
  // Adds to the node's child container.
  virtual bool AddChildNode(CControlUI* control) = 0;
};

class ITreeViewUI {
 public:
  virtual ~ITreeViewUI() = default;
  virtual bool AddNode(CControlUI* node) = 0;
};

class CSkinBuilder {
 public:
  using ElementFactory = std::unique_ptr<CControlUI> (*)();
  // "Include" elements may nest this deep (an include that includes itself stops here).
  static constexpr int kMaxIncludeDepth = 10;

  // The control element table: element name (exact, case-sensitive) -> class. The core's
  // containers are in it from the start; control libraries add theirs at start-up.
  static void RegisterElement(const std::wstring& element, ElementFactory factory);
  static ElementFactory FindElement(const std::wstring& element);

  CSkinBuilder() = default;
  CSkinBuilder(const CSkinBuilder&) = delete;
  CSkinBuilder& operator=(const CSkinBuilder&) = delete;

  // `source` is the XML itself when it begins with "<", else a skin file name. Built without a
  // parent, the first top-level control belongs to the caller (further ones are discarded);
  // built under `parent`, the controls belong to it and the first is returned. None when the
  // source does not load (ErrorMessage tells why) or holds no control. The forms taking a parent
  // given none register the resources and discard the controls, which would have no owner.
  std::unique_ptr<CControlUI> Build(const std::wstring& source, const wchar_t* resourceType,
                                    ISkinBuilderCallback* callback, CSkinHost* host);
  CControlUI* Build(const std::wstring& source, const wchar_t* resourceType, ISkinBuilderCallback* callback,
                    CSkinHost* host, CControlUI* parent);
  // A module resource of that id and type; nested "Include" sources are then resource ids too.
  std::unique_ptr<CControlUI> Build(int resourceId, const wchar_t* resourceType, ISkinBuilderCallback* callback,
                                    CSkinHost* host);
  CControlUI* Build(int resourceId, const wchar_t* resourceType, ISkinBuilderCallback* callback, CSkinHost* host,
                    CControlUI* parent);
  // The same from a document already loaded into Document().
  std::unique_ptr<CControlUI> BuildLoaded(ISkinBuilderCallback* callback, CSkinHost* host);
  CControlUI* BuildLoaded(ISkinBuilderCallback* callback, CSkinHost* host, CControlUI* parent);

  CSkinXml& Document() { return xml_; }
  void ErrorMessage(wchar_t* buffer, int max) const { xml_.ErrorMessage(buffer, max); }
  void ErrorLocation(wchar_t* buffer, int max) const { xml_.ErrorLocation(buffer, max); }
  std::wstring ErrorMessage() const;
  std::wstring ErrorLocation() const;

 private:
  using Orphans = std::vector<std::unique_ptr<CControlUI>>;

  explicit CSkinBuilder(int depth) : depth_(depth) {}
  bool LoadSource(const std::wstring& source, const wchar_t* resourceType);
  bool LoadResource(int resourceId, const wchar_t* resourceType);
  CControlUI* Run(ISkinBuilderCallback* callback, CSkinHost* host, CControlUI* parent, Orphans* orphans);
  void ResourcePass(const CSkinXmlNode& root, CSkinHost* host, CControlUI* parent);
  void WindowPass(const CSkinXmlNode& root, CSkinHost* host);
  CControlUI* ControlPass(const CSkinXmlNode& node, CControlUI* parent, CSkinHost* host, bool topLevel,
                          Orphans* orphans);
  CControlUI* BuildTreeNode(const CSkinXmlNode& n, CControlUI* parent, CSkinHost* host, bool& stopLevel);
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& element);
  void ApplyElement(const CSkinXmlNode& n, CControlUI* control, CSkinHost* host, const std::wstring& element,
                    bool defaultAttrIsSpecial);
  void IncludeFile(const std::wstring& source, int count, CSkinHost* host, CControlUI* parent);
  void IncludeNested(const CSkinXmlNode& n, CSkinHost* host, CControlUI* parent);

  CSkinXml xml_;
  ISkinBuilderCallback* callback_ = nullptr;
  std::wstring resourceType_;
  bool fromResource_ = false;
  int depth_ = 0;
};

}  // namespace SkinUI

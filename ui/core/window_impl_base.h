#pragma once
// The base of the program's skinned windows: a borderless native window with an embedded skin
// host whose content is built from a skin file when the window is created, a caption band of
// the skin that drags the window, round corners, size limits, one overridable hook per message
// and per common notification, and Escape closing the window.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/skin_host.h"
#include "ui/core/window_wnd.h"

namespace SkinUI {

class ISkinBuilderCallback;

class WindowImplBaseNew : public CWindowWnd, public INotifyUI, public IMessageFilterUI {
 public:
  // Kinds of SetSkinArchive.
  enum SkinArchiveKind { kArchiveFile = 1, kArchiveResource = 2 };

  WindowImplBaseNew();
  using CWindowWnd::Create;

  // ---- virtual operations, in slot order --------------------------------------------------------
  // Message hooks get the message, its parameters and `handled` (true on entry); a hook whose base
  // does nothing clears it and returns 0, so the message goes on.
  const wchar_t* WindowClassName() const override;
  std::uint32_t ClassStyle() const override;
  std::intptr_t HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Removes the window's filter and notifier from the host, releases the root and detaches the
  // host from the window.
  void OnWindowDestroyed(platform::WindowHandle window) override;
  ~WindowImplBaseNew() override;
  virtual void SetSkinFile(const std::wstring& name);
  // Creates the native window at 0,0 with size 0 x 0 (the skin's "size" gives it its size while
  // it is built); `callback` makes the skin's custom controls and must outlive the window.
  virtual platform::WindowHandle Create(platform::WindowHandle parent, const std::wstring& title,
                                        ISkinBuilderCallback* callback, std::uint32_t style, std::uint32_t exStyle);
  virtual void OnSkinFileSet();
  virtual void OnInitialized();
  // The skin is built and attached.
  virtual void OnInitialize();
  virtual std::intptr_t OnClose(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnDestroy(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnTimer(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnNcActivate(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnNcCalcSize(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnNcPaint(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  // kHtCaption (2) where the skin's caption band has no visible mouse-enabled control, else
  // kHtClient (1). `pt` is in client coordinates.
  virtual int CaptionHitTest(SkinPoint pt);
  virtual std::intptr_t OnNcHitTest(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnGetMinMaxInfo(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                        bool& handled);
  virtual std::intptr_t OnMouseWheel(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnSize(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnSysCommand(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnCreate(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnKeyDown(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnKillFocus(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnSetFocus(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnLButtonDown(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled);
  virtual std::intptr_t OnLButtonUp(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnMouseMove(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled);
  virtual std::intptr_t OnMouseLeave(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool& handled);
  virtual std::intptr_t OnMouseHover(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool& handled);
  virtual std::intptr_t OnMouseEnterWindow(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                           bool& handled);
  // Every message without a hook of its own.
  virtual std::intptr_t OnOtherMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                       bool& handled);
  // kArchiveResource: the executable's resource (resourceType, resourceId) as the main or overlay
  // archive; kArchiveFile: the archive file `fileName`, main (held open) or overlay.
  virtual void SetSkinArchive(int kind, const std::wstring& fileName, int resourceId, std::string_view resourceType,
                              bool main);
  virtual void SetMarkupArchive(const std::wstring& fileName);
  virtual void OnWindowInit(SkinNotify& msg);
  virtual void OnKillFocusNotify(SkinNotify& msg);
  virtual void OnSetFocusNotify(SkinNotify& msg);
  virtual void OnClick(SkinNotify& msg);
  virtual void OnDbClick(SkinNotify& msg);
  virtual void OnSelectChanged(SkinNotify& msg);
  virtual void OnHeaderClick(SkinNotify& msg);
  virtual void OnHeaderCheck(SkinNotify& msg);
  virtual void OnTextChanged(SkinNotify& msg);
  virtual void OnItemSelect(SkinNotify& msg);
  virtual void OnItemClick(SkinNotify& msg);
  virtual void OnItemDbClick(SkinNotify& msg);
  virtual void OnLink(SkinNotify& msg);
  virtual std::wstring SkinFile() const;
  // Return and Escape before the controls see them: Escape closes with code 1 (result 1);
  // everything else 0.
  virtual std::intptr_t OnDefaultKey(std::uintptr_t key);

  // ---- INotifyUI: the notification by its type (ignoring case) to the hooks above -------------
  void Notify(SkinNotify& msg) override;
  // ---- IMessageFilterUI, the host's pre-message filter: Return and Escape to OnDefaultKey; never
  // marks the key handled, so a focused control still gets it.
  std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               bool& handled) override;

  CSkinHost& Host() { return host_; }

 protected:
  // The window's shape from the skin's "roundcorner" at its current size (not while minimised).
  void ApplyRoundCorner();

  CSkinHost host_;
  std::wstring skinFile_;
  ISkinBuilderCallback* callback_ = nullptr;
};

}  // namespace SkinUI

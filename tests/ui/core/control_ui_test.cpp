#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "recording_canvas.h"
#include "ui/core/container_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"

using namespace SkinUI;
using testsupport::RecordingCanvas;

namespace {

// Collects notifications raised through a host.
struct NotifyLog : INotifyUI {
  void Notify(SkinNotify& msg) override { seen.push_back(msg); }
  std::vector<SkinNotify> seen;
};

// A container bound to a host with one child, laid out at a known rectangle.
struct Bound {
  CSkinHost host;
  CContainerUI* root = nullptr;
  CControlUI* child = nullptr;
  Bound() {
    auto r = std::make_unique<CContainerUI>();
    root = r.get();
    child = new CControlUI();
    root->Add(child);
    host.AttachRoot(std::move(r));
    root->SetPosition({0, 0, 200, 100});
    host.TakeDirtyRect();
  }
};

}  // namespace

TEST(ControlAttributes, GeometryAndBorders) {
  CControlUI c;
  c.SetAttribute(L"pos", L"-50,10,-10,30");
  EXPECT_EQ(c.FixedXY(), (SkinSize{-10, 10}));
  EXPECT_EQ(c.FixedWidth(), 40);
  EXPECT_EQ(c.FixedHeight(), 20);

  CControlUI h;
  h.SetAttribute(L"height", L"14");
  EXPECT_EQ(h.FixedHeight(), 14);
  EXPECT_EQ(h.MinHeight(), 14);
  h.SetAttribute(L"minheight", L"0");
  EXPECT_EQ(h.MinHeight(), 0);
  h.SetAttribute(L"width", L"-5");  // negative values are ignored
  EXPECT_EQ(h.FixedWidth(), 0);

  CControlUI b;
  b.SetAttribute(L"bordersize", L"2");
  b.SetAttribute(L"leftbordersize", L"3");
  EXPECT_EQ(b.BorderSize(), 2);
  EXPECT_EQ(b.SideBorders(), (SkinRect{3, 0, 0, 0}));
  b.SetAttribute(L"bordersize", L"1,2,3,4");  // with a comma: only the per-side widths
  EXPECT_EQ(b.BorderSize(), 2);
  EXPECT_EQ(b.SideBorders(), (SkinRect{1, 2, 3, 4}));
  b.SetAttribute(L"bordersize", L"5");  // without: uniform, per-side reset
  EXPECT_EQ(b.SideBorders(), (SkinRect{}));

  CControlUI p;
  p.SetAttribute(L"padding", L"16,62,0,0");
  EXPECT_EQ(p.Padding(), (SkinRect{16, 62, 0, 0}));
  p.SetAttribute(L"relativepos", L"50,0,100,0");
  EXPECT_TRUE(p.IsRelativePos());
  EXPECT_EQ(p.RelativePos().moveXPercent, 50);
  EXPECT_EQ(p.RelativePos().zoomXPercent, 100);
}

TEST(ControlAttributes, TextsFlagsAndCustomAttributes) {
  CControlUI c;
  EXPECT_FALSE(c.IsMouseEnabled());
  c.SetAttribute(L"tooltip", L"one<n>two");
  EXPECT_TRUE(c.IsMouseEnabled());
  EXPECT_EQ(c.ToolTip(), L"one\r\ntwo");

  c.SetAttribute(L"text", L"line1\\r\\nline2");
  EXPECT_EQ(c.GetText(), L"line1\r\nline2");

  c.SetAttribute(L"enable", L"false");  // not an attribute of the table: kept, no effect
  EXPECT_TRUE(c.IsEnabled());
  EXPECT_EQ(c.CustomAttribute(L"enable"), L"false");
  c.SetAttribute(L"enable", L"true");
  EXPECT_EQ(c.CustomAttribute(L"enable"), L"false");  // the first value stays
  c.SetAttribute(L"empty", L"");
  EXPECT_EQ(c.CustomAttribute(L"empty"), L"");
  EXPECT_FALSE(c.AddCustomAttribute(L"", L"x"));

  c.SetAttribute(L"cursor", L"hand");
  EXPECT_EQ(c.Cursor(), 32649);
  c.SetAttribute(L"cursor", L"pointer");
  EXPECT_EQ(c.Cursor(), 0);

  c.SetAttribute(L"visible", L"1");  // only "true" is true
  EXPECT_FALSE(c.IsVisible());
  c.SetAttribute(L"shortcut", L"Xyz");
  EXPECT_EQ(c.Shortcut(), L'X');
  c.SetAttribute(L"bkcolor", L"#66000000");
  EXPECT_EQ(c.BkColor(), 0x66000000u);
}

TEST(ControlRepaint, EqualTextRepaintsOnceAndTheUpdateLockDropsRequests) {
  Bound b;
  b.child->SetText(L"hello");
  EXPECT_EQ(b.host.TakeDirtyRect(), (SkinRect{0, 0, 200, 100}));
  b.child->SetText(L"hello");
  EXPECT_TRUE(b.host.TakeDirtyRect().IsEmpty());

  b.child->BeginUpdate();
  b.child->SetBkColor(0xFF112233);
  b.child->SetText(L"other");
  EXPECT_TRUE(b.host.DirtyRect().IsEmpty());
  b.child->EndUpdate();
  EXPECT_FALSE(b.host.TakeDirtyRect().IsEmpty());

  b.child->SetVisible(false);
  b.host.TakeDirtyRect();
  b.child->SetText(L"hidden");  // invisible controls do not invalidate
  EXPECT_TRUE(b.host.DirtyRect().IsEmpty());
}

TEST(ControlPaint, BackgroundColourRules) {
  struct Case {
    const char* name;
    SkinColor c1, c2, c3;
    std::vector<std::string> kinds;
    SkinRect firstRect;
  } cases[] = {
      {"gradient of 1 and 2", 0xFF000001, 0xFF000002, 0, {"gradient"}, {0, 0, 100, 40}},
      {"colour 2 alone is ignored", 0, 0xFF000002, 0, {}, {}},
      {"three colours split at the middle", 0xFF000001, 0xFF000002, 0xFF000003, {"gradient", "gradient"}, {0, 0, 100, 20}},
      {"opaque fill covers only the dirty part", 0xFF000001, 0, 0, {"fill"}, {0, 0, 50, 40}},
      {"translucent fill covers the whole control", 0x80000001, 0, 0, {"fill"}, {0, 0, 100, 40}},
  };
  for (const auto& c : cases) {
    CControlUI ctl;
    ctl.SetPosition({0, 0, 100, 40});
    ctl.SetBkColor(c.c1);
    ctl.SetBkColor2(c.c2);
    ctl.SetBkColor3(c.c3);
    RecordingCanvas canvas;
    ctl.Paint(canvas, {0, 0, 50, 40});
    std::vector<std::string> kinds;
    for (const auto& op : canvas.ops) kinds.push_back(op.kind);
    EXPECT_EQ(kinds, c.kinds) << c.name;
    if (!canvas.ops.empty()) {
      EXPECT_EQ(canvas.ops[0].rc, c.firstRect) << c.name;
    }
  }
  CControlUI disabled;
  disabled.SetPosition({0, 0, 10, 10});
  disabled.SetBkColor(0xFF000001);
  disabled.SetDisabledBkColor(0xFF0000DD);
  disabled.SetEnabled(false);
  RecordingCanvas canvas;
  disabled.Paint(canvas, {0, 0, 10, 10});
  ASSERT_EQ(canvas.Only("fill").size(), 1u);
  EXPECT_EQ(canvas.Only("fill")[0].color1, 0xFF0000DDu);
}

TEST(ControlPaint, BorderVariants) {
  auto paint = [](CControlUI& c) {
    c.SetPosition({10, 10, 110, 50});
    c.SetBorderColor(0xFF123456);
    RecordingCanvas canvas;
    c.Paint(canvas, {0, 0, 200, 200});
    return canvas;
  };
  {
    CControlUI c;
    c.SetAttribute(L"bordersize", L"2");
    c.SetAttribute(L"leftbordersize", L"3");  // the uniform border wins
    RecordingCanvas canvas = paint(c);
    EXPECT_EQ(canvas.Only("rect").size(), 1u);
    EXPECT_TRUE(canvas.Only("line").empty());
  }
  {
    CControlUI c;
    c.SetAttribute(L"bordersize", L"1");
    c.SetAttribute(L"borderround", L"4,4");
    RecordingCanvas canvas = paint(c);
    EXPECT_EQ(canvas.Only("roundrect").size(), 1u);
    EXPECT_EQ(canvas.Only("roundclip").size(), 1u);
    EXPECT_EQ(canvas.depth, 0);
  }
  {
    CControlUI c;
    c.SetAttribute(L"bordersize", L"1,3,0,1");
    RecordingCanvas canvas = paint(c);
    auto lines = canvas.Only("line");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rc, (SkinRect{10, 10, 10, 50}));   // left, width 1: at left itself
    EXPECT_EQ(lines[1].rc, (SkinRect{10, 11, 110, 11}));  // top, width 3: top + 3/2
    EXPECT_EQ(lines[1].width, 3);
    EXPECT_EQ(lines[2].rc, (SkinRect{10, 49, 110, 49}));  // bottom, width 1: bottom - 1
    EXPECT_EQ(lines[2].style, 512);
  }
  {
    CControlUI c;  // no colour: nothing
    c.SetPosition({0, 0, 10, 10});
    c.SetBorderSize(1);
    RecordingCanvas canvas;
    c.Paint(canvas, {0, 0, 10, 10});
    EXPECT_TRUE(canvas.ops.empty());
  }
}

TEST(ControlPaint, ImageThatFailsIsForgotten) {
  CControlUI c;
  c.SetPosition({0, 0, 10, 10});
  c.SetAttribute(L"bkimage", L"missing.png");
  RecordingCanvas canvas;
  canvas.imagesLoad = false;
  c.Paint(canvas, {0, 0, 10, 10});
  EXPECT_EQ(canvas.Only("image").size(), 1u);
  EXPECT_TRUE(c.BkImage().IsEmpty());
  c.Paint(canvas, {0, 0, 10, 10});
  EXPECT_EQ(canvas.Only("image").size(), 1u);  // not tried again
  c.Paint(canvas, {20, 20, 30, 30});           // outside: nothing at all
}

TEST(ControlEvents, UnhandledEventsBubbleAndTimersNotify) {
  Bound b;
  NotifyLog log;
  b.host.AddNotifier(&log);
  std::vector<int> seenByRoot;
  struct Sub {
    std::vector<int>* seen;
    bool OnEvent(SkinEvent& e) {
      seen->push_back(e.type);
      return true;
    }
  } sub{&seenByRoot};
  b.root->onEvent.Add(CDelegateUI<SkinEvent>::Member<Sub, &Sub::OnEvent>(&sub));
  b.root->onEvent.Add(CDelegateUI<SkinEvent>::Member<Sub, &Sub::OnEvent>(&sub));  // not added twice

  SkinEvent key;
  key.type = kEventKeyDown;
  b.child->DispatchEvent(key);  // bubbles to the parent's HandleEvent, not its delegates
  EXPECT_TRUE(seenByRoot.empty());
  b.root->DispatchEvent(key);
  EXPECT_EQ(seenByRoot, (std::vector<int>{kEventKeyDown}));

  SkinEvent timer;
  timer.type = kEventTimer;
  timer.wParam = 7;
  b.child->DispatchEvent(timer);
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0].type, L"timer");
  EXPECT_EQ(log.seen[0].wParam, 7);
  EXPECT_EQ(log.seen[0].sender, b.child);

  SkinEvent menu;
  menu.type = kEventContextMenu;
  b.child->DispatchEvent(menu);  // "menu" off: passed on, no notification
  EXPECT_EQ(log.seen.size(), 1u);
  b.child->SetContextMenuUsed(true);
  b.child->DispatchEvent(menu);
  ASSERT_EQ(log.seen.size(), 2u);
  EXPECT_EQ(log.seen[1].type, L"menu");

  // A delegate that says no stops the event before HandleEvent.
  struct Veto {
    bool OnEvent(SkinEvent&) { return false; }
  } veto;
  b.child->onEvent.Add(CDelegateUI<SkinEvent>::Member<Veto, &Veto::OnEvent>(&veto));
  b.child->DispatchEvent(timer);
  EXPECT_EQ(log.seen.size(), 2u);

  SkinEvent cursor;
  cursor.type = kEventSetCursor;
  b.child->SetCursor(CControlUI::CursorIdFromName(L"hand"));
  b.child->HandleEvent(cursor);
  EXPECT_EQ(b.host.CursorShape(), 32649);
}

TEST(ControlFocus, HidingTheFocusedControlClearsTheFocus) {
  Bound b;
  NotifyLog log;
  b.host.AddNotifier(&log);
  b.child->SetFocus();
  EXPECT_EQ(b.host.Focus(), b.child);
  EXPECT_TRUE(b.child->IsFocused());
  b.child->SetVisible(false);
  EXPECT_EQ(b.host.Focus(), nullptr);
  EXPECT_FALSE(b.child->IsFocused());
  ASSERT_EQ(log.seen.size(), 2u);
  EXPECT_EQ(log.seen[0].type, L"setfocus");
  EXPECT_EQ(log.seen[1].type, L"killfocus");
  b.child->SetFocus();  // an invisible control cannot take it
  EXPECT_EQ(b.host.Focus(), nullptr);
}

TEST(ControlLocate, FlagsRejectControls) {
  CControlUI c;
  c.SetPosition({0, 0, 10, 10});
  auto self = [](CControlUI* ctl, void*) -> CControlUI* { return ctl; };
  SkinPoint inside{5, 5};
  SkinPoint outside{15, 5};
  EXPECT_EQ(c.LocateControl(self, &inside, kFindVisible), &c);
  EXPECT_EQ(c.LocateControl(self, &inside, kFindHitTest), nullptr);  // not mouse enabled
  c.SetMouseEnabled(true);
  EXPECT_EQ(c.LocateControl(self, &inside, kFindHitTest), &c);
  EXPECT_EQ(c.LocateControl(self, &outside, kFindHitTest), nullptr);
  c.SetEnabled(false);
  EXPECT_EQ(c.LocateControl(self, &inside, kFindEnabled), nullptr);
  c.SetVisible(false);
  EXPECT_EQ(c.LocateControl(self, &inside, kFindVisible), nullptr);
  EXPECT_EQ(c.LocateControl(self, &inside, kFindUpdateTest), nullptr);  // the visitor accepts it
}

TEST(ControlAttributes, StylesThatApplyThemselvesStop) {
  // A style that names itself (directly or through another) must not recurse without end.
  CSkinHost host;
  host.AddStyle(L"self", L"width=\"5\" style=\"self\"");
  host.AddStyle(L"a", L"style=\"b\" height=\"7\"");
  host.AddStyle(L"b", L"style=\"a\"");
  CControlUI c;
  c.SetHost(&host, nullptr, false, nullptr);
  c.SetAttribute(L"style", L"self");
  EXPECT_EQ(c.FixedWidth(), 5);
  c.SetAttribute(L"style", L"a");
  EXPECT_EQ(c.FixedHeight(), 7);
  c.SetHost(nullptr, nullptr, false, nullptr);
}

TEST(ControlAttributes, AStyleNamedSeveralTimesInItsOwnListIsAppliedOnce) {
  // Each application of "fan" would start two more; only a refused re-entry keeps this linear.
  struct Counting : CControlUI {
    void SetAttribute(const std::wstring& name, const std::wstring& value) override {
      calls.push_back(name + L"=" + value);
      CControlUI::SetAttribute(name, value);
    }
    std::vector<std::wstring> calls;
  };
  CSkinHost host;
  host.AddStyle(L"fan", L"style=\"fan\" style=\"other\" style=\"fan\" width=\"3\"");
  host.AddStyle(L"other", L"height=\"4\" style=\"fan\"");
  Counting c;
  c.SetHost(&host, nullptr, false, nullptr);
  c.SetAttribute(L"style", L"fan");
  EXPECT_EQ(c.calls, (std::vector<std::wstring>{L"style=fan", L"style=fan", L"style=other", L"height=4",
                                                 L"style=fan", L"style=fan", L"width=3"}));
  EXPECT_EQ(c.FixedWidth(), 3);
  EXPECT_EQ(c.FixedHeight(), 4);
  c.calls.clear();
  c.SetAttribute(L"style", L"other");  // a style may be applied again once it has finished
  EXPECT_EQ(c.calls, (std::vector<std::wstring>{L"style=other", L"height=4", L"style=fan", L"style=fan",
                                                 L"style=other", L"style=fan", L"width=3"}));
  c.SetHost(nullptr, nullptr, false, nullptr);
}

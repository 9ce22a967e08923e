#include <gtest/gtest.h>

#include <time.h>

#include <cstdint>
#include <memory>

#include "ui/core/container_ui.h"
#include "ui/core/skin_host.h"

using namespace SkinUI;

namespace {
struct NotifyLog : INotifyUI {
  void Notify(SkinNotify& msg) override { seen.push_back(msg); }
  std::vector<SkinNotify> seen;
};
std::uint32_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}
// A window handle that no window system knows: the host only stores it.
SkinWindowHandle FakeWindow() {
  static int window;
  return reinterpret_cast<SkinWindowHandle>(&window);
}
}  // namespace

TEST(SkinHostRegistries, FirstRegistrationWinsAndAttachingAWindowKeepsOnlyStyles) {
  CSkinHost host;
  host.AddStyle(L"s", L"a=\"1\"");
  host.AddStyle(L"s", L"a=\"2\"");
  ASSERT_NE(host.FindStyle(L"s"), nullptr);
  EXPECT_EQ(*host.FindStyle(L"s"), L"a=\"1\"");
  host.AddClassDefaults(L"Button", L"height=\"20\"");
  host.AddClassDefaults(L"Button", L"height=\"30\"");
  EXPECT_EQ(*host.FindClassDefaults(L"Button"), L"height=\"20\"");
  EXPECT_EQ(host.FindClassDefaults(L"button"), nullptr);  // names are case-sensitive
  host.AddFont(L"F", 12, 0, false, false, false, false);

  host.AttachWindow(FakeWindow());
  EXPECT_NE(host.FindStyle(L"s"), nullptr);
  EXPECT_EQ(host.FindClassDefaults(L"Button"), nullptr);
  EXPECT_EQ(host.FontCount(), 0);
  EXPECT_EQ(host.Window(), FakeWindow());
}

TEST(SkinHostRegistries, FontsByIndexAndTheDefaultFont) {
  CSkinHost host;
  SkinFontInfo* a = host.AddFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
  SkinFontInfo* b = host.AddFont(L"Microsoft YaHei", 14, 700, true, false, false, false);
  EXPECT_EQ(host.Font(0), a);
  EXPECT_EQ(host.Font(1), b);
  SkinFontInfo* def = host.Font(-1);
  EXPECT_EQ(host.Font(7), def);  // outside the list: the default font
  EXPECT_NE(def, a);
  EXPECT_EQ(host.FindFont(L"Microsoft YaHei", 14, 700, true, false, false), b);
  EXPECT_EQ(host.FindFont(L"Microsoft YaHei", 14, 700, false, false, false), nullptr);
  host.SetDefaultFont(L"Microsoft YaHei", 16, 0, false, false, false, false);
  EXPECT_EQ(host.Font(-1)->size, 16);
  SkinFontInfo* longFace = host.AddFont(std::wstring(40, L'x'), 12, 0, false, false, false, false);
  EXPECT_EQ(longFace->face.size(), 31u);
  EXPECT_EQ(host.FindFont(std::wstring(40, L'x'), 12, 0, false, false, false), longFace);
}

// Metrics and font files belong to the drawing layer's font backend; without one the core gets
// by with the nominal size and refuses font files, and measures for real once one is installed.
TEST(SkinHostRegistries, FontMetricsComeFromTheFontBackend) {
  CSkinHost host;
  SkinFontInfo* f = host.AddFont(L"Microsoft YaHei", 14, 0, false, false, false, false);
  EXPECT_EQ(host.FontInfo(*f).height, 14);
  EXPECT_FALSE(f->metricsValid);  // nominal only: a backend installed later still measures it
  SkinFontInfo* huge = host.AddFont(L"Microsoft YaHei", 2147483647, 0, false, false, false, false);
  EXPECT_GT(host.FontInfo(*huge).height, 0);
  EXPECT_GT(huge->maxCharWidth, 0);

  static int measured = 0;
  CSkinHost::FontBackend backend;
  backend.measure = [](SkinFontInfo& font) {
    ++measured;
    font.height = 17;
    font.metricsValid = true;
  };
  CSkinHost::SetFontBackend(backend);
  EXPECT_EQ(host.FontInfo(*f).height, 17);
  EXPECT_EQ(host.FontInfo(*f).height, 17);
  EXPECT_EQ(measured, 1);  // measured once, then remembered
  CSkinHost::SetFontBackend({});
}

TEST(SkinHostRegistries, FontsAndTheDefaultFontFallBackThroughTheParentChain) {
  CSkinHost parent, child;
  SkinFontInfo* p0 = parent.AddFont(L"P", 10, 0, false, false, false, false);
  parent.SetDefaultFont(L"PD", 11, 0, false, false, false, false);
  ASSERT_TRUE(child.SetParentHost(&parent));
  EXPECT_EQ(child.Font(0), p0);  // no fonts of its own
  EXPECT_EQ(child.Font(5)->face, L"PD");
  EXPECT_EQ(child.DefaultFontInfo().face, L"PD");
  child.SetDefaultFont(L"CD", 13, 0, false, false, false, false);
  EXPECT_EQ(child.Font(0), p0);
  EXPECT_EQ(child.Font(5)->face, L"CD");  // its own default counts before the parent's
  EXPECT_EQ(child.DefaultFontInfo().face, L"CD");
  EXPECT_EQ(parent.Font(5)->face, L"PD");
}

TEST(SkinHostRegistries, ParentChainFallbackAndCycles) {
  CSkinHost parent, child, grandchild;
  parent.AddStyle(L"p", L"x=\"1\"");
  parent.SetDefaultTextColor(0xFF112233);
  child.SetDefaultTextColor(0xFF445566);
  EXPECT_TRUE(child.SetParentHost(&parent));
  EXPECT_TRUE(grandchild.SetParentHost(&child));
  EXPECT_NE(grandchild.FindStyle(L"p"), nullptr);
  EXPECT_EQ(grandchild.DefaultTextColor(), 0xFF112233u);  // colours come from the topmost host
  EXPECT_FALSE(parent.SetParentHost(&grandchild));
  EXPECT_FALSE(parent.SetParentHost(&parent));
  EXPECT_EQ(parent.ParentHost(), nullptr);
}

TEST(SkinHostRegistries, OptionGroupsKeepInsertionOrderWithoutDuplicates) {
  CSkinHost host;
  CControlUI a, b;
  EXPECT_TRUE(host.AddOptionGroup(L"g", &a));
  EXPECT_TRUE(host.AddOptionGroup(L"g", &b));
  EXPECT_FALSE(host.AddOptionGroup(L"g", &a));
  ASSERT_NE(host.OptionGroup(L"g"), nullptr);
  EXPECT_EQ(*host.OptionGroup(L"g"), (std::vector<CControlUI*>{&a, &b}));
  host.RemoveOptionGroup(L"g", &a);
  EXPECT_EQ(*host.OptionGroup(L"g"), (std::vector<CControlUI*>{&b}));
  host.RemoveOptionGroup(L"g", &b);
  EXPECT_EQ(host.OptionGroup(L"g"), nullptr);
}

TEST(SkinHostRegistries, NamesOfTheSubtreeAndReleasedControls) {
  CSkinHost host;
  auto root = std::make_unique<CContainerUI>();
  auto* inner = new CContainerUI();
  auto* x1 = new CControlUI();
  auto* x2 = new CControlUI();
  x1->SetName(L"x");
  x2->SetName(L"x");
  inner->SetName(L"inner");
  inner->Add(x1);
  inner->Add(x2);
  root->Add(inner);
  CContainerUI* r = root.get();
  EXPECT_TRUE(host.AttachRoot(std::move(root)));
  EXPECT_EQ(host.Root(), r);
  EXPECT_EQ(host.FindControlByName(L"inner"), inner);
  EXPECT_EQ(host.FindControlByName(L"x"), x1);  // the first control keeps a name
  EXPECT_EQ(x1->Parent(), inner);
  EXPECT_EQ(x1->Host(), &host);

  NotifyLog log;
  host.AddNotifier(&log);
  host.SendNotify(x1, L"click", 1, 2, true);
  EXPECT_TRUE(log.seen.empty());
  inner->SetDelayedDestroy(false);
  inner->Remove(x1);  // destroyed at once: its name and its queued sender are forgotten
  EXPECT_EQ(host.FindControlByName(L"x"), nullptr);
  host.DeliverQueuedNotifications();
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0].type, L"click");
  EXPECT_EQ(log.seen[0].sender, nullptr);
  EXPECT_EQ(log.seen[0].lParam, 2);
  EXPECT_FALSE(host.AttachRoot(nullptr));
  EXPECT_EQ(host.Root(), nullptr);
  EXPECT_EQ(host.DelayedCleanupCount(), 1u);  // the old root waits for the cleanup pass
}

TEST(SkinHostRegistries, AReplacedRootGivesUpItsNames) {
  CSkinHost host;
  auto make = [] {
    auto root = std::make_unique<CContainerUI>();
    auto* c = new CControlUI();
    c->SetName(L"btn_close");
    root->Add(c);
    return root;
  };
  host.AttachRoot(make());
  auto second = make();
  CControlUI* current = second->ItemAt(0);
  host.AttachRoot(std::move(second));
  EXPECT_EQ(host.FindControlByName(L"btn_close"), current);
  host.ProcessDelayedCleanup();  // the old tree goes away
  EXPECT_EQ(host.FindControlByName(L"btn_close"), current);
}

TEST(SkinHostRegistries, VirtualWindowNameComesFromTheNearestAncestor) {
  CSkinHost host;
  auto root = std::make_unique<CContainerUI>();
  auto* c = new CControlUI();
  root->Add(c);
  CContainerUI* r = root.get();
  host.AttachRoot(std::move(root));
  r->SetAttribute(L"virtualwnd", L"page");
  EXPECT_TRUE(host.UsesVirtualWnd());
  NotifyLog log;
  host.AddNotifier(&log);
  const std::uint32_t before = MonotonicMs();
  host.SendNotify(c, L"click");
  const std::uint32_t after = MonotonicMs();
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0].virtualWnd, L"page");
  // Stamped with the time since system start.
  EXPECT_LE(log.seen[0].timestamp - before, after - before);
}

TEST(SkinHostWindow, SettingsAndTimersWithoutAWindow) {
  CSkinHost host;
  host.SetOpacity(300);
  EXPECT_EQ(host.Opacity(), 255);
  host.SetOpacity(-4);
  EXPECT_EQ(host.Opacity(), 0);
  EXPECT_TRUE(host.TakeFocus());
  EXPECT_EQ(host.DefaultTextColor(), 0xFF000000u);
  EXPECT_EQ(host.LinkHoverTextColor(), 0xFFD3215Fu);
  CControlUI c;
  EXPECT_FALSE(host.SetTimer(&c, 1, 100));  // no native window runs timers
  EXPECT_FALSE(host.KillTimer(&c, 1));
}

TEST(SkinHostLayout, LayoutPassPositionsTheRootOnceForTheClientArea) {
  CSkinHost host;
  auto root = std::make_unique<CContainerUI>();
  auto* c = new CControlUI();
  root->Add(c);
  host.AttachRoot(std::move(root));
  EXPECT_TRUE(host.IsLayoutNeeded());
  host.LayoutIfNeeded({0, 0, 80, 60});
  EXPECT_FALSE(host.IsLayoutNeeded());
  EXPECT_EQ(c->Position(), (SkinRect{0, 0, 80, 60}));
  c->SetFixedWidth(10);  // asks the parent for a layout
  EXPECT_TRUE(host.IsLayoutNeeded());
}

TEST(SkinHostLayout, OnlyOutOfDateControlsArePlacedAgainEachOnce) {
  struct Counted : CControlUI {
    void SetPosition(const SkinRect& rc) override {
      ++placed;
      CControlUI::SetPosition(rc);
    }
    int placed = 0;
  };
  struct CountedBox : CContainerUI {
    void SetPosition(const SkinRect& rc) override {
      ++placed;
      CContainerUI::SetPosition(rc);
    }
    int placed = 0;
  };
  CSkinHost host;
  auto root = std::make_unique<CContainerUI>();
  auto* box = new CountedBox();
  auto* leaf = new Counted();
  auto* other = new Counted();
  box->Add(leaf);
  root->Add(box);
  root->Add(other);
  host.AttachRoot(std::move(root));
  host.LayoutIfNeeded({0, 0, 80, 60});
  box->placed = leaf->placed = other->placed = 0;

  leaf->RequestLayout();
  host.LayoutIfNeeded({0, 0, 80, 60});
  EXPECT_EQ(leaf->placed, 1);
  EXPECT_EQ(box->placed, 0);
  EXPECT_EQ(other->placed, 0);

  box->RequestLayout();  // lays its children out itself
  leaf->RequestLayout();
  host.LayoutIfNeeded({0, 0, 80, 60});
  EXPECT_EQ(box->placed, 1);
  EXPECT_EQ(leaf->placed, 2);
  EXPECT_EQ(other->placed, 0);
}

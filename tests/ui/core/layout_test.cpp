#include <gtest/gtest.h>

#include <memory>

#include "recording_canvas.h"
#include "tests/support/scoped_hook.h"
#include "test_scroll_bar.h"
#include "ui/core/child_layout_ui.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/tab_layout_ui.h"
#include "ui/core/tile_layout_ui.h"
#include "ui/core/vertical_layout_ui.h"

using namespace SkinUI;

namespace {

struct NotifyLog : INotifyUI {
  void Notify(SkinNotify& msg) override { seen.push_back(msg); }
  std::vector<SkinNotify> seen;
};

// Builds a layout of `T` with children made by `make` and attaches it to a host.
template <class T>
struct Tree {
  CSkinHost host;
  T* root;
  std::vector<CControlUI*> kids;
  explicit Tree(int children, void (*setup)(int, CControlUI&) = nullptr) {
    auto r = std::make_unique<T>();
    root = r.get();
    for (int i = 0; i < children; ++i) {
      auto* c = new CControlUI();
      if (setup != nullptr) setup(i, *c);
      root->Add(c);
      kids.push_back(c);
    }
    host.AttachRoot(std::move(r));
  }
};

}  // namespace

TEST(VerticalLayout, StretchShareDropsTheRemainder) {
  for (int height : {398, 399}) {
    Tree<CVerticalLayoutUI> t(3, [](int i, CControlUI& c) {
      if (i == 0) c.SetFixedHeight(44);
    });
    t.root->SetPosition({0, 0, 300, height});
    EXPECT_EQ(t.kids[0]->Position(), (SkinRect{0, 0, 300, 44})) << height;
    EXPECT_EQ(t.kids[1]->Position(), (SkinRect{0, 44, 300, 221})) << height;
    EXPECT_EQ(t.kids[2]->Position(), (SkinRect{0, 221, 300, 398})) << height;
  }
}

TEST(VerticalLayout, MaxHeightBelowTheStretchIsKeptAndNotRedistributed) {
  Tree<CVerticalLayoutUI> t(2, [](int i, CControlUI& c) {
    if (i == 0) c.SetMaxHeight(50);
  });
  t.root->SetPosition({0, 0, 100, 300});
  EXPECT_EQ(t.kids[0]->Height(), 50);
  EXPECT_EQ(t.kids[1]->Position(), (SkinRect{0, 50, 100, 200}));  // still 150, not 250
}

TEST(VerticalLayout, ChildPaddingCountsBetweenChildrenOnly) {
  Tree<CVerticalLayoutUI> t(3, [](int i, CControlUI& c) {
    if (i < 2) c.SetFixedHeight(30);
  });
  t.root->SetChildPadding(10);
  t.root->SetPosition({0, 0, 100, 200});
  // fixed total 30 + 30 + 2 * 10 = 80, the stretchable one gets 120
  EXPECT_EQ(t.kids[1]->Position().top, 40);
  EXPECT_EQ(t.kids[2]->Position(), (SkinRect{0, 80, 100, 200}));
}

TEST(VerticalLayout, InsetFixedWidthAndLeftAlignment) {
  Tree<CVerticalLayoutUI> t(2, [](int i, CControlUI& c) {
    if (i == 0) c.SetFixedWidth(40);
    if (i == 1) c.SetPadding({5, 0, 5, 0});
  });
  t.root->SetInset({10, 20, 10, 20});
  t.root->SetPosition({0, 0, 100, 100});
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{10, 20, 50, 50}));
  EXPECT_EQ(t.kids[1]->Position(), (SkinRect{15, 50, 85, 80}));
}

TEST(HorizontalLayout, PaddingMovesTheChildAndCountsTowardTheFixedWidth) {
  Tree<CHorizontalLayoutUI> t(2, [](int i, CControlUI& c) {
    if (i == 0) {
      c.SetFixedWidth(50);
      c.SetAttribute(L"padding", L"16,62,0,0");
    }
  });
  t.root->SetPosition({0, 0, 300, 100});
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{16, 62, 66, 100}));
  EXPECT_EQ(t.kids[1]->Position(), (SkinRect{66, 0, 300, 100}));  // 300 - 50 - 16
}

TEST(HorizontalLayout, ChildPaddingAndStretch) {
  Tree<CHorizontalLayoutUI> t(3);
  t.root->SetChildPadding(10);
  t.root->SetPosition({0, 0, 101, 20});
  // (101 - 20) / 3 = 27 each, the remainder stays empty
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{0, 0, 27, 20}));
  EXPECT_EQ(t.kids[1]->Position(), (SkinRect{37, 0, 64, 20}));
  EXPECT_EQ(t.kids[2]->Position(), (SkinRect{74, 0, 101, 20}));
}

TEST(TabLayout, FirstVisiblePageIsCurrentAndSelectionNotifies) {
  CSkinHost host;
  auto tab = std::make_unique<CTabLayoutUI>();
  CTabLayoutUI* t = tab.get();
  auto* hidden = new CControlUI();
  hidden->SetVisible(false);
  auto* page1 = new CControlUI();
  auto* page2 = new CControlUI();
  t->Add(hidden);
  t->Add(page1);
  t->Add(page2);
  EXPECT_EQ(t->CurrentSel(), 1);
  EXPECT_TRUE(page1->IsVisible());
  EXPECT_FALSE(page2->IsVisible());
  host.AttachRoot(std::move(tab));
  NotifyLog log;
  host.AddNotifier(&log);
  t->SetInset({1, 1, 1, 1});
  t->SetPosition({0, 0, 50, 50});
  EXPECT_EQ(page1->Position(), (SkinRect{1, 1, 49, 49}));

  EXPECT_TRUE(t->SelectItem(2));
  EXPECT_TRUE(page2->IsVisible());
  EXPECT_FALSE(page1->IsVisible());
  EXPECT_EQ(page2->Position(), (SkinRect{1, 1, 49, 49}));
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0].type, L"tabselect");
  EXPECT_EQ(log.seen[0].wParam, 2);
  EXPECT_EQ(log.seen[0].lParam, 1);
  EXPECT_TRUE(t->SelectItem(2));  // again: no effect, no notification
  EXPECT_EQ(log.seen.size(), 1u);
  EXPECT_FALSE(t->SelectItem(3));
  EXPECT_FALSE(t->SelectItem(-1));

  t->SetDelayedDestroy(false);
  EXPECT_TRUE(t->Remove(page2));  // the current page: the first remaining one takes over
  EXPECT_EQ(t->CurrentSel(), 0);
  EXPECT_TRUE(hidden->IsVisible());
}

TEST(TabLayout, InsertingAndRemovingBeforeTheCurrentPageKeepsItCurrent) {
  CTabLayoutUI t;
  t.SetDelayedDestroy(false);
  auto* a = new CControlUI();
  auto* b = new CControlUI();
  t.Add(a);
  t.Add(b);
  ASSERT_EQ(t.CurrentSel(), 0);
  auto* before = new CControlUI();
  before->SetVisible(false);
  EXPECT_TRUE(t.AddAt(before, 0));
  EXPECT_EQ(t.CurrentSel(), 1);  // still page a
  CControlUI stray;
  EXPECT_FALSE(t.AddAt(&stray, 9));  // a bad index is refused, and the control is not taken
  EXPECT_EQ(t.CurrentSel(), 1);
  auto* after = new CControlUI();
  EXPECT_TRUE(t.AddAt(after, 3));
  EXPECT_EQ(t.CurrentSel(), 1);
  EXPECT_FALSE(after->IsVisible());  // behind the current page: hidden like an appended one
  EXPECT_TRUE(t.Remove(before));
  EXPECT_EQ(t.CurrentSel(), 0);
  EXPECT_EQ(t.ItemAt(t.CurrentSel()), a);
  t.RemoveAll();
  EXPECT_EQ(t.CurrentSel(), -1);
}

TEST(TabLayout, SelectedIdZeroAfterBuildChangesNothing) {
  CSkinHost host;
  auto tab = std::make_unique<CTabLayoutUI>();
  CTabLayoutUI* t = tab.get();
  t->Add(new CControlUI());
  t->Add(new CControlUI());
  host.AttachRoot(std::move(tab));
  NotifyLog log;
  host.AddNotifier(&log);
  t->SetAttribute(L"selectedid", L"0");
  EXPECT_TRUE(log.seen.empty());
  t->SetAttribute(L"selectedid", L"1");
  ASSERT_EQ(log.seen.size(), 1u);
  EXPECT_EQ(log.seen[0].wParam, 1);
  EXPECT_EQ(log.seen[0].lParam, 0);
}

TEST(FloatingChildren, NegativeOffsetsCountFromTheFarEdge) {
  Tree<CContainerUI> t(1, [](int, CControlUI& c) {
    c.SetAttribute(L"float", L"true");
    c.SetAttribute(L"pos", L"-30,10,-10,30");
  });
  t.root->SetPosition({100, 100, 400, 300});
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{370, 110, 390, 130}));
  // Positioning it keeps the offsets relative to the far edge.
  EXPECT_EQ(t.kids[0]->FixedXY(), (SkinSize{-10, 10}));
  t.root->SetPosition({0, 0, 200, 100});
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{170, 10, 190, 30}));
}

TEST(FloatingChildren, RelativePositionFollowsTheContainerSize) {
  Tree<CContainerUI> t(1, [](int, CControlUI& c) {
    c.SetAttribute(L"float", L"true");
    c.SetAttribute(L"pos", L"10,10,30,30");
    c.SetAttribute(L"relativepos", L"50,0,100,0");
  });
  t.root->SetPosition({0, 0, 100, 100});
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{10, 10, 30, 30}));  // remembers 100 x 100
  t.root->SetPosition({0, 0, 140, 100});
  // dx = 40: moved by 50 % (20), stretched by 100 % (40) on top of the width it had
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{30, 10, 90, 30}));
}

TEST(TileLayout, GridOfCentredCells) {
  Tree<CTileLayoutUI> t(5, [](int i, CControlUI& c) {
    c.SetFixedWidth(20);
    c.SetFixedHeight(i == 1 ? 30 : 10);
  });
  t.root->SetAttribute(L"itemsize", L"50,0");
  t.root->SetPosition({0, 0, 150, 100});
  EXPECT_EQ(t.root->Columns(), 3);
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{15, 10, 35, 20}));   // row height 30 from child 1
  EXPECT_EQ(t.kids[1]->Position(), (SkinRect{65, 0, 85, 30}));
  EXPECT_EQ(t.kids[2]->Position(), (SkinRect{115, 10, 135, 20}));
  EXPECT_EQ(t.kids[3]->Position(), (SkinRect{15, 30, 35, 40}));   // second row, height 10
  EXPECT_EQ(t.kids[4]->Position(), (SkinRect{65, 30, 85, 40}));

  Tree<CTileLayoutUI> none(2);  // no item width and no columns: one column
  none.root->SetPosition({0, 0, 40, 40});
  EXPECT_EQ(none.root->Columns(), 1);
  EXPECT_EQ(none.kids[0]->Position().Width(), 40);
  none.root->SetAttribute(L"columns", L"0");  // ignored
  EXPECT_EQ(none.root->Columns(), 1);
}

TEST(ContainerScroll, VerticalBarShowsForOverflowAndTheWheelScrollsByALine) {
  testsupport::ScopedHook factory(&CContainerUI::SetScrollBarFactory, &testsupport::TestScrollBar::Make);
  Tree<CVerticalLayoutUI> t(1, [](int, CControlUI& c) { c.SetFixedHeight(350); });
  t.root->SetAttribute(L"vscrollbar", L"true");
  EXPECT_TRUE(t.root->IsMouseEnabled());
  t.root->SetPosition({0, 0, 100, 200});
  CScrollBarBaseUI* bar = t.root->VerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->ScrollRange(), 150);
  EXPECT_EQ(bar->Position(), (SkinRect{84, 0, 100, 200}));
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{0, 0, 84, 350}));

  const int line = t.host.DefaultFontInfo().height + 30;
  SkinEvent wheel;
  wheel.type = kEventScrollWheel;
  wheel.wParam = 1;  // down
  t.root->HandleEvent(wheel);
  EXPECT_EQ(t.root->ScrollPos().cy, line);
  EXPECT_EQ(t.kids[0]->Position().top, -line);
  SkinEvent end;
  end.type = kEventKeyDown;
  end.chKey = kVkEnd;
  t.root->HandleEvent(end);
  EXPECT_EQ(t.root->ScrollPos().cy, 150);
  EXPECT_EQ(t.kids[0]->Position().top, -150);

  t.kids[0]->SetFixedAndMinHeight(150);  // content fits again: the bar goes away
  t.root->SetPosition({0, 0, 100, 200});
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(t.root->ScrollPos().cy, 0);
  EXPECT_EQ(t.kids[0]->Position(), (SkinRect{0, 0, 100, 150}));
}

TEST(ContainerScroll, PageKeysMoveByTheInsideLessInset) {
  testsupport::ScopedHook factory(&CContainerUI::SetScrollBarFactory, &testsupport::TestScrollBar::Make);
  Tree<CVerticalLayoutUI> t(1, [](int, CControlUI& c) { c.SetFixedHeight(900); });
  t.root->SetAttribute(L"vscrollbar", L"true");
  t.root->SetAttribute(L"inset", L"0,10,0,10");
  t.root->SetPosition({0, 0, 100, 200});
  auto key = [&](int vk) {
    SkinEvent e;
    e.type = kEventKeyDown;
    e.chKey = vk;
    t.root->HandleEvent(e);
    return t.root->ScrollPos().cy;
  };
  EXPECT_EQ(key(kVkNext), 180);  // 200 less the inset of 10 + 10
  EXPECT_EQ(key(kVkNext), 360);
  EXPECT_EQ(key(kVkPrior), 180);
  EXPECT_EQ(key(kVkHome), 0);
  EXPECT_EQ(key(kVkPrior), 0) << "never above the top";
}

TEST(ContainerChildren, DelayedDestroyWaitsForTheCleanupPass) {
  Tree<CContainerUI> t(2);
  struct Watch {
    bool gone = false;
    bool OnDestroy(CControlUI&) {
      gone = true;
      return true;
    }
  } watch;
  t.kids[0]->onDestroy.Add(CDelegateUI<CControlUI>::Member<Watch, &Watch::OnDestroy>(&watch));
  t.kids[0]->SetName(L"first");
  t.host.BindSubtree(t.kids[0], t.root);
  EXPECT_EQ(t.host.FindControlByName(L"first"), t.kids[0]);
  EXPECT_TRUE(t.root->Remove(t.kids[0]));
  EXPECT_EQ(t.root->Count(), 1);
  EXPECT_FALSE(watch.gone);
  EXPECT_EQ(t.host.DelayedCleanupCount(), 1u);
  t.host.ProcessDelayedCleanup();
  EXPECT_TRUE(watch.gone);
  EXPECT_EQ(t.host.FindControlByName(L"first"), nullptr);
  EXPECT_FALSE(t.root->Remove(t.kids[0]));  // no longer a child
  EXPECT_FALSE(t.root->Add(nullptr));
  EXPECT_FALSE(t.root->Add(t.kids[1]));     // already a child: not listed twice
  EXPECT_EQ(t.root->ItemAt(5), nullptr);
  EXPECT_EQ(t.root->ItemIndex(t.kids[1]), 0);
}

TEST(ContainerHitTest, TransparentChildrenPassTheClickToTheContainer) {
  Tree<CHorizontalLayoutUI> t(2, [](int i, CControlUI& c) {
    c.SetFixedWidth(50);
    if (i == 1) c.SetAttribute(L"tooltip", L"tip");
  });
  t.root->SetPosition({0, 0, 100, 20});
  EXPECT_EQ(t.host.FindControlAt({10, 10}), nullptr);  // label-like child, container not mouse enabled
  EXPECT_EQ(t.host.FindControlAt({60, 10}), t.kids[1]);
  t.root->SetMouseEnabled(true);
  EXPECT_EQ(t.host.FindControlAt({10, 10}), t.root);
  t.root->SetMouseChildEnabled(false);
  EXPECT_EQ(t.host.FindControlAt({60, 10}), t.root);
  t.root->SetMouseChildEnabled(true);
  t.root->SetInset({0, 0, 0, 5});  // a child overhanging the children area is not found there
  t.root->SetPosition({0, 0, 100, 20});
  t.kids[1]->SetPosition({50, 0, 100, 20});
  EXPECT_EQ(t.host.FindControlAt({60, 10}), t.kids[1]);
  EXPECT_EQ(t.host.FindControlAt({60, 17}), t.root);
}

TEST(ContainerPaint, ChildrenAreClippedAndFloatingOnesUseTheOuterClip) {
  Tree<CContainerUI> t(2, [](int i, CControlUI& c) {
    c.SetBkColor(0xFF000010 + i);
    if (i == 1) {
      c.SetAttribute(L"float", L"true");
      c.SetAttribute(L"pos", L"0,0,10,10");
    }
  });
  t.root->SetInset({5, 5, 5, 5});
  t.root->SetPosition({0, 0, 100, 100});
  testsupport::RecordingCanvas canvas;
  t.root->Paint(canvas, {0, 0, 100, 100});
  EXPECT_EQ(canvas.depth, 0);
  std::vector<std::string> kinds;
  for (const auto& op : canvas.ops) kinds.push_back(op.kind);
  // outer clip, inner (children area) clip, child 0, back to the outer clip for the floating
  // child, inner again, done.
  EXPECT_EQ(kinds, (std::vector<std::string>{"clip", "clip", "fill", "pop", "fill", "clip", "pop", "pop"}));
  EXPECT_EQ(canvas.ops[1].rc, (SkinRect{5, 5, 95, 95}));
  EXPECT_EQ(canvas.ops[4].rc, (SkinRect{0, 0, 10, 10}));
}

TEST(LayoutArithmetic, ExtremeValuesFromASkinStayBounded) {
  // Sizes and offsets beyond any screen are limited instead of overflowing the layout sums.
  Tree<CVerticalLayoutUI> t(3, [](int i, CControlUI& c) {
    c.SetAttribute(L"pos", L"-2147483648,0,2147483647,2147483647");
    c.SetAttribute(L"maxheight", L"2147483647");
    c.SetAttribute(L"padding", L"2147483647,2147483647,2147483647,2147483647");
    if (i == 2) c.SetAttribute(L"height", L"0");
  });
  t.root->SetAttribute(L"childpadding", L"2147483647");
  EXPECT_EQ(t.kids[0]->FixedWidth(), kSkinCoordLimit);
  t.root->SetPosition({0, 0, 800, 600});
  for (CControlUI* k : t.kids) {
    EXPECT_LE(k->Position().bottom, kSkinCoordLimit);
    EXPECT_GE(k->Position().Height(), 0);
  }
  // The separator strip is measured from an edge by a size from the skin.
  t.root->SetAttribute(L"sepheight", L"-2147483648");
  EXPECT_EQ(t.root->SeparatorRect().bottom, kSkinCoordLimit);
}

TEST(ChildLayout, AFileThatBuildsItselfStopsNesting) {
  // "self.xml" holds a child layout of "self.xml": each level would build the next one forever.
  testsupport::ScopedHook reader(&SetSkinFileReader, [](const std::wstring& name, std::unique_ptr<uint8_t[]>& out,
                                                       bool) -> uint32_t {
    if (name != L"self.xml") return 0;
    const std::string xml = "<W><ChildLayout xmlfile=\"self.xml\" /></W>";
    out = std::make_unique<uint8_t[]>(xml.size());
    std::copy(xml.begin(), xml.end(), out.get());
    return static_cast<uint32_t>(xml.size());
  });
  CSkinHost host;
  auto root = std::make_unique<CChildLayoutUI>();
  root->SetChildLayoutXML(L"self.xml");
  CControlUI* level = root.get();
  host.AttachRoot(std::move(root));
  int depth = 0;
  while (auto* c = static_cast<CContainerUI*>(level)->ItemAt(0)) {
    level = c;
    ++depth;
  }
  EXPECT_GT(depth, 0);
  EXPECT_LE(depth, CSkinBuilder::kMaxIncludeDepth);
}

TEST(ContainerChildren, ARemovedChildThatIsNotDestroyedForgetsItsParent) {
  // Without auto destroy the caller owns what it removes; that control must not keep pointing at
  // a container that may be gone before it is.
  CSkinHost host;
  auto root = std::make_unique<CContainerUI>();
  CContainerUI* r = root.get();
  auto* kept = new CContainerUI();
  kept->Add(new CControlUI());
  r->Add(kept);
  host.AttachRoot(std::move(root));
  r->SetPosition({0, 0, 50, 50});
  ASSERT_EQ(kept->Parent(), r);
  r->SetAutoDestroy(false);
  EXPECT_TRUE(r->Remove(kept));
  EXPECT_EQ(kept->Parent(), nullptr);
  EXPECT_EQ(kept->ItemAt(0)->Parent(), kept);
  host.AttachRoot(nullptr);  // the old root is destroyed by the cleanup pass
  host.ProcessDelayedCleanup();
  delete kept;  // repaints itself on the way out: reads its parent chain
}

// Painting a whole installer frame (819 x 698, the expanded window) into an image surface: a
// nine-slice background, the 767 x 398 slideshow frame, the install button's sprite frame and
// check boxes, a few labels (one translucent) and the licence line with its link. The images are
// made here (PNG bytes served as skin files) and decoded once, as a window's host keeps them; each
// iteration clears the bitmap and draws everything, as a full repaint does.
// WEBINST_BENCH_PNG=<file> writes one painted frame there, to look at.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/controls/draw_fixture.h"
#include "ui/controls/cairo_canvas.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_host.h"

using namespace SkinUI;

namespace {

constexpr int kWidth = 819, kHeight = 698;

std::map<std::wstring, std::string>& Files() {
  static std::map<std::wstring, std::string> files;
  return files;
}

uint32_t ReadFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  auto it = Files().find(name);
  if (it == Files().end()) return 0;
  out = std::make_unique<uint8_t[]>(it->second.size());
  std::memcpy(out.get(), it->second.data(), it->second.size());
  return static_cast<uint32_t>(it->second.size());
}

// PNG bytes of a w x h picture drawn by `draw`.
template <class Draw>
std::string Png(int w, int h, Draw draw) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  draw(cr);
  cairo_destroy(cr);
  std::string bytes = testsupport::SurfacePng(s);
  cairo_surface_destroy(s);
  return bytes;
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void MakeImages() {
  // Window background: a white rounded panel with a soft shadow and a blue title band.
  Files()[L"img\\bench\\bg.png"] = Png(152, 152, [](cairo_t* cr) {
    for (int i = 10; i > 0; --i) {
      RoundRect(cr, 10 - i, 10 - i + 2, 132 + 2 * i, 132 + 2 * i, 6 + i);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.012 * (11 - i));
      cairo_fill(cr);
    }
    RoundRect(cr, 10, 10, 132, 132, 6);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 10, 10, 132, 44);
    cairo_set_source_rgb(cr, 0.85, 0.92, 1);
    cairo_fill(cr);
  });
  // Slideshow: three 767 x 398 slides of gradients.
  Files()[L"img\\bench\\slides.png"] = Png(2301, 398, [](cairo_t* cr) {
    for (int i = 0; i < 3; ++i) {
      cairo_pattern_t* p = cairo_pattern_create_linear(767 * i, 0, 767 * (i + 1), 398);
      cairo_pattern_add_color_stop_rgb(p, 0, 0.1 * i, 0.4, 0.8);
      cairo_pattern_add_color_stop_rgb(p, 1, 0.9, 0.6, 0.2 * i);
      cairo_rectangle(cr, 767 * i, 0, 767, 398);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }
  });
  // The large button, four 228 x 62 frames; check boxes, four 16 x 16 frames.
  Files()[L"img\\bench\\btn.png"] = Png(912, 62, [](cairo_t* cr) {
    for (int i = 0; i < 4; ++i) {
      RoundRect(cr, 228 * i + 1, 1, 226, 60, 4);
      cairo_set_source_rgb(cr, 0, 0.41 - 0.05 * i, 0.71);
      cairo_fill(cr);
    }
  });
  Files()[L"img\\bench\\chk.png"] = Png(64, 16, [](cairo_t* cr) {
    for (int i = 0; i < 4; ++i) {
      cairo_rectangle(cr, 16 * i + 1.5, 1.5, 13, 13);
      cairo_set_source_rgb(cr, 0.3, 0.5, 0.9);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  });
}

struct Frame {
  Frame() : pixels(static_cast<std::size_t>(kWidth) * kHeight) {
    InstallDrawingServices();
    MakeImages();
    SetSkinFileReader(&ReadFile);
    host.SetBackgroundTransparency(1);
    host.SetDefaultFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
    for (int size : {12, 22, 16, 14, 20}) host.AddFont(L"Microsoft YaHei", size, 0, false, false, false, false);
    host.AddFont(L"Microsoft YaHei", 14, 700, false, false, false, false);
    host.SetDefaultTextColor(0xFF333333);
    host.SetLinkTextColor(0xFF0068B5);
    host.SetLinkHoverTextColor(0xFF3560F8);
    for (const wchar_t* s : {L"file='img\\bench\\bg.png' corner='15,54,15,15'",
                             L"file='img\\bench\\slides.png' source='767,0,1534,398'",
                             L"file='img\\bench\\btn.png' source='228,0,456,62'",
                             L"file='img\\bench\\chk.png' source='32,0,48,16' dest='0,0,16,16'"}) {
      specs.emplace_back();
      specs.back().Parse(s);
    }
  }

  void Paint() {
    std::memset(pixels.data(), 0, pixels.size() * 4);
    CCairoCanvas canvas(&host, pixels.data(), kWidth, kHeight, kWidth * 4);
    const SkinRect all{0, 0, kWidth, kHeight};
    CSkinRender::PaintImage(canvas, &host, all, all, specs[0]);
    SkinRect title{50, 20, 300, 40};
    CSkinRender::RenderPlainText(&canvas, &host, title, L"Vellumo", 0xFF333333, 2, DT_VCENTER | DT_SINGLELINE);
    CSkinRender::PaintImage(canvas, &host, {26, 54, 793, 452}, all, specs[1]);
    const SkinRect check{26, 514, 42, 530};
    CSkinRender::PaintImage(canvas, &host, check, all, specs[3]);
    SkinRect licence{52, 514, 244, 532};
    linkCount = 8;
    CSkinRender::RenderMarkupText(&canvas, &host, licence, L"我已仔细阅读并同意{a}《许可协议》{/a}", 0xFF333333,
                                  links, texts, linkCount, DT_WORDBREAK);
    const SkinRect button{296, 470, 524, 532};
    CSkinRender::PaintImage(canvas, &host, button, all, specs[2]);
    SkinRect caption = button;
    CSkinRender::RenderPlainText(&canvas, &host, caption, L"立即安装", 0xFFFFFFFF, 1,
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SkinRect dir{26, 592, 96, 606};
    CSkinRender::RenderPlainText(&canvas, &host, dir, L"安装目录：", 0xFF333333, -1, DT_VCENTER | DT_SINGLELINE);
    SkinRect space{104, 616, 400, 634};
    CSkinRender::RenderPlainText(&canvas, &host, space, L"所需空间：10MB", 0x66000000, -1, DT_VCENTER | DT_SINGLELINE);
    const wchar_t* boxes[] = {L"创建桌面快捷方式", L"创建开始菜单快捷方式", L"创建开机启动项"};
    for (int i = 0; i < 3; ++i) {
      const int x = 104 + i * 230;
      CSkinRender::PaintImage(canvas, &host, {x, 650, x + 14, 664}, all, specs[3]);
      SkinRect label{x + 18, 650, x + 200, 664};
      CSkinRender::RenderPlainText(&canvas, &host, label, boxes[i], 0xFF333333, 3, DT_VCENTER | DT_SINGLELINE);
    }
  }

  std::vector<std::uint32_t> pixels;
  CSkinHost host;
  std::vector<SkinImageSpec> specs;
  SkinRect links[8];
  std::wstring texts[8];
  int linkCount = 8;
};

Frame& TheFrame() {
  static Frame frame;
  return frame;
}

void BM_PaintInstallerFrame(benchmark::State& state) {
  Frame& f = TheFrame();
  f.Paint();  // images decoded, fonts measured
  if (const char* out = std::getenv("WEBINST_BENCH_PNG")) {
    cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(f.pixels.data()),
                                                             CAIRO_FORMAT_ARGB32, kWidth, kHeight, kWidth * 4);
    cairo_surface_write_to_png(s, out);
    cairo_surface_destroy(s);
  }
  if (f.linkCount != 1) state.SkipWithError("the licence line lost its link");
  for (auto _ : state) f.Paint();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PaintInstallerFrame)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_LicenceLine(benchmark::State& state) {
  Frame& f = TheFrame();
  CCairoCanvas canvas(&f.host, f.pixels.data(), kWidth, kHeight, kWidth * 4);
  for (auto _ : state) {
    SkinRect rc{52, 514, 244, 532};
    int count = 8;
    CSkinRender::RenderMarkupText(&canvas, &f.host, rc, L"我已仔细阅读并同意{a}《许可协议》{/a}", 0xFF333333, f.links,
                                  f.texts, count, DT_WORDBREAK);
  }
}
BENCHMARK(BM_LicenceLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

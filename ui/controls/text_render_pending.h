#pragma once
// Placeholder for the text drawing operations until the drawing layer lands.
#include <string>
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"
namespace SkinUI {
void RenderPlainText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text, SkinColor color,
                     int font, std::uint32_t style);
int RenderMarkupText(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text, SkinColor color,
                     SkinRect* links, std::wstring* linkTexts, int& linkCount, std::uint32_t style);
}

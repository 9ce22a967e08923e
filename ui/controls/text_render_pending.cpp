#include "ui/controls/text_render_pending.h"
namespace SkinUI {
void RenderPlainText(IRenderCanvas*, CSkinHost*, SkinRect&, const std::wstring&, SkinColor, int, std::uint32_t) {}
int RenderMarkupText(IRenderCanvas*, CSkinHost*, SkinRect&, const std::wstring&, SkinColor, SkinRect*, std::wstring*,
                     int& linkCount, std::uint32_t) { linkCount = 0; return 0; }
}

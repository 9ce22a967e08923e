#pragma once
// Start-up of the drawing layer: call once on the UI thread before the first skin is built or
// window painted (the installer's start-up and every test that draws or measures text do).
namespace SkinUI {

// Installs what the UI core reaches through its hooks: the canvas factory of the window's paint
// pipeline (Cairo), the image loader and the module-resource reader of the skin host, and the
// font backend (Pango metrics, skin font files); loads the font alias rule of the skins' faces.
// Calling it again changes nothing.
void InstallDrawingServices();

}  // namespace SkinUI

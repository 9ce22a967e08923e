#pragma once
// Loading skin images into the premultiplied bitmaps the drawing code blits. The skin host calls
// LoadSkinImage through its image-loader hook on the first lookup of a name and keeps the result,
// so every image file is decoded once per host.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/core/skin_host.h"

namespace SkinUI {

// The bytes of `name`: with a restype, the module resource of that type whose id is the decimal
// number `name` starts with (nothing else is tried); otherwise the skin file (archive or loose
// file, LoadFileData) and, failing that, the name as a path on disk. Decoded by stb_image (PNG,
// JPEG, BMP, GIF), or rasterised as SVG at svgWidth x svgHeight when both are at least 1. Pixels
// are premultiplied (integer division by 255); a pixel equal to a non-zero `mask` afterwards
// becomes fully transparent. None when the bytes are missing or cannot be decoded.
std::unique_ptr<SkinBitmapInfo> LoadSkinImage(const std::wstring& name, const std::wstring& restype, SkinColor mask,
                                               int svgWidth, int svgHeight);

// The decoding step alone, for bytes already read.
std::unique_ptr<SkinBitmapInfo> DecodeSkinImage(const std::uint8_t* bytes, std::size_t size, SkinColor mask,
                                                int svgWidth, int svgHeight);

}  // namespace SkinUI

#pragma once
// Where the pointer is now, for controls that choose the cursor: the window asks for a cursor
// before the mouse move that caused the request reaches the host, so the host's last mouse
// point may still be the previous one.
#include "ui/core/skin_host.h"

namespace SkinUI {

// The pointer in client coordinates of the host's window; `fallback` without a window.
SkinPoint PointerPosition(const CSkinHost* host, SkinPoint fallback);

}  // namespace SkinUI

#pragma once
// The records that travel through the UI framework: input events handed to controls and
// notifications handed to windows.
#include <cstdint>
#include <string>

#include "ui/core/skin_types.h"

namespace SkinUI {

class CControlUI;

// Event codes of SkinEvent::type.
enum SkinEventType : int {
  kEventKeyDown = 3,
  kEventKeyUp = 4,
  kEventChar = 5,
  kEventSysKey = 6,
  kEventMouseMove = 9,
  kEventMouseLeave = 10,
  kEventMouseEnter = 11,
  kEventMouseHover = 12,
  kEventButtonDown = 13,
  kEventButtonUp = 14,
  kEventRButtonDown = 15,
  kEventRButtonUp = 16,
  kEventDblClick = 17,
  kEventContextMenu = 18,
  kEventScrollWheel = 19,
  kEventKillFocus = 21,
  kEventSetFocus = 22,
  kEventWindowSize = 23,
  kEventSetCursor = 24,
  kEventTimer = 25,
  kEventImeStartComposition = 28,
};

// Events that the pointer makes (moves, enter and leave, hover, buttons, wheel).
inline bool IsMouseEvent(int type) { return type >= kEventMouseMove && type <= kEventScrollWheel; }

// Key state bits of SkinEvent::keyState.
enum SkinKeyState : std::uint16_t {
  kKeyStateLButton = 0x01,
  kKeyStateRButton = 0x02,
  kKeyStateShift = 0x04,
  kKeyStateControl = 0x08,
  kKeyStateAlt = 0x20,
};

// Virtual key codes the containers react to.
enum SkinVirtualKey : int {
  kVkReturn = 0x0D,
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkPrior = 0x21,
  kVkNext = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkUp = 0x26,
  kVkDown = 0x28,
  kVkTab = 0x09,
};

struct SkinEvent {
  int type = 0;
  CControlUI* sender = nullptr;
  std::uint32_t timestamp = 0;  // milliseconds since system start
  SkinPoint ptMouse;
  std::uint16_t chKey = 0;
  std::uint16_t keyState = 0;
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

struct SkinNotify {
  std::wstring type;             // "click", "selectchanged", "tabselect", ...
  std::wstring virtualWnd;       // name of the virtual window the sender belongs to
  CControlUI* sender = nullptr;  // none when the sender was destroyed before delivery
  std::uint32_t timestamp = 0;
  SkinPoint ptMouse;
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

}  // namespace SkinUI

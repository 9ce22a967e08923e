#pragma once
// Window messages and their parameters. The numbers are those the window code of the program
// switches on (a close request is 0x0010, a posted closure 0x8400, the system close command
// 0xF060), so the window layer above reads the same on every platform. The platform's window
// system produces these messages from its native events and packs their parameters as below.
#include <cstdint>

namespace platform {

// ---- messages ------------------------------------------------------------------------------
enum : std::uint32_t {
  kWmNull = 0x0000,
  kWmCreate = 0x0001,       // lParam: CreateInfo*; returning -1 fails the creation
  kWmDestroy = 0x0002,      // the window is already unmapped when this arrives
  kWmMove = 0x0003,         // lParam: client origin on the screen, PackPoint
  kWmSize = 0x0005,         // wParam: kSizeRestored/Minimized/Maximized; lParam: PackPoint(width, height)
  kWmActivate = 0x0006,     // wParam: 0 deactivated, 1 activated
  kWmSetFocus = 0x0007,     // the window got the keyboard focus
  kWmKillFocus = 0x0008,    // the window lost the keyboard focus
  kWmEnable = 0x000A,       // wParam: 1 enabled, 0 disabled
  kWmPaint = 0x000F,        // the window has an invalid area (GetUpdateRect); never carries data
  kWmClose = 0x0010,        // close request; wParam: the close code. The default procedure destroys
  kWmQuit = 0x0012,         // ends GetMessage; wParam: the exit code
  kWmEraseBkgnd = 0x0014,
  kWmShowWindow = 0x0018,   // wParam: 1 shown, 0 hidden
  kWmSetCursor = 0x0020,    // lParam low word: hit-test code (kHtClient over the client area)
  kWmGetMinMaxInfo = 0x0024,  // lParam: MinMaxInfo*
  kWmContextMenu = 0x007B,  // lParam: PackPoint(screen x, screen y)
  kWmNcCreate = 0x0081,     // lParam: CreateInfo*; the first message of every window
  kWmNcDestroy = 0x0082,    // the last message of every window
  kWmNcCalcSize = 0x0083,
  kWmNcHitTest = 0x0084,    // lParam: PackPoint(screen x, screen y); result: a kHt* code
  kWmNcPaint = 0x0085,
  kWmNcActivate = 0x0086,   // wParam: 1 being activated, 0 being deactivated
  kWmNcLButtonDown = 0x00A1,  // wParam: hit-test code; the default procedure drags on kHtCaption
  kWmKeyDown = 0x0100,      // wParam: virtual key (kVk*); lParam bit 30: key was already down (repeat)
  kWmKeyUp = 0x0101,
  kWmChar = 0x0102,         // wParam: the character (a Unicode code point), sent after its kWmKeyDown
  kWmSysKeyDown = 0x0104,   // a key pressed with Alt held (and F10)
  kWmSysKeyUp = 0x0105,
  kWmSysChar = 0x0106,      // a character typed with Alt held
  kWmImeStartComposition = 0x010D,
  kWmSysCommand = 0x0112,   // wParam: kSc*; the default procedure carries the command out
  kWmTimer = 0x0113,        // wParam: timer id
  kWmMouseMove = 0x0200,    // wParam: kMk* key flags; lParam: PackPoint(client x, client y)
  kWmLButtonDown = 0x0201,
  kWmLButtonUp = 0x0202,
  kWmLButtonDblClk = 0x0203,  // replaces the second kWmLButtonDown of a double click (class style kCsDblClks)
  kWmRButtonDown = 0x0204,
  kWmRButtonUp = 0x0205,      // the default procedure answers an unhandled one with kWmContextMenu
  kWmRButtonDblClk = 0x0206,
  kWmMouseWheel = 0x020A,   // wParam high word: signed delta (+120 forward/up, -120 backward/down),
                            // low word: kMk* flags; lParam: PackPoint(screen x, screen y)
  kWmMouseHover = 0x02A1,   // after TrackMouse asked for it; lParam: PackPoint(client x, client y)
  kWmMouseLeave = 0x02A3,   // after TrackMouse asked for it
  kWmPrintClient = 0x0318,
  kWmUser = 0x0400,
  kWmApp = 0x8000,
};

// kWmSize wParam.
enum : std::uintptr_t { kSizeRestored = 0, kSizeMinimized = 1, kSizeMaximized = 2 };

// kWmSysCommand wParam (the low four bits are the platform's and are ignored).
enum : std::uintptr_t {
  kScSize = 0xF000,
  kScMove = 0xF010,
  kScMinimize = 0xF020,
  kScMaximize = 0xF030,
  kScClose = 0xF060,  // Alt+F4 and the window manager's close request arrive as this
  kScRestore = 0xF120,
};

// Hit-test codes (kWmNcHitTest results, kWmSetCursor, kWmNcLButtonDown).
enum : int {
  kHtNowhere = 0,
  kHtClient = 1,
  kHtCaption = 2,
  kHtLeft = 10,
  kHtRight = 11,
  kHtTop = 12,
  kHtTopLeft = 13,
  kHtTopRight = 14,
  kHtBottom = 15,
  kHtBottomLeft = 16,
  kHtBottomRight = 17,
};

// Mouse message key flags (wParam of mouse messages).
enum : std::uint32_t { kMkLButton = 0x01, kMkRButton = 0x02, kMkShift = 0x04, kMkControl = 0x08, kMkMButton = 0x10 };

// Virtual keys (wParam of key messages). Letters and digits are their upper-case ASCII codes.
enum : int {
  kVkBack = 0x08,
  kVkTab = 0x09,  // Shift+Tab is kVkTab with Shift down
  kVkReturn = 0x0D,  // keypad Enter too
  kVkShift = 0x10,
  kVkControl = 0x11,
  kVkMenu = 0x12,  // Alt
  kVkEscape = 0x1B,
  kVkSpace = 0x20,
  kVkPrior = 0x21,
  kVkNext = 0x22,
  kVkEnd = 0x23,
  kVkHome = 0x24,
  kVkLeft = 0x25,
  kVkUp = 0x26,
  kVkRight = 0x27,
  kVkDown = 0x28,
  kVkInsert = 0x2D,
  kVkDelete = 0x2E,
  kVkF1 = 0x70,
  kVkF4 = 0x73,
  kVkF10 = 0x79,
};

// Cursor ids of SetCursor.
enum : std::uint16_t {
  kCursorArrow = 32512,
  kCursorIBeam = 32513,
  kCursorWait = 32514,
  kCursorCross = 32515,
  kCursorUpArrow = 32516,
  kCursorSizeNwse = 32642,
  kCursorSizeNesw = 32643,
  kCursorSizeWe = 32644,
  kCursorSizeNs = 32645,
  kCursorSizeAll = 32646,
  kCursorNo = 32648,
  kCursorHand = 32649,
  kCursorAppStarting = 32650,
  kCursorHelp = 32651,
};

// Class styles.
enum : std::uint32_t { kCsVRedraw = 0x0001, kCsHRedraw = 0x0002, kCsDblClks = 0x0008 };

// Two signed 16-bit coordinates in one parameter, as point-carrying messages pack them.
constexpr std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(x))) |
                                    (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16));
}
constexpr int PointX(std::intptr_t lParam) { return static_cast<std::int16_t>(lParam & 0xFFFF); }
constexpr int PointY(std::intptr_t lParam) { return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF); }
constexpr std::uint16_t LowWord(std::uintptr_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t HighWord(std::uintptr_t v) { return static_cast<std::uint16_t>((v >> 16) & 0xFFFF); }

}  // namespace platform

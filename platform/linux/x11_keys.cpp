#include "platform/linux/x11_keys.h"

#include <X11/keysym.h>

#include "platform/window_messages.h"

namespace platform {
namespace {

struct KeyPair {
  KeySym sym;
  int vk;
};

// Keys whose virtual key does not follow from a character range.
constexpr KeyPair kNamedKeys[] = {
    {XK_BackSpace, kVkBack}, {XK_Tab, kVkTab}, {XK_ISO_Left_Tab, kVkTab}, {XK_Return, kVkReturn},
    {XK_KP_Enter, kVkReturn}, {XK_Shift_L, kVkShift}, {XK_Shift_R, kVkShift}, {XK_Control_L, kVkControl},
    {XK_Control_R, kVkControl}, {XK_Alt_L, kVkMenu}, {XK_Alt_R, kVkMenu}, {XK_Meta_L, kVkMenu},
    {XK_Meta_R, kVkMenu}, {XK_Pause, 0x13}, {XK_Caps_Lock, 0x14}, {XK_Escape, kVkEscape},
    {XK_space, kVkSpace}, {XK_Prior, kVkPrior}, {XK_Next, kVkNext}, {XK_End, kVkEnd}, {XK_Home, kVkHome},
    {XK_Left, kVkLeft}, {XK_Up, kVkUp}, {XK_Right, kVkRight}, {XK_Down, kVkDown}, {XK_Print, 0x2C},
    {XK_Insert, kVkInsert}, {XK_Delete, kVkDelete}, {XK_Help, 0x2F}, {XK_Super_L, 0x5B}, {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D}, {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B}, {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E}, {XK_KP_Divide, 0x6F}, {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    // The keypad without Num Lock is the navigation block.
    {XK_KP_Home, kVkHome}, {XK_KP_End, kVkEnd}, {XK_KP_Prior, kVkPrior}, {XK_KP_Next, kVkNext},
    {XK_KP_Left, kVkLeft}, {XK_KP_Up, kVkUp}, {XK_KP_Right, kVkRight}, {XK_KP_Down, kVkDown},
    {XK_KP_Insert, kVkInsert}, {XK_KP_Delete, kVkDelete}, {XK_KP_Begin, 0x0C},
    // Punctuation of a US layout, by its unshifted symbol.
    {XK_semicolon, 0xBA}, {XK_equal, 0xBB}, {XK_comma, 0xBC}, {XK_minus, 0xBD}, {XK_period, 0xBE},
    {XK_slash, 0xBF}, {XK_grave, 0xC0}, {XK_bracketleft, 0xDB}, {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD}, {XK_apostrophe, 0xDE},
};

}  // namespace

int VirtualKeyFromKeysym(KeySym base, KeySym effective) {
  if (effective >= XK_KP_0 && effective <= XK_KP_9) return 0x60 + static_cast<int>(effective - XK_KP_0);
  if (effective == XK_ISO_Left_Tab) return kVkTab;
  if (base >= XK_a && base <= XK_z) return 'A' + static_cast<int>(base - XK_a);
  if (base >= XK_A && base <= XK_Z) return static_cast<int>(base);
  if (base >= XK_0 && base <= XK_9) return static_cast<int>(base);
  if (base >= XK_F1 && base <= XK_F24) return kVkF1 + static_cast<int>(base - XK_F1);
  for (const KeyPair& k : kNamedKeys)
    if (k.sym == base) return k.vk;
  return 0;
}

char32_t CharacterFromKeysym(KeySym keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return static_cast<char32_t>(keysym);
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return static_cast<char32_t>(keysym - 0x01000000);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return U'0' + static_cast<char32_t>(keysym - XK_KP_0);
  switch (keysym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab: return 0x09;
    case XK_Return:
    case XK_KP_Enter: return 0x0D;
    case XK_Escape: return 0x1B;
    case XK_KP_Space: return U' ';
    case XK_KP_Multiply: return U'*';
    case XK_KP_Add: return U'+';
    case XK_KP_Subtract: return U'-';
    case XK_KP_Decimal: return U'.';
    case XK_KP_Divide: return U'/';
    case XK_EuroSign: return 0x20AC;
    default: return 0;
  }
}

}  // namespace platform

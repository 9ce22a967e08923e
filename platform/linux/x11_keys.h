#pragma once
// X key symbols in the terms of the window messages: the virtual key a key press reports and,
// when no input method gives it, the character a key symbol types.
#include <X11/X.h>

namespace platform {

// The virtual key (kVk*, letters and digits as their upper-case codes) for the key whose
// unshifted symbol is `base` and whose symbol with the current modifiers is `effective`; 0 for a
// key without one. Shift+Tab's ISO_Left_Tab is Tab, keypad Enter is Return.
int VirtualKeyFromKeysym(KeySym base, KeySym effective);

// The Unicode character `keysym` types (Latin-1, Unicode key symbols, the control keys that type
// a character: BackSpace, Tab, Return, Escape, keypad digits and operators); 0 for none.
char32_t CharacterFromKeysym(KeySym keysym);

}  // namespace platform

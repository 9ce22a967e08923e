#pragma once
// Enters the control classes of this library in the skin builder's element table ("Label",
// "Button", "CheckBox", "RichEdit", ...). Called once at start-up, before the first skin is
// built; calling it again changes nothing.
namespace SkinUI {

void RegisterControls();

}  // namespace SkinUI

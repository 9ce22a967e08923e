#pragma once
// Every picture of the skin, one function each. The sizes and frame layouts are the ones the skin
// files expect (the file table in main.cpp names them); the looks are ours.
#include "tools/artwork/image.h"

namespace artwork {

// The four states of a push-button sprite, in the skin's frame order.
enum ButtonState { kNormal = 0, kHot = 1, kPushed = 2, kDisabled = 3 };

// window_art.cpp: backgrounds, logo and message-box parts.
Image WindowBackground();          // 819 x 574, the collapsed installer window
Image WindowBackgroundExpanded();  // 819 x 698, with the custom-install panel open
Image MessageBoxBackground();      // 152 x 152, drawn nine-sliced with corners 15,54,15,15
Image BlankSlide();                // 767 x 398
Image Logo();                      // 24 x 24
Image WarningIcon();               // 16 x 16

// button_art.cpp: four-state sprites (normal, hot, pushed, disabled).
Image MinimiseButton();                     // 4 x 24 x 24
Image CloseButton();                        // 4 x 24 x 24
Image LargeButton(bool pill);               // 4 x 228 x 62
Image FilledButton(int width, int height);  // blue, corner 4
Image OutlineButton(int width, int height, bool red);
Image PlainButton(int width, int height);   // white with a grey outline, corner 4

// check_art.cpp
Image CheckBox(int size, bool round);  // normal, hot, selected, disabled
Image ExpandArrow();                   // 8 x 14 x 14: the custom-install check box

// bar_art.cpp
Image ProgressTrack();           // 659 x 12
Image ProgressFill(bool red);    // 659 x 12
Image PathField();               // 573 x 38
Image InstallBar();              // 48 x 767 x 12

// slides_art.cpp
Image IntroductionSlides();      // 3 x 767 x 398

}  // namespace artwork

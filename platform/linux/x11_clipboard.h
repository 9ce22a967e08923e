#pragma once
// Clipboard text through the X CLIPBOARD selection: owning it when the program copies, answering
// other clients' requests from the loop, and asking the owner (briefly waiting) when it pastes.
#include <X11/Xlib.h>

#include <string>

namespace platform {

class X11Clipboard {
 public:
  // `window` is a window of ours that owns the selection and receives the answers.
  X11Clipboard(Display* display, Window window);

  void SetText(const std::string& utf8);
  // The owner's text, as UTF-8 (Latin-1 STRING answers are converted); empty when there is none
  // or the owner does not answer within half a second.
  std::string GetText();
  // Selection events for our window; true when the event was one.
  bool HandleEvent(const XEvent& event);

 private:
  void Answer(const XSelectionRequestEvent& request);
  std::string Fetch(Atom target);

  Display* display_;
  Window window_;
  Atom clipboard_, targets_, utf8_, text_, string_, property_, incr_;
  std::string text_value_;
  bool owned_ = false;
};

}  // namespace platform

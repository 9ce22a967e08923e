#include "platform/linux/x11_clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>

#include "platform/text_encoding.h"

namespace platform {
namespace {

// STRING is Latin-1 by the selection conventions.
std::string Latin1ToUtf8(const std::string& in) {
  std::wstring wide;
  for (unsigned char c : in) wide += static_cast<wchar_t>(c);
  return WideToUtf8(wide);
}

std::string Utf8ToLatin1(const std::string& in) {
  std::string out;
  for (wchar_t c : Utf8ToWide(in)) out += c <= 0xFF ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

X11Clipboard::X11Clipboard(Display* display, Window window)
    : display_(display),
      window_(window),
      clipboard_(XInternAtom(display, "CLIPBOARD", False)),
      targets_(XInternAtom(display, "TARGETS", False)),
      utf8_(XInternAtom(display, "UTF8_STRING", False)),
      text_(XInternAtom(display, "TEXT", False)),
      string_(XA_STRING),
      property_(XInternAtom(display, "WEBINST_CLIPBOARD", False)),
      incr_(XInternAtom(display, "INCR", False)) {}

void X11Clipboard::SetText(const std::string& utf8) {
  text_value_ = utf8;
  XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
  owned_ = XGetSelectionOwner(display_, clipboard_) == window_;
}

std::string X11Clipboard::GetText() {
  if (owned_) return text_value_;
  if (XGetSelectionOwner(display_, clipboard_) == None) return {};
  std::string text = Fetch(utf8_);
  return text.empty() ? Latin1ToUtf8(Fetch(string_)) : text;
}

std::string X11Clipboard::Fetch(Atom target) {
  XDeleteProperty(display_, window_, property_);
  XConvertSelection(display_, clipboard_, target, property_, window_, CurrentTime);
  XFlush(display_);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  XEvent ev;
  // Only the answer is taken out of the queue; every other event waits for the loop.
  while (!XCheckTypedWindowEvent(display_, window_, SelectionNotify, &ev)) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd p{ConnectionNumber(display_), POLLIN, 0};
    poll(&p, 1, static_cast<int>(left.count()));
  }
  if (ev.xselection.property == None) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string out;
  if (XGetWindowProperty(display_, window_, property_, 0, 1L << 24, True, AnyPropertyType, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    // Incremental transfers (very large texts) are not taken.
    if (type != incr_ && format == 8) out.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return out;
}

bool X11Clipboard::HandleEvent(const XEvent& event) {
  if (event.type == SelectionClear && event.xselectionclear.selection == clipboard_) {
    owned_ = false;
    return true;
  }
  if (event.type == SelectionRequest) {
    Answer(event.xselectionrequest);
    return true;
  }
  return false;
}

void X11Clipboard::Answer(const XSelectionRequestEvent& request) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = display_;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = None;
  // Old clients name no property: the target's name is used.
  Atom property = request.property != None ? request.property : request.target;
  // What fits one request; larger texts would need an incremental transfer, which is not offered.
  bool fits = text_value_.size() < static_cast<std::size_t>(XMaxRequestSize(display_)) * 4 - 64;
  if (owned_ && request.selection == clipboard_) {
    if (request.target == targets_) {
      Atom list[] = {targets_, utf8_, text_, string_};
      XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(list), 4);
      reply.property = property;
    } else if ((request.target == utf8_ || request.target == text_ || request.target == string_) && fits) {
      std::string bytes = request.target == string_ ? Utf8ToLatin1(text_value_) : text_value_;
      XChangeProperty(display_, request.requestor, property, request.target == string_ ? string_ : utf8_, 8,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<int>(bytes.size()));
      reply.property = property;
    }
  }
  XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(display_);
}

}  // namespace platform

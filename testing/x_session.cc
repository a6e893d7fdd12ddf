// clang-format off
// (Xlib's headers first: the session's header takes back their Status macro.)
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include "testing/x_session.h"
// clang-format on

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace testing_util {

namespace {

// Repeats check every few milliseconds until it holds or time runs out.
template <typename Check>
bool PollUntil(int timeout_ms, Check check) {
  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!check()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

int ShiftOf(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

XSession::XSession() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return;
  std::string lock_path =
      (std::filesystem::temp_directory_path() / "drop-window-tests-").string();
  for (char c : std::string(name)) lock_path += (c == '/' ? '_' : c);
  lock_fd_ = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (lock_fd_ >= 0) flock(lock_fd_, LOCK_EX);
  display_ = XOpenDisplay(nullptr);
}

XSession::~XSession() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (lock_fd_ >= 0) close(lock_fd_);
}

int XSession::screen_width() const {
  return DisplayWidth(display_, DefaultScreen(display_));
}

int XSession::screen_height() const {
  return DisplayHeight(display_, DefaultScreen(display_));
}

std::string XSession::TextProperty(Window window, const char* name) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string text;
  if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False),
                         0, 1024, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr && format == 8) {
    text.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return text;
}

std::vector<unsigned long> XSession::CardinalsProperty(Window window,
                                                       const char* name) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display_, window, XInternAtom(display_, name, False),
                         0, 1024, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr && format == 32) {
    auto* longs = reinterpret_cast<unsigned long*>(data);
    values.assign(longs, longs + count);
  }
  if (data != nullptr) XFree(data);
  return values;
}

Window XSession::WaitForWindow(const std::string& caption, int timeout_ms) {
  Window found = 0;
  PollUntil(timeout_ms, [&] {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent,
                    &children, &count)) {
      return false;
    }
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      XWindowAttributes attributes;
      if (TextProperty(children[i], "WM_NAME") == caption &&
          XGetWindowAttributes(display_, children[i], &attributes) &&
          attributes.map_state == IsViewable) {
        found = children[i];
      }
    }
    if (children != nullptr) XFree(children);
    return found != 0;
  });
  return found;
}

bool XSession::WaitForNoWindow(const std::string& caption, int timeout_ms) {
  return PollUntil(timeout_ms, [&] {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    bool any = false;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent,
                   &children, &count)) {
      for (unsigned int i = 0; i < count; ++i) {
        if (TextProperty(children[i], "WM_NAME") == caption) any = true;
      }
    }
    if (children != nullptr) XFree(children);
    return !any;
  });
}

void XSession::RootPosition(Window window, int* x, int* y) {
  Window child;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, x,
                        y, &child);
}

WindowShot XSession::Shot(Window window) {
  WindowShot shot;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window, &attributes)) return shot;
  XImage* image = XGetImage(display_, window, 0, 0, attributes.width,
                            attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return shot;
  shot.width = attributes.width;
  shot.height = attributes.height;
  int red_shift = ShiftOf(image->red_mask);
  int green_shift = ShiftOf(image->green_mask);
  int blue_shift = ShiftOf(image->blue_mask);
  shot.pixels.reserve(static_cast<size_t>(shot.width) * shot.height);
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      unsigned long pixel = XGetPixel(image, x, y);
      unsigned long red = (pixel & image->red_mask) >> red_shift;
      unsigned long green = (pixel & image->green_mask) >> green_shift;
      unsigned long blue = (pixel & image->blue_mask) >> blue_shift;
      shot.pixels.push_back(
          static_cast<common::Colour>(red + 256 * green + 65536 * blue));
    }
  }
  XDestroyImage(image);
  return shot;
}

bool XSession::WaitForPixel(Window window, int x, int y, common::Colour colour,
                            int timeout_ms) {
  return PollUntil(timeout_ms, [&] {
    WindowShot shot = Shot(window);
    return shot.width > x && shot.height > y && shot.At(x, y) == colour;
  });
}

void XSession::Click(Window window, int x, int y) {
  int root_x, root_y;
  RootPosition(window, &root_x, &root_y);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), root_x + x,
                       root_y + y, CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XSync(display_, False);
}

void XSession::SendDeleteWindow(Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}

}  // namespace testing_util

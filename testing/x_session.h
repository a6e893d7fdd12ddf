// Test access to a real X server for the drop window's tests: finding a
// window by caption, reading its properties and pixels, clicking through
// XTest. Tests that need it skip when DISPLAY is unset.
#ifndef TESTING_X_SESSION_H_
#define TESTING_X_SESSION_H_

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "common/colour.h"

// Xlib's macro would shadow the project's Status enum in the test files.
#undef Status

namespace testing_util {

struct WindowShot {
  int width = 0, height = 0;
  std::vector<common::Colour> pixels;  // row by row
  common::Colour At(int x, int y) const { return pixels[y * width + x]; }
};

// One connection to the display in DISPLAY. Only one test at a time may
// hold a session of a display (others wait for it), since the pointer and
// the screen's centre, where every drop window opens, are shared.
class XSession {
 public:
  XSession();
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  Display* display() const { return display_; }
  bool ok() const { return display_ != nullptr; }
  int screen_width() const;
  int screen_height() const;

  // The top-level window whose WM_NAME is caption, once it is mapped; 0
  // when none shows within timeout_ms.
  Window WaitForWindow(const std::string& caption, int timeout_ms = 30000);
  // True once no window of that caption is left.
  bool WaitForNoWindow(const std::string& caption, int timeout_ms = 30000);

  std::string TextProperty(Window window, const char* name);
  std::vector<unsigned long> CardinalsProperty(Window window, const char* name);
  // The window's inner top-left corner in root coordinates.
  void RootPosition(Window window, int* x, int* y);
  WindowShot Shot(Window window);
  // Polls shots until the pixel at (x, y) has the colour.
  bool WaitForPixel(Window window, int x, int y, common::Colour colour,
                    int timeout_ms = 30000);

  // A real click of the first button at the window's inner (x, y).
  void Click(Window window, int x, int y);
  // What a window manager sends when the user closes the window.
  void SendDeleteWindow(Window window);

 private:
  Display* display_ = nullptr;
  int lock_fd_ = -1;
};

}  // namespace testing_util

#endif  // TESTING_X_SESSION_H_

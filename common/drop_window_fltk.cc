// The drop window on FLTK and X11. FLTK draws the window and runs the boxes;
// the file drop itself (the XDND exchange) is handled here, on the raw X
// events, so that only file lists are accepted, always as a copy, and the
// drag source always hears how the drop ended.
// clang-format off
// (Xlib's headers must come after ours: they define Status as a macro,
// which is taken back below so that our enum keeps its name.)
#include "common/drop_window.h"
#include "common/uri_list.h"

#include <FL/Fl.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <unistd.h>
#undef Status
// clang-format on

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace common {

namespace {

// ---- What the user sees --------------------------------------------------

constexpr int kWindowWidth = 400;
constexpr int kWindowHeight = 200;
constexpr int kAreaWidth = 280;
constexpr int kAreaHeight = 200;
constexpr int kTextSize = 12;  // the title and credit lines stand 15 apart

struct PlacedText {
  int x, y;  // top-left corner, in pixels of the drawing area
  const char* text;
};

constexpr const char* kCredit = "made for 8-bit game makers";

constexpr PlacedText kTileTexts[] = {
    {60, 10, "Tessmara"},
    {10, 25, kCredit},
    {10, 50, "Usage: Cellhew.exe filename.png"},
    {90, 180, "drop tile set here"},
};

constexpr PlacedText kSpriteTexts[] = {
    {60, 10, "Vornakit"},
    {10, 25, kCredit},
    {10, 50, "Usage: Glyphwright.exe filename.png [flags]"},
    {10, 70, "flags: /height add sprite height to output"},
    {10, 90, "flags: /length add sprite length to output"},
    {10, 110, "flags: /cutup  trims the empty top edge"},
    {10, 130, "flags: /cutright trims the empty right edge"},
    {10, 150, "flags: /andor make classic masked pairs"},
    {90, 180, "drop sprite set here"},
};

struct OptionBox {
  int y;  // x is 300 for every box, size 80 x 20
  const char* label;
  bool RunOptions::*field;
};

constexpr OptionBox kOptionBoxes[] = {
    {70, "Height", &RunOptions::high},
    {90, "Length", &RunOptions::length},
    {110, "Cut Up", &RunOptions::cutUp},
    {130, "Cut Right", &RunOptions::cutRight},
    {150, "And Or", &RunOptions::andOr},
};

const char* CommandLineFor(DropVariant variant) {
  return variant == DropVariant::kTiles
             ? "cellhew filename.png"
             : "glyphwright filename.png [/HIGH] [/LENGTH] [/CUTUP] "
               "[/CUTRIGHT] [/ANDOR]";
}

// The dark area with the help texts, drawn with transparent background.
class DrawingArea : public Fl_Widget {
 public:
  DrawingArea(const PlacedText* texts, size_t count)
      : Fl_Widget(0, 0, kAreaWidth, kAreaHeight),
        texts_(texts),
        count_(count) {}

  void draw() override {
    fl_push_clip(x(), y(), w(), h());
    fl_rectf(x(), y(), w(), h(), 0, 0, 31);
    fl_font(FL_HELVETICA, kTextSize);
    fl_color(fl_rgb_color(128, 255, 0));
    int ascent = fl_height() - fl_descent();
    for (size_t i = 0; i < count_; ++i) {
      fl_draw(texts_[i].text, x() + texts_[i].x, y() + texts_[i].y + ascent);
    }
    fl_pop_clip();
  }

  // Nothing to click or drop on here but the window as a whole.
  int handle(int) override { return 0; }

 private:
  const PlacedText* texts_;
  size_t count_;
};

// ---- The drop exchange ----------------------------------------------------

enum class Outcome { kWaiting, kDropped, kClosed };

struct XdndAtoms {
  Atom aware, enter, position, status, leave, drop, finished, selection,
      type_list, action_copy, uri_list, property;
};

XdndAtoms InternXdndAtoms(Display* display) {
  auto atom = [display](const char* name) {
    return XInternAtom(display, name, False);
  };
  return {atom("XdndAware"),      atom("XdndEnter"),     atom("XdndPosition"),
          atom("XdndStatus"),     atom("XdndLeave"),     atom("XdndDrop"),
          atom("XdndFinished"),   atom("XdndSelection"), atom("XdndTypeList"),
          atom("XdndActionCopy"), atom("text/uri-list"), atom("DROPPED_FILES")};
}

// One window's side of the drag-and-drop protocol: a drag is accepted when
// it offers a file list; its drop asks the source for that list.
struct DropTarget {
  Display* display = nullptr;
  Window window = 0;
  XdndAtoms atoms{};
  Window source = 0;           // the drag over the window now, 0 when none
  bool offers_files = false;   // the drag offers text/uri-list
  bool awaiting_list = false;  // asked the source for its list
  Outcome outcome = Outcome::kWaiting;
  std::string first_path;

  void Send(Window to, Atom type, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = to;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(window);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, to, False, NoEventMask, &event);
    XFlush(display);
  }

  void Finish(bool accepted) {
    if (source == 0) return;
    Send(source, atoms.finished, accepted ? 1 : 0,
         accepted ? static_cast<long>(atoms.action_copy) : None, 0, 0);
    source = 0;
    offers_files = false;
    awaiting_list = false;
  }

  // The types of the drag: three in the message, or all in the source's
  // XdndTypeList when it has more.
  bool TypesIncludeFileList(const XClientMessageEvent& enter) {
    if ((enter.data.l[1] & 1) == 0) {
      for (int i = 2; i <= 4; ++i) {
        if (static_cast<Atom>(enter.data.l[i]) == atoms.uri_list) return true;
      }
      return false;
    }
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, source, atoms.type_list, 0, 1024, False,
                           XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && format == 32) {
      const Atom* types = reinterpret_cast<const Atom*>(data);
      for (unsigned long i = 0; i < count; ++i) {
        if (types[i] == atoms.uri_list) found = true;
      }
    }
    if (data != nullptr) XFree(data);
    return found;
  }

  void OnClientMessage(const XClientMessageEvent& message) {
    Window from = static_cast<Window>(message.data.l[0]);
    if (message.message_type == atoms.enter) {
      source = from;
      awaiting_list = false;
      offers_files = TypesIncludeFileList(message);
    } else if (message.message_type == atoms.position) {
      if (from != source) return;
      Send(source, atoms.status, offers_files ? 1 : 0, 0, 0,
           offers_files ? static_cast<long>(atoms.action_copy) : None);
    } else if (message.message_type == atoms.leave) {
      if (from == source) source = 0;
    } else if (message.message_type == atoms.drop) {
      if (from != source) return;
      if (!offers_files) {
        Finish(false);
        return;
      }
      awaiting_list = true;
      XConvertSelection(display, atoms.selection, atoms.uri_list,
                        atoms.property, window,
                        static_cast<Time>(message.data.l[2]));
      XFlush(display);
    }
  }

  void OnListArrived(const XSelectionEvent& arrived) {
    if (!awaiting_list) return;
    std::string text;
    if (arrived.property != None) {
      Atom type;
      int format;
      unsigned long count, after;
      unsigned char* data = nullptr;
      // A file list large enough for the incremental transfer is refused
      // with the rest: its type is INCR, not text/uri-list.
      if (XGetWindowProperty(display, window, atoms.property, 0, 1 << 20, True,
                             AnyPropertyType, &type, &format, &count, &after,
                             &data) == Success &&
          data != nullptr && type == atoms.uri_list && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
      }
      if (data != nullptr) XFree(data);
    }
    std::vector<std::string> paths = FilePathsOfUriList(text);
    Finish(!paths.empty());
    if (!paths.empty()) {
      first_path = paths.front();
      outcome = Outcome::kDropped;
    }
  }

  // An Fl_System_Handler: sees every X event before FLTK does and keeps the
  // ones of the drop exchange to itself.
  static int Handle(void* event, void* data) {
    auto* target = static_cast<DropTarget*>(data);
    const XEvent& x = *static_cast<const XEvent*>(event);
    if (x.type == ClientMessage && x.xclient.window == target->window &&
        x.xclient.format == 32) {
      Atom type = x.xclient.message_type;
      const XdndAtoms& a = target->atoms;
      if (type == a.enter || type == a.position || type == a.leave ||
          type == a.drop) {
        target->OnClientMessage(x.xclient);
        return 1;
      }
    }
    if (x.type == SelectionNotify && x.xselection.requestor == target->window &&
        x.xselection.selection == target->atoms.selection) {
      target->OnListArrived(x.xselection);
      return 1;
    }
    return 0;
  }
};

// ---- Window set-up and failure -------------------------------------------

Console* fatal_console = nullptr;
DropVariant fatal_variant = DropVariant::kTiles;

void ReportCannotShow(Console& console, DropVariant variant,
                      const std::string& reason) {
  console.Line("Drop window could not be shown (" + reason +
               "); use the command line instead: " + CommandLineFor(variant));
}

// Replaces Fl::fatal, which FLTK calls on errors it cannot go on from: our
// own console line and exit status instead of FLTK's. Must not return. No
// output file is open while the window is up, so nothing is lost by ending
// here.
void OnFatal(const char* format, ...) {
  char message[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (fatal_console != nullptr) {
    ReportCannotShow(*fatal_console, fatal_variant, message);
  }
  std::exit(ExitStatusFor(Status::kWindowFailed));
}

// Xlib's handler for a lost display connection, which would print its own
// line and exit; ours reports like the other failures. Must not return.
int OnDisplayLost(Display* display) {
  if (fatal_console != nullptr) {
    ReportCannotShow(*fatal_console, fatal_variant,
                     "lost the connection to display \"" +
                         std::string(DisplayString(display)) + "\"");
  }
  std::exit(ExitStatusFor(Status::kWindowFailed));
}

// Title bar with the system menu and close button only, where the window
// manager honours Motif hints. FLTK rewrites these hints on show(), so they
// are set after it.
void SetFrameHints(Display* display, Window window) {
  constexpr unsigned long kFunctions = 1, kDecorations = 2;
  constexpr unsigned long kFuncMove = 4, kFuncClose = 32;
  constexpr unsigned long kDecorBorder = 2, kDecorTitle = 8, kDecorMenu = 16;
  unsigned long hints[5] = {kFunctions | kDecorations, kFuncMove | kFuncClose,
                            kDecorBorder | kDecorTitle | kDecorMenu, 0, 0};
  Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

// Lets window managers and tools tell this window from another program's
// window of the same caption.
void SetOwnerProcess(Display* display, Window window) {
  unsigned long pid = static_cast<unsigned long>(getpid());
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False),
                  XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&pid), 1);
}

void AnnounceDropTarget(Display* display, Window window, Atom aware) {
  unsigned long version = 5;
  XChangeProperty(display, window, aware, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&version), 1);
}

void OnCloseRequest(Fl_Widget*, void* data) {
  // FLTK also calls this for the Escape key; the window reads no keys.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  *static_cast<Outcome*>(data) = Outcome::kClosed;
}

}  // namespace

Status ShowDropWindow(DropVariant variant, Console& console,
                      std::string* input_path, RunOptions* options) {
  // FLTK ends the process when it cannot open the display; try it first.
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    const char* name = XDisplayName(nullptr);
    ReportCannotShow(console, variant,
                     name == nullptr || *name == '\0'
                         ? std::string("no display is set")
                         : "cannot open display \"" + std::string(name) + "\"");
    return Status::kWindowFailed;
  }
  fatal_console = &console;
  fatal_variant = variant;
  Fl::fatal = OnFatal;
  XSetIOErrorHandler(OnDisplayLost);
  fl_open_display(display);
  Fl::get_system_colors();

  const bool sprites = variant == DropVariant::kSprites;
  DropTarget target;
  // The window owns the widgets made between its construction and end().
  std::unique_ptr<Fl_Double_Window> window(
      new Fl_Double_Window(kWindowWidth, kWindowHeight, "Pelmora 1.0"));
  new DrawingArea(sprites ? kSpriteTexts : kTileTexts,
                  sprites ? std::size(kSpriteTexts) : std::size(kTileTexts));
  Fl_Check_Button* boxes[std::size(kOptionBoxes)] = {};
  if (sprites) {
    for (size_t i = 0; i < std::size(kOptionBoxes); ++i) {
      boxes[i] = new Fl_Check_Button(300, kOptionBoxes[i].y, 80, 20,
                                     kOptionBoxes[i].label);
      boxes[i]->labelsize(kTextSize);
      boxes[i]->clear_visible_focus();
    }
  }
  window->end();
  window->size_range(kWindowWidth, kWindowHeight, kWindowWidth, kWindowHeight);
  int sx, sy, sw, sh;
  Fl::screen_xywh(sx, sy, sw, sh, 0);
  window->position(sx + (sw - kWindowWidth) / 2, sy + (sh - kWindowHeight) / 2);
  window->callback(OnCloseRequest, &target.outcome);
  window->show();

  target.display = fl_display;
  target.window = fl_xid(window.get());
  target.atoms = InternXdndAtoms(fl_display);
  SetFrameHints(fl_display, target.window);
  SetOwnerProcess(fl_display, target.window);
  AnnounceDropTarget(fl_display, target.window, target.atoms.aware);
  Fl::add_system_handler(DropTarget::Handle, &target);

  // Fl::wait() sleeps until the next event arrives.
  while (target.outcome == Outcome::kWaiting) Fl::wait();

  Fl::remove_system_handler(DropTarget::Handle);
  if (target.outcome == Outcome::kClosed) return Status::kWindowClosed;

  if (sprites) {
    for (size_t i = 0; i < std::size(kOptionBoxes); ++i) {
      if (boxes[i]->value()) options->*kOptionBoxes[i].field = true;
    }
  }
  *input_path = target.first_path;
  window->hide();
  Fl::flush();
  XSync(fl_display, False);
  return Status::kOk;
}

}  // namespace common

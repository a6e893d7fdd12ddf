// A drag source for the drop window's tests, playing a file manager's part
// of the XDND exchange against one target window:
//   xdnd_source WINDOW X Y TYPE ACTION DATA
// WINDOW is the target's X window id (decimal or 0x hex), X Y the pointer's
// root position, TYPE the one data type offered (e.g. text/uri-list), ACTION
// the one asked for (XdndActionCopy, XdndActionMove), DATA the bytes handed
// over when the target asks for them. It prints one line per reply and
// exits 0 when the drop was accepted and finished, 2 when the target refused
// the drag (the source then leaves), 1 on any protocol fault or timeout.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kTimeoutMs = 10000;

Display* display;
Window source;
Window target;

Atom AtomOf(const char* name) { return XInternAtom(display, name, False); }

std::string NameOf(Atom atom) {
  if (atom == None) return "None";
  char* name = XGetAtomName(display, atom);
  std::string text = name != nullptr ? name : "?";
  if (name != nullptr) XFree(name);
  return text;
}

void Send(const char* type, long l1, long l2, long l3, long l4) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = target;
  event.xclient.message_type = AtomOf(type);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(source);
  event.xclient.data.l[1] = l1;
  event.xclient.data.l[2] = l2;
  event.xclient.data.l[3] = l3;
  event.xclient.data.l[4] = l4;
  XSendEvent(display, target, False, NoEventMask, &event);
  XFlush(display);
}

// Waits for the next event, up to the deadline; false on timeout.
bool NextEvent(std::chrono::steady_clock::time_point deadline, XEvent* event) {
  while (XPending(display) == 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  XNextEvent(display, event);
  return true;
}

// Hands over the data the target asked for, or refuses another type.
void Answer(const XSelectionRequestEvent& request, const std::string& type,
            const std::string& data) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = None;
  if (request.target == AtomOf(type.c_str()) && request.property != None) {
    XChangeProperty(display, request.requestor, request.property,
                    request.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()),
                    static_cast<int>(data.size()));
    reply.property = request.property;
  }
  std::printf("request %s\n", NameOf(request.target).c_str());
  XSendEvent(display, request.requestor, False, NoEventMask,
             reinterpret_cast<XEvent*>(&reply));
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: xdnd_source WINDOW X Y TYPE ACTION DATA\n");
    return 1;
  }
  display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  target = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
  long x = std::strtol(argv[2], nullptr, 10);
  long y = std::strtol(argv[3], nullptr, 10);
  std::string type = argv[4];
  Atom action = AtomOf(argv[5]);
  std::string data = argv[6];
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  // The version both sides speak: the target's XdndAware, at most 5.
  Atom aware_type;
  int format;
  unsigned long count, after;
  unsigned char* aware = nullptr;
  long version = 0;
  if (XGetWindowProperty(display, target, AtomOf("XdndAware"), 0, 1, False,
                         XA_ATOM, &aware_type, &format, &count, &after,
                         &aware) == Success &&
      aware != nullptr && count == 1) {
    version = static_cast<long>(*reinterpret_cast<unsigned long*>(aware));
  }
  if (aware != nullptr) XFree(aware);
  if (version < 3) {
    std::printf("target is not XdndAware\n");
    return 1;
  }
  if (version > 5) version = 5;

  source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1,
                               0, 0, 0);
  Atom selection = AtomOf("XdndSelection");
  XSetSelectionOwner(display, selection, source, CurrentTime);
  if (XGetSelectionOwner(display, selection) != source) {
    std::printf("cannot own XdndSelection\n");
    return 1;
  }

  auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
  Send("XdndEnter", version << 24, static_cast<long>(AtomOf(type.c_str())), 0,
       0);
  Send("XdndPosition", 0, (x << 16) | y, CurrentTime,
       static_cast<long>(action));

  Atom status = AtomOf("XdndStatus");
  Atom finished = AtomOf("XdndFinished");
  XEvent event;
  bool dropped = false;
  while (NextEvent(deadline, &event)) {
    if (event.type == SelectionRequest) {
      Answer(event.xselectionrequest, type, data);
      continue;
    }
    if (event.type != ClientMessage) continue;
    const XClientMessageEvent& message = event.xclient;
    if (static_cast<Window>(message.data.l[0]) != target) continue;
    if (message.message_type == status && !dropped) {
      bool accepted = (message.data.l[1] & 1) != 0;
      std::printf("status accept=%d action=%s\n", accepted ? 1 : 0,
                  NameOf(static_cast<Atom>(message.data.l[4])).c_str());
      if (!accepted) {
        Send("XdndLeave", 0, 0, 0, 0);
        XSync(display, False);
        return 2;
      }
      Send("XdndDrop", 0, CurrentTime, 0, 0);
      dropped = true;
    } else if (message.message_type == finished) {
      if (!dropped) {
        std::printf("finished before the drop\n");
        return 1;
      }
      bool accepted = (message.data.l[1] & 1) != 0;
      std::printf("finished accept=%d action=%s\n", accepted ? 1 : 0,
                  NameOf(static_cast<Atom>(message.data.l[2])).c_str());
      return accepted ? 0 : 1;
    }
  }
  std::printf("timed out %s\n", dropped ? "after the drop" : "before status");
  return 1;
}

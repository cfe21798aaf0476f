// Starts a program on the X display and measures how long it takes to map its first top-level
// window, and how much memory it has used by then:
//
//   map_watch [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGUMENTS...]
//
// It watches the root window for MapNotify (SubstructureNotifyMask) before starting the program,
// so no map can be missed. With no window manager running, a toolkit maps its top-level windows
// as children of the root; the first such window whose _NET_WM_PID is the program's, or, where
// the property is missing, which was created after the program started, is the one. The clock
// runs from just before the program is started to the moment the MapNotify is read. After the
// map and N more milliseconds (500 by default) for the first paint to settle, the program's peak
// resident memory (VmHWM) and its resident memory (VmRSS) are read from /proc, and the program is
// ended with SIGTERM (SIGKILL if it has not gone after a second).
//
// Prints one line: "map_ms=12.345 hwm_kib=45678 rss_kib=45600". Exits with 1 when the program
// ended or did not map a window within the time-out (10 s by default), 2 on wrong usage or
// without a display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

namespace {

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void SleepMs(long ms) {
  timespec t{ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

// The value of `key` (such as "VmHWM") in /proc/PID/status, in KiB; -1 when it is not there.
long StatusKib(pid_t pid, const std::string& key) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, key.size() + 1, key + ":") == 0) {
      return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
  }
  return -1;
}

// The process id in a window's _NET_WM_PID property; -1 when the window has none.
long WindowPid(Display* display, Window window, Atom net_wm_pid) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data) {
    if (type == XA_CARDINAL && format == 32 && count == 1) {
      pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    XFree(data);
  }
  return pid;
}

// A window that went away before its property could be read makes Xlib report BadWindow; the
// default handler would end this program.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

void EndProgram(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    SleepMs(10);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

int Usage() {
  std::fputs("usage: map_watch [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARGUMENTS...]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  long settle_ms = 500;
  long timeout_ms = 10000;
  int first = 1;
  for (; first < argc; ++first) {
    const std::string arg = argv[first];
    if (arg == "--") {
      ++first;
      break;
    }
    if ((arg == "--settle-ms" || arg == "--timeout-ms") && first + 1 < argc) {
      (arg == "--settle-ms" ? settle_ms : timeout_ms) = std::strtol(argv[++first], nullptr, 10);
    } else {
      return Usage();
    }
  }
  if (first >= argc || settle_ms < 0 || timeout_ms <= 0) return Usage();

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("map_watch: cannot open the X display (is DISPLAY set?)\n", stderr);
    return 2;
  }
  XSetErrorHandler(IgnoreXError);
  // The program must not inherit the connection.
  fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
  const Window root = DefaultRootWindow(display);
  const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
  XSelectInput(display, root, SubstructureNotifyMask);
  // The selection is in force at the server before the program starts.
  XSync(display, False);

  const double start = NowMs();
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("map_watch: fork");
    return 1;
  }
  if (pid == 0) {
    execvp(argv[first], argv + first);
    std::fprintf(stderr, "map_watch: cannot start %s: %s\n", argv[first], std::strerror(errno));
    _exit(127);
  }

  std::set<Window> created;  // top-level windows created since the program started
  double mapped = -1;
  while (mapped < 0) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
        created.insert(event.xcreatewindow.window);
      } else if (event.type == MapNotify && event.xmap.event == root &&
                 !event.xmap.override_redirect) {
        const long owner = WindowPid(display, event.xmap.window, net_wm_pid);
        if (owner == pid || (owner < 0 && created.count(event.xmap.window) > 0)) {
          mapped = NowMs();
          break;
        }
      }
    }
    if (mapped >= 0) break;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      std::fprintf(stderr, "map_watch: %s ended (status %d) without mapping a window\n",
                   argv[first], status);
      return 1;
    }
    const double left = start + static_cast<double>(timeout_ms) - NowMs();
    if (left <= 0) {
      std::fprintf(stderr, "map_watch: %s mapped no window within %ld ms\n", argv[first],
                   timeout_ms);
      EndProgram(pid);
      return 1;
    }
    // Wake for the next event, and at least every 50 ms to see whether the program has ended.
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, left < 50 ? static_cast<int>(left) + 1 : 50);
  }

  SleepMs(settle_ms);
  const long hwm = StatusKib(pid, "VmHWM");
  const long rss = StatusKib(pid, "VmRSS");
  EndProgram(pid);
  XCloseDisplay(display);
  if (hwm < 0) {
    std::fprintf(stderr, "map_watch: %s ended before its memory could be read\n", argv[first]);
    return 1;
  }
  std::printf("map_ms=%.3f hwm_kib=%ld rss_kib=%ld\n", mapped - start, hwm, rss);
  return 0;
}

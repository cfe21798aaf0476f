#include "app/startup.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

#ifdef FRUSTUM_HAVE_XCB
#include <xcb/xcb.h>

#include <chrono>
#endif

namespace startup {
namespace {

using namespace Qt::StringLiterals;

// A message Qt sent while the application object was being made, kept until it is known whether
// the platform started.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

struct StartState {
  std::mutex mutex;  // guards `held` and `plugin_missing`: Qt may send from any thread
  QtMessageHandler previous_handler = nullptr;
  std::vector<HeldMessage> held;
  bool plugin_missing = false;
  Session session;
  QByteArray platform;  // the value of QT_QPA_PLATFORM that Qt starts with
  std::thread font_configuration;
};

StartState& State() {
  static StartState state;
  return state;
}

// The one line printed when Qt cannot start its platform, naming what is wrong.
QByteArray StartFailureLine(const StartState& s) {
  const bool wayland = s.platform == "wayland";
  if (s.plugin_missing && wayland) {
    return "frustum: cannot show the window on the Wayland display \"" + s.session.wayland_display +
           "\": Qt's Wayland platform plugin is not installed (package qt6-wayland).";
  }
  if (s.plugin_missing && s.platform == "xcb" && s.session.qt_qpa_platform.isEmpty()) {
    return "frustum: cannot show the window on the X display \"" + s.session.display +
           "\": Qt's X11 platform plugin is not installed (package qt6-qpa-plugins).";
  }
  if (s.plugin_missing) {
    return "frustum: Qt has no platform plugin \"" + s.platform + "\" (named by QT_QPA_PLATFORM).";
  }
  if (s.platform == "xcb") {
    return "frustum: cannot open the X display \"" + s.session.display + "\".";
  }
  if (wayland) {
    return "frustum: cannot connect to the Wayland display \"" + s.session.wayland_display + "\".";
  }
  return "frustum: Qt's platform plugin \"" + s.platform +
         "\" (named by QT_QPA_PLATFORM) cannot show the window.";
}

// Prints the one line naming why the window cannot be shown and exits with status 1. Nothing is
// torn down: Qt's half-started platform, and the thread reading the font configuration, end with
// the process.
[[noreturn]] void RefuseToStart() {
  const QByteArray line = StartFailureLine(State()) + '\n';
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
  std::fflush(stderr);
  std::_Exit(1);
}

// Installed while the application object is made. Qt's platform failure is a qFatal that aborts
// with a core and a four-line message ending in advice to reinstall; the user gets one line and
// exit status 1 instead, as when there is no display at all. Other messages wait, and go to the
// previous handler once the platform has started.
void HoldingHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  StartState& s = State();
  if (type == QtFatalMsg) RefuseToStart();
  std::lock_guard lock(s.mutex);
  if (text.contains(u"Could not find the Qt platform plugin"_s)) {
    s.plugin_missing = true;
  }
  s.held.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

// Hands Qt the platform chosen for `session` through QT_QPA_PLATFORM, which Qt reads when the
// application object is made, and keeps what the failure line needs.
void UsePlatform(const Session& session) {
  StartState& s = State();
  s.session = session;
  const QByteArray chosen =
      ChoosePlatform(session.qt_qpa_platform.constData(), session.display.constData(),
                     session.wayland_display.constData());
  s.platform = session.qt_qpa_platform.isEmpty() ? chosen : session.qt_qpa_platform;
  // The program starts no other process that could inherit it.
  if (!chosen.isEmpty()) qputenv("QT_QPA_PLATFORM", chosen);
}

// Any window with text waits for fontconfig to read its configuration and caches, which takes a
// good part of the start-up. Qt's GUI library links fontconfig, so FcInit is already in the
// process: calling it on a second thread while the application object is made lets that reading
// run alongside Qt's own start, with no build dependency on fontconfig's headers. fontconfig
// initialises itself once, safely across threads.
void StartReadingFontConfiguration() {
#if defined(Q_OS_UNIX)
  if (void* symbol = dlsym(RTLD_DEFAULT, "FcInit")) {
    using FcInitFunction = int (*)();
    FcInitFunction fc_init = nullptr;
    static_assert(sizeof(fc_init) == sizeof(symbol));
    std::memcpy(&fc_init, &symbol, sizeof(symbol));
    State().font_configuration = std::thread(fc_init);
  }
#endif
}

// Qt's font database, filled when the window is built, must find the configuration read.
void WaitForFontConfiguration() {
  std::thread& reading = State().font_configuration;
  if (reading.joinable()) reading.join();
}

// A platform may start and still be unable to show the window: without a screen (linuxfb
// without a framebuffer) Qt aborts as soon as a window is made, and vkkhrdisplay, which draws
// only Vulkan surfaces, would leave the program running with nothing to see.
bool CanShowWindow() {
  return !QGuiApplication::screens().isEmpty() &&
         QGuiApplication::platformName() != u"vkkhrdisplay"_s;
}

// Hands the messages held since PrepareApplicationStart, in the order Qt sent them, to the
// handler that was there before, and lets Qt's later messages go to it directly.
void ReleaseHeldMessages() {
  StartState& s = State();
  qInstallMessageHandler(s.previous_handler);
  std::vector<HeldMessage> held;
  {
    std::lock_guard lock(s.mutex);
    held.swap(s.held);
  }
  for (const HeldMessage& m : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
    if (s.previous_handler) {
      s.previous_handler(m.type, context, m.text);
    } else {
      qt_message_output(m.type, context, m.text);
    }
  }
}

}  // namespace

Session ReadSession() {
  return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
}

bool HasGraphicalSession(const Session& session) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return !session.qt_qpa_platform.isEmpty() || !session.display.isEmpty() ||
         !session.wayland_display.isEmpty();
#else
  Q_UNUSED(session);
  return true;
#endif
}

QByteArray ChoosePlatform(const char* qt_qpa_platform, const char* display,
                          const char* wayland_display) {
  auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
#if defined(Q_OS_WIN)
  // Windows has one platform, Qt's default. A DISPLAY there names an X server beside Windows
  // (Wine passes its own on, X servers for Windows set one), never the desktop the window is for.
  constexpr bool displays_choose = false;
#else
  constexpr bool displays_choose = true;
#endif
  if (!displays_choose || set(qt_qpa_platform)) return {};
  if (set(display)) return "xcb";
  if (set(wayland_display)) return "wayland";
  return {};
}

void PrepareApplicationStart(const Session& session) {
  UsePlatform(session);
  StartReadingFontConfiguration();
  State().previous_handler = qInstallMessageHandler(HoldingHandler);
}

void FinishApplicationStart(QCoreApplication& app) {
  if (!CanShowWindow()) RefuseToStart();
  ReleaseHeldMessages();
  WaitForFontConfiguration();
  LoadQtTranslation(app);
  // Ties the window to its desktop entry and icon: on Wayland this is the app id. On X11 the
  // window's class stays "frustum", which the entry names as its StartupWMClass.
  QGuiApplication::setDesktopFileName(DesktopId);
}

bool LoadQtTranslation(QCoreApplication& app, const QString& directory) {
  // The window is Bulgarian whatever the user's locale, so Qt's texts are too; numbers still
  // follow the regional settings, which this does not touch.
  auto* translator = new QTranslator(&app);
#if defined(Q_OS_WIN)
  // Windows has no shared folder of Qt's translations: the program carries the one it needs.
  const QString installed = u":/translations"_s;
#else
  const QString installed = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
  const QString folder = directory.isEmpty() ? installed : directory;
  if (!translator->load(u"qtbase_bg"_s, folder) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

#ifdef FRUSTUM_HAVE_XCB
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// The 32-bit values of a property, empty when it is missing or of another type.
std::vector<std::uint32_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                    xcb_atom_t type) {
  std::vector<std::uint32_t> values;
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr);
  if (reply && reply->format == 32 && reply->type == type) {
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    values.assign(data, data + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  return values;
}

// Whether a window manager that follows the EWMH runs and answers _NET_REQUEST_FRAME_EXTENTS.
bool ManagerTellsFrameExtents(xcb_connection_t* c, xcb_window_t root, xcb_atom_t request) {
  const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
  const std::vector<std::uint32_t> manager = Property(c, root, check, XCB_ATOM_WINDOW);
  // A manager that has gone leaves its properties on the root; its check window goes with it.
  if (manager.size() != 1 || Property(c, manager[0], check, XCB_ATOM_WINDOW) != manager) {
    return false;
  }
  const std::vector<std::uint32_t> supported =
      Property(c, root, Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
  return std::find(supported.begin(), supported.end(), request) != supported.end();
}

}  // namespace

// Asked only of Qt's X11 platform: other plugins (offscreen, minimal) may answer for the X11
// interface without any X connection behind it.
QMargins FrameExtents(QWidget& window) {
  if (QGuiApplication::platformName() != u"xcb"_s) return {};
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return {};
  xcb_connection_t* c = x11->connection();
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
  if (!ManagerTellsFrameExtents(c, root, request)) return {};

  // Asks the manager, before the window is mapped, how wide a frame it will draw around it; it
  // answers by setting _NET_FRAME_EXTENTS on the window. Positioned then, the window opens where
  // it stays, without a jump once its frame appears.
  const auto id = static_cast<xcb_window_t>(window.winId());
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = id;
  event.type = request;
  xcb_send_event(c, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&event));
  xcb_flush(c);

  const xcb_atom_t extents_atom = Atom(c, "_NET_FRAME_EXTENTS");
  std::vector<std::uint32_t> extents;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  while ((extents = Property(c, id, extents_atom, XCB_ATOM_CARDINAL)).size() != 4) {
    if (std::chrono::steady_clock::now() > give_up) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return FrameMargins(extents, window.devicePixelRatioF());
}
#else
QMargins FrameExtents(QWidget&) { return {}; }
#endif

QMargins FrameMargins(const std::vector<std::uint32_t>& extents, qreal ratio) {
  return QMargins(qRound(extents[0] / ratio), qRound(extents[2] / ratio),
                  qRound(extents[1] / ratio), qRound(extents[3] / ratio));
}

}  // namespace startup

// What the program sets up around the application object: which Qt platform plugin it runs on,
// a plain one-line refusal instead of Qt's abort when no window can be shown, Qt's own texts in
// Bulgarian, the identity that ties the window to its desktop entry, the font configuration read
// while Qt starts, and the size of the frame the window manager draws around the window. Kept
// apart from main() so that the tests can run it.
#pragma once

#include <QByteArray>
#include <QMargins>
#include <QString>
#include <cstdint>
#include <vector>

class QCoreApplication;
class QWidget;

namespace startup {

// The texts below need Qt's QString literal and no more of Qt's literals: a using-directive
// here would bring them all into this namespace in every file that includes the header.
using Qt::StringLiterals::operator""_s;

// The desktop entry's name without ".desktop"; also the Wayland app id and the X11 class.
inline const QString DesktopId = u"org.example.frustum"_s;

// Where a window can be shown, as the environment tells it; read once, at start.
struct Session {
  QByteArray qt_qpa_platform;  // the Qt platform plugin the user named, if any
  QByteArray display;          // the X display
  QByteArray wayland_display;  // the Wayland display
};
Session ReadSession();

// Whether a window can be shown at all. On Linux and FreeBSD only with a display of either kind
// or a platform named by the user: without one, Qt would abort with a long message, where the
// user started from a text console or an SSH session should get one plain line.
bool HasGraphicalSession(const Session& session);

// The platform plugin to ask Qt for, from the environment. Empty leaves Qt's choice alone: the
// user named one in QT_QPA_PLATFORM, or there is no display of either kind. Where an X display is
// at hand it is "xcb", in a Wayland session as well (through XWayland the desktop draws the title
// bar this window is laid out for); without one, "wayland". On Windows always empty: Qt's Windows
// platform, whatever DISPLAY and WAYLAND_DISPLAY say.
QByteArray ChoosePlatform(const char* qt_qpa_platform, const char* display,
                          const char* wayland_display);

// To be called before the application object is made. Hands Qt the platform chosen for
// `session`, starts reading the font configuration on a second thread, and holds back Qt's
// messages until FinishApplicationStart: should the platform fail, the program prints one line
// naming what is wrong and exits with status 1 instead of aborting.
void PrepareApplicationStart(const Session& session);

// To be called right after the application object is made: refuses in the same way where the
// platform has started but cannot show the window, lets Qt's held-back messages through, waits
// for the font configuration, loads Qt's Bulgarian texts and sets the desktop identity.
void FinishApplicationStart(QCoreApplication& app);

// Installs Qt's own translation into Bulgarian (the line edits' context menu, the message box's
// button) from `directory`, Qt's translations folder by default. Returns false, leaving Qt's
// English texts, when the translation cannot be read.
bool LoadQtTranslation(QCoreApplication& app, const QString& directory = {});

// How wide a frame the window manager will draw around `window`, not yet shown, on each side, in
// the window's pixels. Known on X11 under a window manager that tells it before the window is
// mapped; none elsewhere.
QMargins FrameExtents(QWidget& window);

// The window manager's _NET_FRAME_EXTENTS, the frame's left, right, top and bottom in device
// pixels, as margins in pixels of `ratio` device pixels each.
QMargins FrameMargins(const std::vector<std::uint32_t>& extents, qreal ratio);

}  // namespace startup

// What the program sets up around the application object: which Qt platform plugin it runs on,
// a plain one-line refusal instead of Qt's abort when no window can be shown, Qt's own texts in
// Bulgarian, the identity that ties the window to its desktop entry, and the font configuration
// read while Qt starts. Kept apart from main() so that the tests can run it.
#pragma once

#include <QByteArray>
#include <QString>

class QCoreApplication;
class QWidget;

namespace startup {

// The desktop entry's name without ".desktop"; also the Wayland app id and the X11 class.
inline constexpr char DesktopId[] = "org.example.frustum";

// The platform plugin to ask Qt for, from the environment. Empty leaves Qt's choice alone: the
// user named one in QT_QPA_PLATFORM, or there is no display of either kind. Where an X display is
// at hand it is "xcb", in a Wayland session as well (through XWayland the desktop draws the title
// bar this window is laid out for); without one, "wayland". On Windows always empty: Qt's Windows
// platform, whatever DISPLAY and WAYLAND_DISPLAY say.
QByteArray ChoosePlatform(const char* qt_qpa_platform, const char* display,
                          const char* wayland_display);

// To be called before the application object is made. Chooses the platform, starts reading the
// font configuration on a second thread, and holds back Qt's messages until
// FinishApplicationStart: should the platform fail, the program prints one line naming what is
// wrong and exits with status 1 instead of aborting.
void PrepareApplicationStart();

// To be called right after the application object is made: refuses in the same way where the
// platform has started but cannot show the window, lets Qt's held-back messages through, waits
// for the font configuration, loads Qt's Bulgarian texts and sets the desktop identity.
void FinishApplicationStart(QCoreApplication& app);

// Installs Qt's own translation into Bulgarian (the line edits' context menu, the message box's
// button) from `directory`, Qt's translations folder by default. Returns false, leaving Qt's
// English texts, when the translation cannot be read.
bool LoadQtTranslation(QCoreApplication& app, const QString& directory = {});

// Places `window`, not yet shown, so that its whole frame, title bar included, is centred on the
// screen. On X11, under a window manager that tells the frame's size before the window is
// mapped; elsewhere the window keeps the place it has (its client area centred).
void CentreWholeFrame(QWidget& window);

}  // namespace startup

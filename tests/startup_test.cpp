#include "app/startup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "window/main_window.h"

namespace {

using namespace Qt::StringLiterals;

// The texts of a line edit's context menu, as the user sees them.
QStringList ContextMenuTexts() {
  QLineEdit edit(QStringLiteral("1"));
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << action->text();
  return texts;
}

bool AnyStartsWith(const QStringList& texts, const QString& start) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const QString& t) { return t.startsWith(start); });
}

// Qt's own texts are Bulgarian whatever the user's locale (here English), and stay English, with
// no failure, where the translation is missing.
TEST(QtTranslation, ContextMenuReadsInBulgarianWhateverTheLocale) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  const QTemporaryDir empty;
  EXPECT_FALSE(startup::LoadQtTranslation(*qApp, empty.path()));
  EXPECT_TRUE(AnyStartsWith(ContextMenuTexts(), QStringLiteral("&Copy")));

  ASSERT_TRUE(startup::LoadQtTranslation(*qApp)) << "qtbase_bg.qm (qt6-translations-l10n)";
  const QStringList texts = ContextMenuTexts();
  EXPECT_TRUE(AnyStartsWith(texts, QStringLiteral("&Копиране"))) << texts.join(u'|').toStdString();
  EXPECT_TRUE(AnyStartsWith(texts, QStringLiteral("Избиране на всичко")));
  EXPECT_FALSE(AnyStartsWith(texts, QStringLiteral("&Copy")));
  QLocale::setDefault(QLocale::system());
  qDeleteAll(qApp->findChildren<QTranslator*>());
}

// The user's QT_QPA_PLATFORM always wins; an X display, XWayland's included, comes before
// Wayland; Wayland alone runs natively. Windows has its own platform whatever DISPLAY says.
TEST(ChoosePlatform, PrefersTheUsersChoiceThenXThenWayland) {
  struct Case {
    const char* qt_qpa_platform;
    const char* display;
    const char* wayland_display;
    const char* expected;
  };
  const Case cases[] = {
      {"wayland", ":0", "wayland-0", ""},
      {"offscreen", nullptr, nullptr, ""},
      {nullptr, ":0", "wayland-0", "xcb"},
      {"", ":1", nullptr, "xcb"},
      {nullptr, "", "wayland-0", "wayland"},
      {nullptr, nullptr, nullptr, ""},
      {"", "", "", ""},
  };
  for (Case c : cases) {
#if defined(Q_OS_WIN)
    c.expected = "";
#endif
    EXPECT_EQ(startup::ChoosePlatform(c.qt_qpa_platform, c.display, c.wayland_display),
              QByteArray(c.expected))
        << (c.qt_qpa_platform ? c.qt_qpa_platform : "(unset)") << " "
        << (c.display ? c.display : "(unset)") << " "
        << (c.wayland_display ? c.wayland_display : "(unset)");
  }
}

// Started as main() starts it, in a Wayland session with XWayland: X, the platform chosen, reaches
// Qt; Qt's messages, from any thread, wait until the platform has started and then reach the
// handler that was there before; and the window is tied to its desktop entry.
TEST(StartUp, HandsOverThePlatformHoldsQtsMessagesAndNamesTheDesktopEntry) {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  static std::vector<QString> passed_on;
  passed_on.clear();
  const QtMessageHandler before = qInstallMessageHandler(
      [](QtMsgType, const QMessageLogContext&, const QString& text) { passed_on.push_back(text); });
  startup::PrepareApplicationStart({{}, ":0", "wayland-0"});
#if defined(Q_OS_WIN)
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), platform);  // Qt's Windows platform, whatever DISPLAY says
#else
  EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
#endif
  std::thread other([] { qWarning("from another thread"); });
  qWarning("from the main thread");
  other.join();
  EXPECT_TRUE(passed_on.empty());
  startup::FinishApplicationStart(*qApp);
  std::sort(passed_on.begin(), passed_on.end());
  EXPECT_EQ(passed_on, (std::vector<QString>{u"from another thread"_s, u"from the main thread"_s}));
  EXPECT_EQ(QGuiApplication::desktopFileName(), u"org.example.frustum"_s);
  qInstallMessageHandler(before);
  qputenv("QT_QPA_PLATFORM", platform);
  qDeleteAll(qApp->findChildren<QTranslator*>());  // Qt's texts in English again
}

// The whole frame is centred, title bar included. _NET_FRAME_EXTENTS lists the frame's left,
// right, top and bottom, here in device pixels two to a pixel.
TEST(Centring, CentresTheWholeFrame) {
  const QMargins frame = startup::FrameMargins({2, 6, 40, 4}, 2);
  EXPECT_EQ(frame, QMargins(1, 20, 3, 2));
  EXPECT_EQ(CentredClientArea(QRect(100, 50, 1000, 800), QSize(500, 400), frame),
            QRect(349, 259, 500, 400));
}

}  // namespace

#include "app/startup.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <memory>

namespace {

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
}

// The user's QT_QPA_PLATFORM always wins; an X display, XWayland's included, comes before
// Wayland; Wayland alone runs natively.
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
  for (const Case& c : cases) {
    EXPECT_EQ(startup::ChoosePlatform(c.qt_qpa_platform, c.display, c.wayland_display),
              QByteArray(c.expected))
        << (c.qt_qpa_platform ? c.qt_qpa_platform : "(unset)") << " "
        << (c.display ? c.display : "(unset)") << " "
        << (c.wayland_display ? c.wayland_display : "(unset)");
  }
}

}  // namespace

// What assistive technology is told while the window is used. Qt passes on no accessibility
// event while no accessibility bus is there, so this runs on an X display with the bus
// (tests/with_accessibility_bus.sh); the events are caught before they reach it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "window/main_window.h"

namespace {

struct Sent {
  QObject* object;
  QAccessible::Event type;
  QAccessible::State changed;
  QString name;  // the object's, as it may be gone when the events are read
};
std::vector<Sent> sent;

void Record(QAccessibleEvent* event) {
  QAccessible::State changed;
  if (event->type() == QAccessible::StateChanged) {
    changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
  }
  sent.push_back({event->object(), event->type(), changed,
                  event->object() ? event->object()->objectName() : QString()});
}

// How many events of `type` were sent for `object`, of state changes those with all of `changed`.
int Count(QObject* object, QAccessible::Event type, QAccessible::State changed = {}) {
  return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const Sent& e) {
    return e.object == object && e.type == type && e.changed.readOnly >= changed.readOnly &&
           e.changed.editable >= changed.editable && e.changed.disabled >= changed.disabled;
  }));
}

TEST(AccessibilityEvents, LockEnabledAndValueChangesAreAnnounced) {
  // Waits of up to a minute, for a machine busy with builds.
  ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 60000))
      << "Qt's accessibility did not come on";
  MainWindow window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 60000));
  QAccessible::installUpdateHandler(Record);
  auto cell = [&](int k) {
    return window.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k));
  };
  QAccessible::State lock;
  lock.readOnly = lock.editable = true;

  // Choosing variant 1 locks row 0's given cells and opens row 1's.
  auto* option = window.findChild<QRadioButton*>(QStringLiteral("Option1_1"));
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 3, 12));
  for (int k : {0, 1, 2, 6, 7, 9})
    EXPECT_GE(Count(cell(k), QAccessible::StateChanged, lock), 1) << k;

  QAccessible::State enabled = lock;
  enabled.disabled = true;
  cell(6)->setEnabled(false);
  EXPECT_EQ(Count(cell(6), QAccessible::StateChanged, enabled), 1);

  cell(7)->setFocus();
  QTest::keyClicks(cell(7), QStringLiteral("12"));
  EXPECT_EQ(Count(cell(7), QAccessible::DescriptionChanged), 2);  // one per key

  QAccessible::installUpdateHandler(nullptr);
}

TEST(AccessibilityEvents, AScreenReadersPressKeepsTheFocusAndAFailureSelectsTheNamedCell) {
  MainWindow window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 60000));
  auto cell = [&](int k) {
    return window.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k));
  };
  // Вариант 3 with r + R = 0 fails and names r, where the focus stays through the press.
  window.ChooseOption(2);
  cell(12)->setText(QStringLiteral("1"));
  cell(13)->setText(QStringLiteral("-1"));
  cell(12)->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return cell(12)->hasFocus(); }, 60000));
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  closer.start(10);
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(
      window.findChild<QWidget*>(QStringLiteral("Command1_0")));
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return cell(12)->selectedText() == QStringLiteral("1"); }, 60000));
  EXPECT_TRUE(cell(12)->hasFocus());
  // Calculated, the computed values are said where the focus is, which stays.
  cell(13)->setText(QStringLiteral("2"));
  cell(16)->setText(QStringLiteral("30"));
  sent.clear();
  QAccessible::installUpdateHandler(Record);
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  // Qt 6.8 announces; before it, the window shows a notification that only screen readers see.
  auto said = [](const Sent& e) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    return e.type == QAccessible::Announcement;
#else
    return e.type == QAccessible::ObjectShow && e.name == QStringLiteral("accessibility_notice");
#endif
  };
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::any_of(sent.begin(), sent.end(), said); }, 60000));
  QAccessible::installUpdateHandler(nullptr);
  EXPECT_TRUE(cell(12)->hasFocus());
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

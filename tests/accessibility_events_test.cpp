// What assistive technology is told while the window is used: run on an X display with Qt's
// accessibility switched on (tests/with_accessibility_bus.sh), since Qt passes on no event while
// no accessibility bus is there. The events are caught before they reach the bus.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <vector>

#include "window/main_window.h"

namespace {

struct Event {
  QAccessible::Event type;
  QObject* object;
  QAccessible::State changed;
};

std::vector<Event>& Events() {
  static std::vector<Event> events;
  return events;
}

void Record(QAccessibleEvent* event) {
  QAccessible::State changed;
  if (event->type() == QAccessible::StateChanged) {
    changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
  }
  Events().push_back({event->type(), event->object(), changed});
}

class AccessibilityEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
        << "Qt's accessibility did not come on";
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QAccessible::installUpdateHandler(Record);
    Events().clear();
  }
  void TearDown() override { QAccessible::installUpdateHandler(nullptr); }

  QLineEdit* Cell(int k) { return window.findChild<QLineEdit*>(QStringLiteral("Text2_%1").arg(k)); }

  // Whether a change of cell k's lock (read-only and editable), and of its enabled flag if
  // `disabled` is set, was announced.
  bool StateChangeAnnounced(int k, bool disabled) {
    for (const Event& e : Events()) {
      if (e.type == QAccessible::StateChanged && e.object == Cell(k) && e.changed.readOnly &&
          e.changed.editable && (!disabled || e.changed.disabled)) {
        return true;
      }
    }
    return false;
  }
  int DescriptionChanges(int k) {
    int count = 0;
    for (const Event& e : Events()) {
      count += e.type == QAccessible::DescriptionChanged && e.object == Cell(k);
    }
    return count;
  }
  QAccessible::State StateOf(int k) {
    return QAccessible::queryAccessibleInterface(Cell(k))->state();
  }

  MainWindow window;
};

TEST_F(AccessibilityEventsTest, ChoosingAVariantAnnouncesEveryLockThatChanged) {
  auto* option = window.findChild<QRadioButton*>(QStringLiteral("Option1_1"));
  QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 3, 12));
  ASSERT_EQ(window.selectedVariant(), 1);
  // Row 1's given cells were locked, row 2's opened.
  for (int k : {0, 1, 2, 6, 7, 9}) {
    EXPECT_TRUE(StateChangeAnnounced(k, false)) << k;
    EXPECT_EQ(StateOf(k).editable, k >= 6) << k;
  }
}

TEST_F(AccessibilityEventsTest, EnablingOrDisablingACellIsAnnounced) {
  Cell(0)->setEnabled(false);
  EXPECT_TRUE(StateChangeAnnounced(0, true));
  EXPECT_FALSE(StateOf(0).editable);
  Events().clear();
  Cell(0)->setEnabled(true);
  EXPECT_TRUE(StateChangeAnnounced(0, true));
  EXPECT_TRUE(StateOf(0).editable);
}

TEST_F(AccessibilityEventsTest, EveryNewValueIsAnnouncedAsTheDescription) {
  for (int k : {0, 1, 2}) {
    Cell(k)->setFocus();
    QTest::keyClicks(Cell(k), QString::number(1000 * (k + 1)));
  }
  EXPECT_EQ(DescriptionChanges(0), 4);  // one per key
  Events().clear();
  window.findChild<QPushButton*>(QStringLiteral("Command1_0"))->click();
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(DescriptionChanges(k), 1) << k;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Cell(k))->text(QAccessible::Description),
              Cell(k)->text());
  }
  EXPECT_EQ(Cell(5)->text(), u"21\u00a0991\u00a0148\u00a0575,129");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("LC_ALL", "bg_BG.UTF-8");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

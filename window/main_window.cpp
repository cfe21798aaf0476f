#include "window/main_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <utility>
#include <vector>

#include "window/assignment_text.h"
#include "window/failure_messages.h"
#include "window/hamburger.xpm"
#include "window/main_window_layout.h"
#include "window/number_text.h"
#include "window/window_widgets.h"

#ifndef FRUSTUM_WEB_ADDRESS
#define FRUSTUM_WEB_ADDRESS "frustum.example.org"
#endif

namespace {

QColor ToColor(layout::Rgb c) { return QColor(c.red, c.green, c.blue); }

QRect PixelRect(int left, int top, int width, int height) {
  return QRect(layout::Px(left), layout::Px(top), layout::Px(width), layout::Px(height));
}

// Gives `role` one colour in every colour group, so that a disabled or inactive control shows
// the same colour as an active one.
void Paint(QWidget* widget, std::initializer_list<QPalette::ColorRole> roles, QColor colour) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : roles) {
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, role, colour);
    }
  }
  widget->setPalette(palette);
}

QString ObjectName(const char* array, int index) {
  return QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), form_(*this) {
  setObjectName(QStringLiteral("MainWindow"));
  // A title bar with icon, window menu and close box, but no minimise or maximise box, and a
  // fixed size: the layout is laid out to the pixel.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(layout::Px(layout::ClientWidth), layout::Px(layout::ClientHeight));
  setWindowTitle(QStringLiteral(FRUSTUM_WEB_ADDRESS) + QString::fromUtf16(layout::Caption));
  setWindowIcon(QIcon(QPixmap(hamburger_xpm)));
  setAutoFillBackground(true);
  Paint(this, {QPalette::Window}, ToColor(layout::WindowColour));
  // Every control inherits the window's font; only the computed cells have a bold one.
  setFont(QFont(QString::fromLatin1(layout::FontFamily), layout::FontPointSize));

  CreateControls();
  SetTabOrder();

  // Opens centred on the screen: here the client area; where the window manager tells the size
  // of its frame before the window is shown, start-up centres the whole frame instead.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
  }
  // The caret starts in the assignment text, the first control in the tab order.
  Text1_->setFocus(Qt::OtherFocusReason);

  form_.Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
  // Sibling widgets stack in the order they are created, the last one on top: labels first, so
  // that every other control lies over them.
  for (const layout::Control& c : layout::Labels) {
    auto* label = new QLabel(QString::fromUtf16(c.text), this);
    label->setObjectName(ObjectName("Label1", c.index));
    label->setGeometry(PixelRect(c.left, c.top, c.width, c.height));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(true);
    Paint(label, {QPalette::Window}, ToColor(c.colour));
  }

  QFont bold = font();
  bold.setBold(true);
  for (std::int16_t k : layout::CellStackingOrder()) {
    auto* cell = new QLineEdit(this);
    cell->setObjectName(ObjectName("Text2", k));
    cell->setGeometry(PixelRect(layout::CellLeft(k % 6), layout::CellTop(k / 6), layout::CellWidth,
                                layout::CellHeight));
    // A screen reader names the cell by its quantity and variant, e.g. "r, Вариант 1".
    QString name = QStringLiteral("%1, Вариант %2")
                       .arg(QString::fromUtf16(layout::ColumnHeads[k % 6]))
                       .arg(k / 6 + 1);
    if (layout::IsComputedCell(k)) {
      // Written only by the program: never focused or typed into, pink with greyed bold text.
      cell->setEnabled(false);
      cell->setFont(bold);
      Paint(cell, {QPalette::Base}, ToColor(layout::ComputedCellColour));
      name += QStringLiteral(", изчислено");
    }
    cell->setAccessibleName(name);
    // A value wider than its cell is cut, and a disabled cell cannot be scrolled: the tool tip
    // (shown by disabled widgets too) always offers the whole text.
    connect(cell, &QLineEdit::textChanged, cell, &QWidget::setToolTip);
    Text2_[static_cast<std::size_t>(k)] = cell;
  }

  for (const layout::Control& c : layout::Others) {
    const QRect geometry = PixelRect(c.left, c.top, c.width, c.height);
    const QString text = c.text ? QString::fromUtf16(c.text) : QString();
    switch (c.kind) {
      case layout::Kind::Command: {
        auto* button = new FaceButton(text, ToColor(c.colour), this);
        button->setObjectName(ObjectName("Command1", c.index));
        button->setGeometry(geometry);
        connect(button, &QPushButton::clicked, this, [this, i = c.index] { PressCommand(i); });
        Command1_[static_cast<std::size_t>(c.index)] = button;
        break;
      }
      case layout::Kind::Frame:
        Frame1_ = new FrameBox(text, this);
        Frame1_->setObjectName(QStringLiteral("Frame1"));
        Frame1_->setGeometry(geometry);
        Paint(Frame1_, {QPalette::Window}, ToColor(c.colour));
        break;
      case layout::Kind::Option: {
        auto* option = new OptionButton(text, Frame1_);
        option->setObjectName(ObjectName("Option1", c.index));
        option->setGeometry(geometry);
        // A button's background is drawn with the Button role; the Window role is set as well
        // for the styles that use it.
        option->setAutoFillBackground(true);
        Paint(option, {QPalette::Button, QPalette::Window}, ToColor(c.colour));
        // Of the group only the chosen button is a Tab stop; the others take the focus by a
        // click or by the arrow keys.
        option->setFocusPolicy(Qt::ClickFocus);
        option->setMoveChoice([this](int step) { MoveChoice(step); });
        connect(option, &QRadioButton::toggled, this, [this, option, i = c.index](bool chosen) {
          option->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
          if (chosen) form_.Option1_Click(i);
        });
        Option1_[static_cast<std::size_t>(c.index)] = option;
        break;
      }
      case layout::Kind::Assignment: {
        Text1_ = new QPlainTextEdit(this);
        Text1_->setObjectName(ObjectName("Text1", c.index));
        Text1_->setGeometry(geometry);
        // The stored text ends its lines with CR LF; the box shows each as one line break.
        Text1_->setPlainText(QString::fromUtf16(AssignmentText)
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        Text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Locked: no typing, but the caret, scrolling, selecting and copying all work, and Tab
        // moves on to the next control.
        Text1_->setReadOnly(true);
        Text1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        Text1_->setFocusPolicy(Qt::StrongFocus);
        Text1_->setTabChangesFocus(true);
        Text1_->setAccessibleName(QStringLiteral("Задание"));
        break;
      }
      case layout::Kind::Label:
        break;
    }
  }
}

void MainWindow::SetTabOrder() {
  std::vector<std::pair<int, QWidget*>> order;
  for (const layout::Control& c : layout::Others) {
    switch (c.kind) {
      case layout::Kind::Command:
        order.emplace_back(c.tab_index, Command1_[static_cast<std::size_t>(c.index)]);
        break;
      case layout::Kind::Option:
        order.emplace_back(c.tab_index, Option1_[static_cast<std::size_t>(c.index)]);
        break;
      case layout::Kind::Assignment:
        order.emplace_back(c.tab_index, Text1_);
        break;
      case layout::Kind::Label:
      case layout::Kind::Frame:
        break;  // never take the focus
    }
  }
  for (int k = 0; k < CellCount; ++k) {
    order.emplace_back(layout::CellTabIndex(k), Text2_[static_cast<std::size_t>(k)]);
  }
  std::sort(order.begin(), order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1].second, order[i].second);
  }
}

QString MainWindow::CellText(std::int16_t index) const {
  return Text2_.at(static_cast<std::size_t>(index))->text();
}

void MainWindow::SetCellText(std::int16_t index, const QString& text) {
  Text2_.at(static_cast<std::size_t>(index))->setText(text);
}

void MainWindow::SetCellLocked(std::int16_t index, bool locked) {
  Text2_.at(static_cast<std::size_t>(index))->setReadOnly(locked);
}

void MainWindow::ChooseOption(std::int16_t index) {
  // Raises Option1_Click through the toggled signal when the choice changes.
  Option1_.at(static_cast<std::size_t>(index))->setChecked(true);
}

void MainWindow::MoveChoice(int step) {
  const int count = static_cast<int>(Option1_.size());
  const int next = (selectedVariant() + step + count) % count;
  OptionButton* option = Option1_[static_cast<std::size_t>(next)];
  option->setChecked(true);
  option->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void MainWindow::PressCommand(std::int16_t index) {
  QWidget* focus = QApplication::focusWidget();
  QString message;
  try {
    form_.Command1_Click(index);
    return;
  } catch (const geometry::FrustumFailure& failure) {
    message = FailureMessage(selectedVariant(), failure.kind());
  } catch (const NumberOutOfRange&) {
    message = NumberOutOfRangeMessage();
  }
  // Nothing was written: the grid is as it was, and the user goes on from where they were.
  QMessageBox box(QMessageBox::Critical, QString::fromUtf16(FailureTitle), message, QMessageBox::Ok,
                  this);
  box.exec();
  activateWindow();
  if (focus) focus->setFocus(Qt::OtherFocusReason);
}

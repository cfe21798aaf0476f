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
#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "form/failure_messages.h"
#include "window/accessibility.h"
#include "window/assignment_text.h"
#include "window/cell_edit.h"
#include "window/hamburger.xpm"
#include "window/main_window_layout.h"
#include "window/window_widgets.h"

namespace {

using namespace Qt::StringLiterals;

QColor ToColor(layout::Rgb c) { return QColor(c.red, c.green, c.blue); }

QRect PixelRect(const layout::Place& p) {
  return QRect(layout::Px(p.left), layout::Px(p.top), layout::Px(p.width), layout::Px(p.height));
}

// Gives the `background` roles of `widget` the colour `colour`, and its `text` roles the colour
// of the window's own that stands out against it, in every colour group (as setColor without a
// group does), so that a disabled or inactive control shows the same colours as an active one.
// The desktop's text colour is not used on a fixed background: under a dark scheme it is light,
// and hardly seen there.
void Paint(QWidget* widget, std::initializer_list<QPalette::ColorRole> background,
           std::initializer_list<QPalette::ColorRole> text, QColor colour) {
  QPalette palette = widget->palette();
  for (QPalette::ColorRole role : background) palette.setColor(role, colour);
  for (QPalette::ColorRole role : text) palette.setColor(role, TextColourOn(colour));
  widget->setPalette(palette);
}

QString ObjectName(const QString& array, int index) { return u"%1_%2"_s.arg(array).arg(index); }

// What a screen reader calls cell k: its quantity and variant as the column head and the option
// button show them, e.g. "r, Вариант 1", and for a computed cell that it is computed.
QString CellName(int k) {
  const QString name = u"%1, %2"_s.arg(layout::Labels[form::ColumnOf(k) + 1].text,
                                       layout::Options[form::RowOf(k)].text);
  return form::IsGivenCell(k) ? name : name + u", изчислено"_s;
}

// A computed cell is written only by the program: never focused or typed into, pink with greyed
// bold text. The grey is set here rather than left to the platform style (Fusion's is all but
// invisible on the pink): lighter than the black of the given cells, yet 4.5 times as dark as
// the pink.
void MakeComputed(QLineEdit* cell) {
  cell->setEnabled(false);
  QFont bold = cell->font();
  bold.setBold(true);
  cell->setFont(bold);
  Paint(cell, {QPalette::Base}, {}, ToColor(layout::ComputedCellColour));
  QPalette palette = cell->palette();
  palette.setColor(QPalette::Disabled, QPalette::Text, ToColor(layout::ComputedTextColour));
  cell->setPalette(palette);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), form_(*this) {
  // Before any control exists, so that none is ever given Qt's own accessible interface.
  accessibility::InstallFactory();
  setObjectName(u"MainWindow"_s);
  // A title bar with icon, window menu and close box, but no minimise or maximise box, and a
  // fixed size: the layout is laid out to the pixel.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(layout::Px(layout::ClientWidth), layout::Px(layout::ClientHeight));
  setWindowTitle(QString::fromUtf8(FRUSTUM_WEB_ADDRESS) + layout::Caption);
  setWindowIcon(QIcon(QPixmap(hamburger_xpm)));
  setAutoFillBackground(true);
  Paint(this, {QPalette::Window}, {}, ToColor(layout::WindowColour));
  // Every control inherits the window's font; only the computed cells have a bold one.
  setFont(QFont(layout::FontFamily, layout::FontPointSize));

  CreateLabels();
  CreateCells();
  CreateCommandButtons();
  CreateOptionFrame();
  CreateAssignment();
  SetTabOrder();
  CentreOnScreen();
  accessibility::AnnounceChanges(*this);

  // The caret starts in the assignment text, the first control in the tab order.
  Text1_->setFocus(Qt::OtherFocusReason);

  form_.Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateLabels() {
  for (const layout::LabelControl& c : layout::Labels) {
    auto* label = new QLabel(c.text, this);
    label->setObjectName(ObjectName(u"Label1"_s, c.index));
    label->setGeometry(PixelRect(c.place));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(true);
    Paint(label, {QPalette::Window}, {QPalette::WindowText}, ToColor(layout::LabelColour));
  }
}

void MainWindow::CreateCells() {
  for (std::int16_t k : layout::CellStackingOrder()) {
    auto* cell = new CellEdit(this);
    cell->setObjectName(ObjectName(u"Text2"_s, k));
    cell->setGeometry(PixelRect(layout::CellPlace(k)));
    if (!form::IsGivenCell(k)) MakeComputed(cell);
    cell->setAccessibleName(CellName(k));
    // Inside the cell's outline, and clear of the strips that its right-hand neighbour and the
    // row below cover.
    cell->SetFocusRingInset(QMargins(1, 1, layout::Px(layout::CellWidth - layout::ColumnPitch),
                                     layout::Px(layout::CellHeight - layout::RowPitch)));
    // A value wider than its cell shows its start and "…", and a disabled cell cannot be
    // scrolled: the tool tip (shown by disabled widgets too) always offers the whole text.
    connect(cell, &QLineEdit::textChanged, cell, &QWidget::setToolTip);
    Text2_[static_cast<std::size_t>(k)] = cell;
  }
}

void MainWindow::CreateCommandButtons() {
  for (std::int16_t i = 0; i < static_cast<std::int16_t>(std::size(layout::Commands)); ++i) {
    const layout::CommandControl& c = layout::Commands[i];
    auto* button = new FaceButton(c.text, ToColor(c.face), this);
    button->setObjectName(ObjectName(u"Command1"_s, i));
    button->setGeometry(PixelRect(c.place));
    Paint(button, {}, {QPalette::ButtonText}, ToColor(c.face));
    connect(button, &QPushButton::clicked, this, [this, i] { PressCommand(i); });
    Command1_[static_cast<std::size_t>(i)] = button;
  }
}

void MainWindow::CreateOptionFrame() {
  Frame1_ = new FrameBox(layout::FrameTitle, this);
  Frame1_->setObjectName(u"Frame1"_s);
  Frame1_->setGeometry(PixelRect(layout::FramePlace));
  Paint(Frame1_, {QPalette::Window}, {QPalette::WindowText}, ToColor(layout::FrameColour));

  for (std::int16_t i = 0; i < form::RowCount; ++i) {
    const layout::OptionControl& c = layout::Options[i];
    auto* option = new OptionButton(c.text, Frame1_);
    option->setObjectName(ObjectName(u"Option1"_s, i));
    option->setGeometry(PixelRect(c.place));
    // A button's background is drawn with the Button role; the Window role is set as well for
    // the styles that use it.
    option->setAutoFillBackground(true);
    Paint(option, {QPalette::Button, QPalette::Window}, {QPalette::WindowText},
          ToColor(layout::OptionColour));
    // Of the group only the chosen button is a Tab stop; the others take the focus by a click or
    // by the arrow keys.
    option->setFocusPolicy(Qt::ClickFocus);
    option->SetMoveChoice([this](int step) { MoveChoice(step); });
    option->SetFocusRingInset(QMargins(0, 0, 0, layout::Px(layout::OptionOverlap())));
    connect(option, &QRadioButton::toggled, this, [this, option, i](bool chosen) {
      option->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
      if (chosen) form_.Option1_Click(i);
    });
    Option1_[static_cast<std::size_t>(i)] = option;
  }
}

void MainWindow::CreateAssignment() {
  Text1_ = new AssignmentBox(this);
  Text1_->setObjectName(ObjectName(u"Text1"_s, 0));
  Text1_->setGeometry(PixelRect(layout::AssignmentPlace));
  // The stored text ends its lines with CR LF; the box shows each as one line break.
  Text1_->setPlainText(QString(layout::AssignmentText).replace(u"\r\n"_s, u"\n"_s));
  Text1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Locked: no typing, but the caret, scrolling, selecting and copying all work, and Tab moves
  // on to the next control.
  Text1_->setReadOnly(true);
  Text1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text1_->setFocusPolicy(Qt::StrongFocus);
  Text1_->setTabChangesFocus(true);
  Text1_->setAccessibleName(u"Задание"_s);
}

void MainWindow::SetTabOrder() {
  // Labels and the frame never take the focus, so only these controls are in the chain.
  std::vector<std::pair<int, QWidget*>> order;
  order.emplace_back(layout::AssignmentTabIndex, Text1_);
  for (std::size_t i = 0; i < Command1_.size(); ++i) {
    order.emplace_back(layout::Commands[i].tab_index, Command1_[i]);
  }
  for (std::size_t i = 0; i < Option1_.size(); ++i) {
    order.emplace_back(layout::Options[i].tab_index, Option1_[i]);
  }
  for (int k = 0; k < form::CellCount; ++k) {
    order.emplace_back(layout::CellTabIndex(k), Text2_[static_cast<std::size_t>(k)]);
  }
  std::sort(order.begin(), order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1].second, order[i].second);
  }
}

QRect CentredClientArea(const QRect& area, const QSize& size, const QMargins& frame) {
  const QSize whole = size.grownBy(frame);
  const QPoint frame_corner(area.x() + (area.width() - whole.width()) / 2,
                            area.y() + (area.height() - whole.height()) / 2);
  return QRect(frame_corner + QPoint(frame.left(), frame.top()), size);
}

void MainWindow::CentreOnScreen(const QMargins& frame) {
  if (const QScreen* shown_on = screen()) {
    setGeometry(CentredClientArea(shown_on->availableGeometry(), size(), frame));
  }
}

QString MainWindow::CellText(std::int16_t index) const {
  return Text2_[static_cast<std::size_t>(index)]->text();
}

void MainWindow::SetCellText(std::int16_t index, const QString& text) {
  // Setting the same text again would still move the caret to the end and back to the start,
  // and so repaint the cell for nothing.
  QLineEdit* cell = Text2_[static_cast<std::size_t>(index)];
  if (cell->text() != text) cell->setText(text);
}

void MainWindow::SetCellLocked(std::int16_t index, bool locked) {
  Text2_[static_cast<std::size_t>(index)]->setReadOnly(locked);
}

void MainWindow::ChooseOption(std::int16_t index) {
  // Raises Option1_Click through the toggled signal when the choice changes.
  Option1_[static_cast<std::size_t>(index)]->setChecked(true);
}

void MainWindow::MoveChoice(int step) {
  const int count = static_cast<int>(Option1_.size());
  const int next = (GetSelectedVariant() + step + count) % count;
  OptionButton* option = Option1_[static_cast<std::size_t>(next)];
  option->setChecked(true);
  option->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void MainWindow::PressCommand(std::int16_t index) {
  QWidget* focus = QApplication::focusWidget();
  const form::CommandOutcome outcome = form_.Command1_Click(index);
  if (!outcome.Failed()) {
    if (index == 0) accessibility::AnnounceResults(*this);
    return;
  }
  // Nothing was written: the grid is as it was. The user goes on in the cell the message names,
  // its text selected so that typing replaces it, or else from where they were.
  QMessageBox box(QMessageBox::Critical, form::FailureTitle, outcome.failure, QMessageBox::Ok,
                  this);
  box.exec();
  activateWindow();
  if (outcome.cell >= 0) {
    // The focus may reach the cell only when the window is active again, and a cell without the
    // focus drops a selection to show its start: the text is selected when the focus arrives.
    QLineEdit* cell = Text2_[static_cast<std::size_t>(outcome.cell)];
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(qApp, &QApplication::focusChanged, cell, [cell, once](QWidget*, QWidget* now) {
      if (!now) return;
      if (now == cell) cell->selectAll();
      QObject::disconnect(*once);
    });
    cell->setFocus(Qt::OtherFocusReason);
    if (cell->hasFocus()) {  // it had the focus already: no change is signalled
      QObject::disconnect(*once);
      cell->selectAll();
    }
  } else if (focus) {
    focus->setFocus(Qt::OtherFocusReason);
  }
}

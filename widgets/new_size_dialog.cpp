#include "widgets/new_size_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <cstdint>

#include "settings/parse_int.h"
#include "widgets/modal_dialog.h"
#include "widgets/qt_text.h"

namespace gk {

namespace {

constexpr int SpinMin = 8;
constexpr int SpinMax = 128;
constexpr int SpinStep = 8;

constexpr int ArrowW = 18;
constexpr int RowH = 24;

QToolButton* MakeArrow(const char* name, Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

UpDownSpinner::UpDownSpinner(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent)
    : QWidget(parent),
      Down(MakeArrow("Down", Qt::LeftArrow, this)),
      Up(MakeArrow("Up", Qt::RightArrow, this)),
      buddy_(buddy),
      minimum_(minimum),
      maximum_(maximum),
      step_(step),
      position_(minimum) {
  Down->setGeometry(0, 0, ArrowW, RowH);
  Up->setGeometry(ArrowW, 0, ArrowW, RowH);
  resize(2 * ArrowW, RowH);
  connect(Down, &QToolButton::clicked, this, [this] { StepDown(); });
  connect(Up, &QToolButton::clicked, this, [this] { StepUp(); });
}

void UpDownSpinner::SetPosition(int value) {
  position_ = std::clamp(value, minimum_, maximum_);
  buddy_->setText(QString::number(position_));
}

void UpDownSpinner::StepBy(int delta) {
  // 64-bit so that a typed number near the 32-bit ends cannot overflow.
  std::int64_t current = position_;
  if (auto typed = TryParseInt(ToUtf8(buddy_->text()))) current = *typed;
  SetPosition(static_cast<int>(std::clamp<std::int64_t>(current + delta, minimum_, maximum_)));
}

TfrmNew::TfrmNew(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  setObjectName(QStringLiteral("frmNew"));
  setWindowTitle("New");
  setFixedSize(192, 132);
}

// Made when the dialog is first shown or run, which nothing before needs: the start-up then
// does not lay out their texts.
void TfrmNew::BuildControls() {
  if (Button1 != nullptr) return;
  Label1 = new QLabel("Width", this);
  edtW = new QLineEdit(this);
  udW = new UpDownSpinner(edtW, SpinMin, SpinMax, SpinStep, this);
  Label2 = new QLabel("Height", this);
  edtH = new QLineEdit(this);
  udH = new UpDownSpinner(edtH, SpinMin, SpinMax, SpinStep, this);
  OK = new QPushButton("OK", this);
  Button1 = new QPushButton("Cancel", this);
  const std::pair<QObject*, const char*> names[] = {
      {Label1, "Label1"}, {edtW, "edtW"}, {udW, "udW"}, {Label2, "Label2"},
      {edtH, "edtH"},     {udH, "udH"},   {OK, "OK"},   {Button1, "Button1"}};
  for (const auto& [control, name] : names) control->setObjectName(QLatin1String(name));

  Label1->setGeometry(16, 16, 56, RowH);
  edtW->setGeometry(72, 16, 64, RowH);
  udW->move(138, 16);
  Label2->setGeometry(16, 48, 56, RowH);
  edtH->setGeometry(72, 48, 64, RowH);
  udH->move(138, 48);
  OK->setGeometry(16, 88, 76, 28);
  Button1->setGeometry(100, 88, 76, 28);

  udW->SetPosition(SpinMin);
  udH->SetPosition(SpinMin);
  OK->setDefault(true);

  connect(OK, &QPushButton::clicked, this, [this] { done(ModalOk); });
  connect(Button1, &QPushButton::clicked, this, [this] { done(ModalCancel); });
}

void TfrmNew::setVisible(bool visible) {
  // Before Qt shows the children, so that the new ones show with the dialog.
  if (visible) BuildControls();
  QDialog::setVisible(visible);
}

void TfrmNew::reject() {
  done(ModalCancel);
}

std::optional<std::pair<std::string, std::string>> TfrmNew::Run(int width, int height) {
  BuildControls();
  udW->SetPosition(width);
  udH->SetPosition(height);
  edtW->setFocus();
  edtW->selectAll();
  CentreOnScreen(*this);
  if (exec() != ModalOk) return std::nullopt;
  return std::make_pair(ToUtf8(edtW->text()), ToUtf8(edtH->text()));
}

}  // namespace gk

#include "widgets/colour_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "editor/colour_selection.h"
#include "widgets/image_widget.h"
#include "widgets/modal_dialog.h"

namespace gk {

namespace {

QSlider* MakeTrackBar(QWidget* parent, const char* name, int top) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(QLatin1String(name));
  bar->setGeometry(64, top, 289, 41);
  bar->setRange(0, 255);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setTickInterval(16);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setValue(0);
  bar->setFocusPolicy(Qt::ClickFocus);  // not reached by Tab
  return bar;
}

// Sized to its caption by Run, which sets the caption shown: measuring text at start-up would
// load the font before the main window needs it.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int top) {
  auto* label = new QLabel(QLatin1String(caption), parent);
  label->setObjectName(QLatin1String(name));
  label->move(8, top);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                        int width, int height) {
  auto* button = new QPushButton(QLatin1String(caption), parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(left, top, width, height);
  return button;
}

}  // namespace

TfrmColor::TfrmColor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmColor"));
  setWindowTitle(QStringLiteral("color"));
  QFont f = font();
  f.setPixelSize(21);
  setFont(f);
  setFixedSize(373, 233);

  tbR_ = MakeTrackBar(this, "tbR", 16);
  lblR_ = MakeLabel(this, "lblR", "R", 22);
  tbG_ = MakeTrackBar(this, "tbG", 64);
  lblG_ = MakeLabel(this, "lblG", "G", 70);
  tbB_ = MakeTrackBar(this, "tbB", 112);
  lblB_ = MakeLabel(this, "lblB", "B", 118);
  OK_ = MakeButton(this, "OK", "OK", 160, 168, 75, 49);
  Button1_ = MakeButton(this, "Button1", "Cancel", 272, 167, 75, 50);
  setTabOrder(OK_, Button1_);

  Image1_.SetBounds(24, 160, 57, 57);
  auto* preview = new ImageWidget(Image1_, false, this);
  preview->setObjectName(QStringLiteral("Image1"));
  preview->setGeometry(Image1_.Left, Image1_.Top, Image1_.Width, Image1_.Height);
  image1Widget_ = preview;

  for (QSlider* bar : {tbR_, tbG_, tbB_}) {
    connect(bar, &QSlider::valueChanged, this, &TfrmColor::tbRChange);
  }
  connect(OK_, &QPushButton::clicked, this, &TfrmColor::OKClick);
  connect(Button1_, &QPushButton::clicked, this, &TfrmColor::Button1Click);
}

std::optional<Colour> TfrmColor::Run(Colour current) {
  const TrackBarPositions p = TrackBarsFromColour(current);
  tbB_->setValue(p.b);
  tbG_->setValue(p.g);
  tbR_->setValue(p.r);
  UpdatePreview();

  CentreOnScreen(*this);
  if (exec() != ModalOk) return std::nullopt;
  return PreviewColour();
}

void TfrmColor::UpdatePreview() {
  const auto show = [](QLabel* label, const char* prefix, const QSlider* bar) {
    label->setText(QLatin1String(prefix) + QString::number(bar->value()));
    label->adjustSize();
  };
  show(lblR_, "R:", tbR_);
  show(lblG_, "G:", tbG_);
  show(lblB_, "B:", tbB_);

  const Colour c = ColourFromTrackBars({tbR_->value(), tbG_->value(), tbB_->value()});
  Image1_.Canvas().FillRectangle(0, 0, Image1_.Width, Image1_.Height, c);
  image1Widget_->repaint();
}

Colour TfrmColor::PreviewColour() {
  return Image1_.Canvas().ReadPixel(0, 0);
}

void TfrmColor::reject() {
  done(ModalCancel);
}

void TfrmColor::tbRChange() {
  UpdatePreview();
}

void TfrmColor::OKClick() {
  done(ModalOk);
}

void TfrmColor::Button1Click() {
  done(ModalCancel);
}

}  // namespace gk

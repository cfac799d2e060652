#pragma once

#include <optional>

#include <QDialog>

#include "editor/image_control.h"
#include "image/colour.h"

class QLabel;
class QPushButton;
class QSlider;

namespace gk {

// frmColor: three track bars mixing a colour, with labels and a preview.
class TfrmColor : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmColor(QWidget* parent = nullptr);
  // Loads the track bars from `current` (B, G, R), updates the preview, shows the dialog
  // modally; the preview's top-left colour on OK, nothing on Cancel or the close box.
  std::optional<Colour> Run(Colour current);

  // The labels read "R:", "G:", "B:" and the positions; the preview is filled with the mix.
  void UpdatePreview();
  // The colour of the preview's top-left pixel: what OK hands back.
  Colour PreviewColour();

  // Cancel, Escape and the close box all give the modal result 2.
  void reject() override;

 private:
  void tbRChange();
  void OKClick();
  void Button1Click();

  QSlider* tbR_ = nullptr;
  QLabel* lblR_ = nullptr;
  QSlider* tbG_ = nullptr;
  QLabel* lblG_ = nullptr;
  QSlider* tbB_ = nullptr;
  QLabel* lblB_ = nullptr;
  QPushButton* OK_ = nullptr;
  QPushButton* Button1_ = nullptr;
  ImageControl Image1_;  // the preview's surface
  QWidget* image1Widget_ = nullptr;
};

}  // namespace gk

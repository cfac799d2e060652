#pragma once

#include <optional>

#include <QDialog>

#include "platform/colour.h"

namespace gk {

// frmColor: three track bars mixing a colour, with labels and a preview.
class TfrmColor : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmColor(QWidget* parent = nullptr);
  // Loads the track bars from `current` (B, G, R), updates the preview, shows the dialog
  // modally; the preview's top-left colour on OK, nothing on Cancel or the close box.
  std::optional<Colour> Run(Colour current);
};

}  // namespace gk

#pragma once

#include <QDialog>

#include "workspace/editor_ui.h"

namespace gk {

// FrmOption: the seven sizes, the live window-size label and the two save options.
class TFrmOption : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmOption(QWidget* parent = nullptr);
  // Fills the boxes from `values` (the label is computed once, while hidden), shows the dialog
  // modally; on OK returns true with `values` holding the boxes' texts and ticks.
  bool Run(OptionValues& values);
};

}  // namespace gk

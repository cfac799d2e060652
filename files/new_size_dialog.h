#pragma once

#include <optional>
#include <string>
#include <utility>

#include <QDialog>

namespace gk {

// frmNew: two boxes with spinners (8 to 128 in steps of 8); the box texts decide.
class TfrmNew : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmNew(QWidget* parent = nullptr);
  // Presets the spinners, shows the dialog modally; the two box texts on OK, nothing on Cancel.
  std::optional<std::pair<std::string, std::string>> Run(int width, int height);
};

}  // namespace gk

#pragma once

#include <optional>
#include <string>
#include <utility>

#include <QDialog>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace gk {

// A horizontal up-down spinner bound to an edit box. An arrow ("Down" on the left, "Up" on the
// right) reads the box's number (its own position when the text is not a number), steps within
// [minimum, maximum] without wrapping and writes the text back; text typed into the box is left
// alone until an arrow is used.
class UpDownSpinner : public QWidget {
 public:
  UpDownSpinner(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent);

  int Position() const { return position_; }
  // Clamps into the range and shows the value in the box.
  void SetPosition(int value);
  void StepUp() { StepBy(step_); }
  void StepDown() { StepBy(-step_); }

 private:
  void StepBy(int delta);

  QToolButton* Down;  // left arrow
  QToolButton* Up;    // right arrow

  QLineEdit* buddy_;
  int minimum_;
  int maximum_;
  int step_;
  int position_;
};

// frmNew: two boxes with spinners (8 to 128 in steps of 8); the box texts decide. Its controls
// carry their names as object names and are made when it is first shown or run.
class TfrmNew : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmNew(QWidget* parent = nullptr);
  // Presets the spinners, shows the dialog modally; the two box texts on OK, nothing on Cancel.
  std::optional<std::pair<std::string, std::string>> Run(int width, int height);

  // The close box and Escape give Cancel.
  void reject() override;
  void setVisible(bool visible) override;

 private:
  void BuildControls();

  QLabel* Label1 = nullptr;
  QLineEdit* edtW = nullptr;
  UpDownSpinner* udW = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edtH = nullptr;
  UpDownSpinner* udH = nullptr;
  QPushButton* OK = nullptr;
  QPushButton* Button1 = nullptr;
};

}  // namespace gk

#pragma once

#include <QDialog>

#include "settings/option_values.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gk {

// FrmOption: the seven sizes, the live window-size label and the two save options. Its
// controls are made when it is first shown or run.
class TFrmOption : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmOption(QWidget* parent = nullptr);
  // Fills the boxes from `values` (the label is computed once, while hidden), shows the dialog
  // modally; on OK returns true with `values` holding the boxes' texts and ticks.
  bool Run(OptionValues& values);

  // Recomputes LblWindow from the dot-size and edit-window boxes.
  void UpdateWindowSizeLabel();

  // The close box ends the dialog with Cancel.
  void reject() override;
  void setVisible(bool visible) override;

 protected:
  // Escape does not close the dialog; neither button is its cancel button.
  void keyPressEvent(QKeyEvent* event) override;

 private slots:
  void Button1Click();
  void Button2Click();
  void EdtWidthChange();

 private:
  void BuildControls();
  QLineEdit* AddEdit(const char* name, int left, int top, int width);
  QLabel* AddLabel(const char* name, const QString& caption, int left, int top, bool bold = false);

  QLineEdit* EdtWidth = nullptr;
  QLineEdit* EdtHeight = nullptr;
  QLineEdit* EdtDotSize = nullptr;
  QLineEdit* EdtWidth2 = nullptr;
  QLineEdit* EdtHeight2 = nullptr;
  QLineEdit* EdtButtonW = nullptr;
  QLineEdit* EdtButtonH = nullptr;
  QLabel* LblWindow = nullptr;
  QCheckBox* chk256 = nullptr;
  QCheckBox* chkPng = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
};

}  // namespace gk

#include "widgets/option_dialog.h"

#include <QCheckBox>
#include <QFont>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/option_command.h"
#include "widgets/modal_dialog.h"
#include "widgets/qt_text.h"

namespace gk {

namespace {

// A face that covers Japanese (the check boxes need it) and whose half-width glyphs keep each
// caption clear of the box placed after it.
QFont DialogFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("IPAGothic"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace

TFrmOption::TFrmOption(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("FrmOption"));
  setWindowTitle(QStringLiteral("Option"));
  setFixedSize(227, 435);
}

// Made when the dialog is first shown or run: the boxes and captions resolve the Japanese face,
// which would cost the start-up more than the rest of the dialog, and nothing shows them before.
void TFrmOption::BuildControls() {
  if (Button1 != nullptr) return;
  setFont(DialogFont(21, false));
  AddLabel("Label6", QStringLiteral("Default size"), 8, 8, true);
  AddLabel("Label1", QStringLiteral("Width"), 8, 32);
  EdtWidth = AddEdit("EdtWidth", 70, 29, 121);
  AddLabel("Label2", QStringLiteral("Height"), 8, 72);
  EdtHeight = AddEdit("EdtHeight", 70, 69, 121);
  AddLabel("Label7", QStringLiteral("Screen"), 8, 106, true);
  AddLabel("Label3", QStringLiteral("Dot size"), 8, 128);
  EdtDotSize = AddEdit("EdtDotSize", 94, 125, 121);
  AddLabel("Label4", QStringLiteral("Width"), 8, 168);
  EdtWidth2 = AddEdit("EdtWidth2", 70, 165, 121);
  AddLabel("Label5", QStringLiteral("Height"), 8, 208);
  EdtHeight2 = AddEdit("EdtHeight2", 70, 205, 121);
  AddLabel("Label8", QStringLiteral("Button"), 8, 248);
  EdtButtonW = AddEdit("EdtButtonW", 72, 245, 49);
  AddLabel("Label9", QStringLiteral("X"), 127, 248);
  EdtButtonH = AddEdit("EdtButtonH", 144, 245, 49);
  LblWindow = AddLabel("LblWindow", QStringLiteral("Window Size:"), 8, 288);

  chk256 = new QCheckBox(QStringLiteral("256色で保存"), this);
  chk256->setObjectName(QStringLiteral("chk256"));
  chk256->setGeometry(8, 320, 177, 17);
  chkPng = new QCheckBox(QStringLiteral("PNGで保存"), this);
  chkPng->setObjectName(QStringLiteral("chkPng"));
  chkPng->setGeometry(8, 352, 177, 17);

  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(11, 385, 97, 41);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(115, 385, 97, 41);
  // Neither button may take Enter: only a click closes the dialog.
  for (QPushButton* button : {Button1, Button2}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  QWidget* const tabOrder[] = {EdtWidth, EdtHeight, EdtDotSize, Button1,    Button2,   chk256,
                               chkPng,   EdtWidth2, EdtHeight2, EdtButtonW, EdtButtonH};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
    setTabOrder(tabOrder[i - 1], tabOrder[i]);
  }

  connect(Button1, &QPushButton::clicked, this, &TFrmOption::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFrmOption::Button2Click);
  for (QLineEdit* edit : {EdtDotSize, EdtWidth2, EdtHeight2, EdtButtonW, EdtButtonH}) {
    connect(edit, &QLineEdit::textChanged, this, &TFrmOption::EdtWidthChange);
  }
}

QLineEdit* TFrmOption::AddEdit(const char* name, int left, int top, int width) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(left, top, width, 29);
  return edit;
}

QLabel* TFrmOption::AddLabel(const char* name, const QString& caption, int left, int top,
                             bool bold) {
  auto* label = new QLabel(caption, this);
  label->setObjectName(QString::fromLatin1(name));
  if (bold) label->setFont(DialogFont(13, true));
  label->move(left, top);
  label->adjustSize();
  return label;
}

void TFrmOption::setVisible(bool visible) {
  // Before Qt shows the children, so that the new ones show with the dialog.
  if (visible) BuildControls();
  QDialog::setVisible(visible);
}

bool TFrmOption::Run(OptionValues& values) {
  BuildControls();
  // Hidden while filled, so the change events leave the label alone until it is computed once.
  EdtWidth2->setText(FromUtf8(values.width2));
  EdtHeight2->setText(FromUtf8(values.height2));
  EdtWidth->setText(FromUtf8(values.width));
  EdtHeight->setText(FromUtf8(values.height));
  EdtDotSize->setText(FromUtf8(values.dotSize));
  EdtButtonW->setText(FromUtf8(values.buttonW));
  EdtButtonH->setText(FromUtf8(values.buttonH));
  UpdateWindowSizeLabel();
  chk256->setChecked(values.save256);
  chkPng->setChecked(values.png);

  CentreOnScreen(*this);
  EdtWidth->setFocus();

  if (exec() != ModalOk) return false;

  values.width = ToUtf8(EdtWidth->text());
  values.height = ToUtf8(EdtHeight->text());
  values.width2 = ToUtf8(EdtWidth2->text());
  values.height2 = ToUtf8(EdtHeight2->text());
  values.dotSize = ToUtf8(EdtDotSize->text());
  values.buttonW = ToUtf8(EdtButtonW->text());
  values.buttonH = ToUtf8(EdtButtonH->text());
  values.save256 = chk256->isChecked();
  values.png = chkPng->isChecked();
  return true;
}

void TFrmOption::UpdateWindowSizeLabel() {
  BuildControls();
  OptionValues sizes;
  sizes.dotSize = ToUtf8(EdtDotSize->text());
  sizes.width2 = ToUtf8(EdtWidth2->text());
  sizes.height2 = ToUtf8(EdtHeight2->text());
  LblWindow->setText(FromUtf8(WindowSizeLabel(sizes)));
  LblWindow->adjustSize();
}

void TFrmOption::reject() {
  done(ModalCancel);
}

void TFrmOption::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmOption::Button1Click() {
  done(ModalOk);
}

void TFrmOption::Button2Click() {
  done(ModalCancel);
}

void TFrmOption::EdtWidthChange() {
  if (isVisible()) UpdateWindowSizeLabel();
}

}  // namespace gk

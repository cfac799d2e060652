#include "widgets/option_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "widgets/modal_dialog.h"

namespace gk {
namespace {

OptionValues Defaults() {
  OptionValues v;
  v.width = "32";
  v.height = "32";
  v.width2 = "16";
  v.height2 = "16";
  v.dotSize = "37";
  v.buttonW = "48";
  v.buttonH = "40";
  return v;
}

class OptionDialogTest : public ::testing::Test {
 protected:
  template <typename W>
  W* Child(const char* name) {
    W* w = dialog_.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(name); }
  QString Label() { return Child<QLabel>("LblWindow")->text(); }

  // Runs the dialog; `during` acts while it is shown and should end it. A dialog still open
  // afterwards (a failed expectation) is cancelled so that the test cannot hang.
  bool RunWith(OptionValues& values, const std::function<void()>& during) {
    QTimer::singleShot(0, &dialog_, [&] {
      during();
      if (dialog_.isVisible()) {
        ADD_FAILURE() << "the dialog was left open";
        dialog_.done(ModalCancel);
      }
    });
    return dialog_.Run(values);
  }

  TFrmOption dialog_;
};

TEST_F(OptionDialogTest, ControlsStandWhereTheyBelongWithTheirCaptions) {
  EXPECT_EQ(dialog_.windowTitle(), "Option");
  EXPECT_EQ(dialog_.size(), QSize(227, 435));
  EXPECT_EQ(dialog_.minimumSize(), dialog_.maximumSize());
  EXPECT_FALSE(dialog_.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog_.windowFlags() & Qt::WindowMaximizeButtonHint);
  // The controls are made, with the dialog's face, when it is first shown.
  EXPECT_EQ(dialog_.findChild<QLineEdit*>(), nullptr);
  dialog_.show();
  EXPECT_EQ(dialog_.font().family(), "IPAGothic");
  EXPECT_EQ(dialog_.font().pixelSize(), 21);

  struct Sized {
    const char* name;
    QString caption;  // empty for edit boxes
    QRect geometry;
  };
  const Sized sized[] = {
      {"EdtWidth", "", {70, 29, 121, 29}},
      {"EdtHeight", "", {70, 69, 121, 29}},
      {"EdtDotSize", "", {94, 125, 121, 29}},
      {"EdtWidth2", "", {70, 165, 121, 29}},
      {"EdtHeight2", "", {70, 205, 121, 29}},
      {"EdtButtonW", "", {72, 245, 49, 29}},
      {"EdtButtonH", "", {144, 245, 49, 29}},
      {"chk256", QStringLiteral("256色で保存"), {8, 320, 177, 17}},
      {"chkPng", QStringLiteral("PNGで保存"), {8, 352, 177, 17}},
      {"Button1", "OK", {11, 385, 97, 41}},
      {"Button2", "Cancel", {115, 385, 97, 41}},
  };
  for (const Sized& s : sized) {
    const QWidget* w = Child<QWidget>(s.name);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible()) << s.name;
    EXPECT_EQ(w->geometry(), s.geometry) << s.name;
    if (const auto* box = qobject_cast<const QAbstractButton*>(w)) {
      EXPECT_EQ(box->text(), s.caption) << s.name;
    }
  }

  struct Placed {
    const char* name;
    QString caption;
    QPoint pos;
    bool bold;
  };
  const Placed labels[] = {
      {"Label6", "Default size", {8, 8}, true}, {"Label1", "Width", {8, 32}, false},
      {"Label2", "Height", {8, 72}, false},     {"Label7", "Screen", {8, 106}, true},
      {"Label3", "Dot size", {8, 128}, false},  {"Label4", "Width", {8, 168}, false},
      {"Label5", "Height", {8, 208}, false},    {"Label8", "Button", {8, 248}, false},
      {"Label9", "X", {127, 248}, false},       {"LblWindow", "Window Size:", {8, 288}, false},
  };
  for (const Placed& p : labels) {
    const QLabel* label = Child<QLabel>(p.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), p.caption) << p.name;
    EXPECT_EQ(label->pos(), p.pos) << p.name;
    EXPECT_EQ(label->font().bold(), p.bold) << p.name;
    EXPECT_EQ(label->font().pixelSize(), p.bold ? 13 : 21) << p.name;
    EXPECT_GE(label->width(), label->sizeHint().width()) << p.name << " shows its whole caption";
  }

  for (const char* name : {"Button1", "Button2"}) {
    const auto* button = Child<QPushButton>(name);
    EXPECT_FALSE(button->autoDefault()) << name;
    EXPECT_FALSE(button->isDefault()) << name;
  }
}

TEST_F(OptionDialogTest, TabOrderFollowsTheListedSequence) {
  dialog_.show();
  std::vector<QString> order;
  QWidget* w = Edit("EdtWidth");
  for (int guard = 0; guard < 64 && order.size() < 11; ++guard, w = w->nextInFocusChain()) {
    if (w->focusPolicy() & Qt::TabFocus) order.push_back(w->objectName());
  }
  const std::vector<QString> expected = {"EdtWidth",   "EdtHeight",  "EdtDotSize", "Button1",
                                         "Button2",    "chk256",     "chkPng",     "EdtWidth2",
                                         "EdtHeight2", "EdtButtonW", "EdtButtonH"};
  EXPECT_EQ(order, expected);
}

TEST_F(OptionDialogTest, FillsWhileHiddenAndTracksTheWatchedBoxesWhileShown) {
  dialog_.show();
  dialog_.hide();
  Edit("EdtDotSize")->setText("5");
  EXPECT_EQ(Label(), "Window Size:") << "a hidden dialog leaves the label alone";

  OptionValues values = Defaults();
  values.png = true;
  const bool ok = RunWith(values, [&] {
    EXPECT_EQ(Label(), "Window=592 x 592");
    EXPECT_EQ(Edit("EdtWidth")->text(), "32");
    EXPECT_EQ(Edit("EdtButtonH")->text(), "40");
    EXPECT_FALSE(Child<QCheckBox>("chk256")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("chkPng")->isChecked());
    const QRect screen = dialog_.screen()->availableGeometry();
    // Centred on the screen, within what the window frame may add.
    const QPoint offset = dialog_.frameGeometry().center() - screen.center();
    EXPECT_LE(offset.manhattanLength(), 8) << offset.x() << ", " << offset.y();

    struct Step {
      const char* box;
      QString text;
      QString label;
    };
    const Step steps[] = {
        {"EdtDotSize", "20", "Window=320 x 320"}, {"EdtDotSize", "", "Window=???"},
        {"EdtDotSize", "2", "Window=32 x 32"},    {"EdtWidth2", "10", "Window=20 x 32"},
        {"EdtHeight2", "$8", "Window=20 x 16"},   {"EdtHeight2", "8 ", "Window=???"},
        {"EdtHeight2", "8", "Window=20 x 16"},
    };
    for (const Step& s : steps) {
      Edit(s.box)->setText(s.text);
      EXPECT_EQ(Label(), s.label) << s.box << " = '" << s.text.toStdString() << "'";
    }

    // The button boxes recompute (same text); the default-size boxes do not.
    auto* label = Child<QLabel>("LblWindow");
    label->setText("stale");
    Edit("EdtWidth")->setText("abc");
    Edit("EdtHeight")->setText("7");
    EXPECT_EQ(Label(), "stale");
    Edit("EdtButtonW")->setText("50");
    EXPECT_EQ(Label(), "Window=20 x 16");
    label->setText("stale");
    Edit("EdtButtonH")->setText("x");
    EXPECT_EQ(Label(), "Window=20 x 16");

    Child<QCheckBox>("chk256")->setChecked(true);
    QTest::mouseClick(Child<QPushButton>("Button1"), Qt::LeftButton);
  });

  EXPECT_TRUE(ok);
  EXPECT_EQ(values.width, "abc");
  EXPECT_EQ(values.height, "7");
  EXPECT_EQ(values.width2, "10");
  EXPECT_EQ(values.height2, "8");
  EXPECT_EQ(values.dotSize, "2");
  EXPECT_EQ(values.buttonW, "50");
  EXPECT_EQ(values.buttonH, "x");
  EXPECT_TRUE(values.save256);
  EXPECT_TRUE(values.png);
  EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(OptionDialogTest, EnterAndEscapeDoNotCloseIt) {
  OptionValues values = Defaults();
  const bool ok = RunWith(values, [&] {
    for (const char* box : {"EdtWidth", "EdtDotSize", "EdtButtonH"}) {
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(Edit(box), key);
        EXPECT_TRUE(dialog_.isVisible()) << box << " key " << key;
      }
    }
    QTest::keyClick(&dialog_, Qt::Key_Escape);
    EXPECT_TRUE(dialog_.isVisible());
    Edit("EdtWidth")->setText("99");
    QTest::mouseClick(Child<QPushButton>("Button2"), Qt::LeftButton);
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(values.width, "32") << "Cancel leaves the values alone";
}

TEST_F(OptionDialogTest, CancelAndTheCloseBoxReturnFalseAndTheNextOpeningRefills) {
  const std::vector<std::function<void()>> endings = {
      [&] { QTest::mouseClick(Child<QPushButton>("Button2"), Qt::LeftButton); },
      [&] { dialog_.close(); },
  };
  int run = 0;
  for (const auto& end : endings) {
    OptionValues values = Defaults();
    values.dotSize = std::to_string(10 + run);
    const std::string shownDot = values.dotSize;
    const bool ok = RunWith(values, [&] {
      EXPECT_EQ(Edit("EdtDotSize")->text().toStdString(), shownDot);
      EXPECT_FALSE(Child<QCheckBox>("chkPng")->isChecked());
      Edit("EdtDotSize")->setText("99");
      Child<QCheckBox>("chkPng")->setChecked(true);
      end();
    });
    EXPECT_FALSE(ok) << "ending " << run;
    EXPECT_EQ(dialog_.result(), ModalCancel) << "ending " << run;
    EXPECT_EQ(values.dotSize, shownDot);
    ++run;
  }
}

}  // namespace
}  // namespace gk

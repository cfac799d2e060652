#include "widgets/new_size_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <string>
#include <utility>

#include "widgets/modal_dialog.h"

namespace gk {
namespace {

class NewSizeDialogTest : public ::testing::Test {
 protected:
  static constexpr int LeftOpen = 99;

  // Runs the dialog with `act` applied once it is showing.
  std::optional<std::pair<std::string, std::string>> RunWith(int w, int h,
                                                             std::function<void()> act) {
    QTimer::singleShot(0, &dialog_, [this, act] {
      EXPECT_TRUE(dialog_.isVisible());
      act();
      // Closes a dialog the action left open with a result no button gives, so that a failing
      // test cannot hang.
      if (dialog_.isVisible()) dialog_.done(LeftOpen);
    });
    return dialog_.Run(w, h);
  }

  template <typename W>
  W* Child(const char* name) {
    W* w = dialog_.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(name); }
  void Click(const char* name) { QTest::mouseClick(Child<QPushButton>(name), Qt::LeftButton); }

  TfrmNew dialog_;
};

TEST_F(NewSizeDialogTest, ArrowsStepTheBoxTextWithinEightTo128) {
  EXPECT_EQ(dialog_.windowTitle(), "New");
  // The controls are made when the dialog is first shown.
  EXPECT_EQ(dialog_.findChild<QLineEdit*>(), nullptr);
  dialog_.show();
  EXPECT_EQ(Edit("edtW")->text(), "8");
  EXPECT_EQ(Edit("edtH")->text(), "8");
  EXPECT_EQ(dialog_.minimumSize(), dialog_.maximumSize());

  struct Case {
    const char* typed;
    bool up;
    int clicks;
    const char* expected;
  } cases[] = {
      {"8", true, 1, "16"},     {"8", false, 1, "8"},
      {"120", true, 3, "128"},  {"24", false, 2, "8"},
      {"200", false, 1, "128"}, {"3", true, 1, "11"},
      {"-50", true, 1, "8"},    {"99999999999", false, 1, "8"},
      {"abc", true, 1, "16"},  // not a number: steps from the spinner's own position (8)
  };
  for (const auto& [spinnerName, boxName] : {std::pair{"udW", "edtW"}, std::pair{"udH", "edtH"}}) {
    auto* spinner = Child<UpDownSpinner>(spinnerName);
    QLineEdit* box = Edit(boxName);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.typed) + (c.up ? " up" : " down"));
      spinner->SetPosition(8);
      box->setText(c.typed);
      EXPECT_EQ(box->text(), c.typed);  // typing alone is left as it is
      for (int i = 0; i < c.clicks; ++i) {
        QTest::mouseClick(spinner->findChild<QToolButton*>(c.up ? "Up" : "Down"), Qt::LeftButton);
      }
      EXPECT_EQ(box->text().toStdString(), c.expected);
      EXPECT_EQ(spinner->Position(), box->text().toInt());
    }
  }
}

TEST_F(NewSizeDialogTest, RunPresetsClampedAndReturnsTheTypedTextsOnOk) {
  std::string shownW, shownH;
  auto result = RunWith(200, 4, [&] {
    shownW = Edit("edtW")->text().toStdString();
    shownH = Edit("edtH")->text().toStdString();
    Edit("edtW")->setText("200");
    Edit("edtH")->setText("abc");
    Click("OK");
  });
  EXPECT_EQ(shownW, "128");
  EXPECT_EQ(shownH, "8");
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->first, "200");
  EXPECT_EQ(result->second, "abc");

  result = RunWith(24, 40, [&] { Click("OK"); });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, (std::pair<std::string, std::string>{"24", "40"}));
}

TEST_F(NewSizeDialogTest, CancelCloseBoxAndEscapeGiveNothing) {
  const std::function<void()> ways[] = {
      [&] { Click("Button1"); },
      [&] { dialog_.close(); },
      [&] { QTest::keyClick(&dialog_, Qt::Key_Escape); },
  };
  for (const auto& way : ways) {
    EXPECT_FALSE(RunWith(32, 32, way).has_value());
    EXPECT_EQ(dialog_.result(), ModalCancel);
  }
}

}  // namespace
}  // namespace gk

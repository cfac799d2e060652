#include "widgets/colour_dialog.h"

#include <string>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <gtest/gtest.h>

namespace gk {
namespace {

class ColourDialogTest : public ::testing::Test {
 protected:
  template <typename T>
  T* Child(const char* name) {
    T* child = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QSlider* Bar(const char* name) { return Child<QSlider>(name); }
  QString LabelText(const char* name) { return Child<QLabel>(name)->text(); }

  // Runs the dialog with `current`, doing `whileOpen` once it is shown.
  template <typename F>
  std::optional<Colour> RunWith(Colour current, F whileOpen) {
    QTimer::singleShot(0, &dialog, [&] {
      EXPECT_TRUE(dialog.isVisible());
      whileOpen();
    });
    return dialog.Run(current);
  }

  TfrmColor dialog;
};

TEST_F(ColourDialogTest, ControlsAndCaptions) {
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("color"));
  EXPECT_EQ(dialog.size(), QSize(373, 233));
  EXPECT_EQ(dialog.font().pixelSize(), 21);

  struct Place {
    const char* name;
    QRect geometry;
  };
  const std::vector<Place> places = {
      {"tbR", {64, 16, 289, 41}}, {"tbG", {64, 64, 289, 41}},      {"tbB", {64, 112, 289, 41}},
      {"OK", {160, 168, 75, 49}}, {"Button1", {272, 167, 75, 50}}, {"Image1", {24, 160, 57, 57}},
  };
  for (const Place& p : places) EXPECT_EQ(Child<QWidget>(p.name)->geometry(), p.geometry) << p.name;

  for (const char* name : {"tbR", "tbG", "tbB"}) {
    SCOPED_TRACE(name);
    QSlider* bar = Bar(name);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 255);
    EXPECT_EQ(bar->pageStep(), 1);
    EXPECT_EQ(bar->tickInterval(), 16);
    EXPECT_EQ(bar->tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(bar->focusPolicy() & Qt::TabFocus);
  }

  struct Label {
    const char* name;
    const char* caption;
    QPoint place;
  };
  for (const Label& l : std::vector<Label>{
           {"lblR", "R", {8, 22}}, {"lblG", "G", {8, 70}}, {"lblB", "B", {8, 118}}}) {
    EXPECT_EQ(LabelText(l.name), QLatin1String(l.caption));
    EXPECT_EQ(Child<QLabel>(l.name)->pos(), l.place);
  }
  EXPECT_EQ(Child<QPushButton>("OK")->text(), QStringLiteral("OK"));
  EXPECT_EQ(Child<QPushButton>("Button1")->text(), QStringLiteral("Cancel"));
}

TEST_F(ColourDialogTest, LabelsAndPreviewFollowTheTrackBars) {
  dialog.UpdatePreview();
  EXPECT_EQ(dialog.PreviewColour(), Black);
  struct Move {
    const char* bar;
    int value;
    const char* label;
    QString text;
    Colour preview;
  };
  const std::vector<Move> moves = {
      {"tbR", 255, "lblR", "R:255", 0x0000FF}, {"tbG", 52, "lblG", "G:52", 0x0034FF},
      {"tbB", 18, "lblB", "B:18", 0x1234FF},   {"tbR", 86, "lblR", "R:86", 0x123456},
      {"tbG", 300, "lblG", "G:255", 0x12FF56},  // clamped to the range
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.text.toStdString());
    Bar(m.bar)->setValue(m.value);
    EXPECT_EQ(LabelText(m.label), m.text);
    EXPECT_EQ(dialog.PreviewColour(), m.preview);
  }
  // The preview is filled whole and shows on screen.
  const QImage shown = Child<QWidget>("Image1")->grab().toImage();
  EXPECT_EQ(shown.pixelColor(56, 56), QColor(0x56, 0xFF, 0x12));
}

TEST_F(ColourDialogTest, OkReturnsThePreviewColour) {
  const auto loaded = RunWith(0x123456, [&] {
    EXPECT_EQ(Bar("tbR")->value(), 86);
    EXPECT_EQ(Bar("tbG")->value(), 52);
    EXPECT_EQ(Bar("tbB")->value(), 18);
    EXPECT_EQ(LabelText("lblR"), QStringLiteral("R:86"));
    EXPECT_EQ(LabelText("lblG"), QStringLiteral("G:52"));
    EXPECT_EQ(LabelText("lblB"), QStringLiteral("B:18"));
    EXPECT_EQ(dialog.PreviewColour(), 0x123456u);
    Child<QPushButton>("OK")->click();
  });
  EXPECT_EQ(loaded, std::optional<Colour>(0x123456));

  const auto mixed = RunWith(0x123456, [&] {
    Bar("tbB")->setValue(0xAB);
    Child<QPushButton>("OK")->click();
  });
  EXPECT_EQ(mixed, std::optional<Colour>(0xAB3456));
}

TEST_F(ColourDialogTest, CancelAndCloseBoxReturnNothing) {
  const auto cancelled = RunWith(0x654321, [&] {
    Bar("tbR")->setValue(0);
    Child<QPushButton>("Button1")->click();
  });
  EXPECT_EQ(cancelled, std::nullopt);
  const auto closed = RunWith(0x654321, [&] {
    // The next showing starts again from the colour it is given.
    EXPECT_EQ(Bar("tbR")->value(), 0x21);
    dialog.close();
  });
  EXPECT_EQ(closed, std::nullopt);
  EXPECT_EQ(dialog.result(), 2);
}

}  // namespace
}  // namespace gk

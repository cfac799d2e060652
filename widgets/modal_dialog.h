#pragma once

class QWidget;

namespace gk {

// What a modal dialog of ours ends with: OK, or Cancel (the close box included).
inline constexpr int ModalOk = 1;
inline constexpr int ModalCancel = 2;

// Moves the dialog so that its window stands in the middle of its screen's available area; the
// frame counts once the window system has given it one.
void CentreOnScreen(QWidget& dialog);

}  // namespace gk

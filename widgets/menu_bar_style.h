#pragma once

#include <QProxyStyle>

namespace gk {

// The main window's menu bar style: the application's own, except that the menu bar never takes
// the keyboard without a menu open. Alt alone highlights no title, and Escape on an open menu
// closes it for good instead of leaving its title highlighted, so the window's single-letter and
// arrow keys act again at once. Alt with a title's letter still opens its menu, where the arrows
// move between the titles and Escape leaves.
class MenuBarStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace gk

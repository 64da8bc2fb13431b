// The command line's user actions played on the Qt toolkit's real widgets, as
// a person would: mouse clicks on check boxes, radio buttons and tabs, a pick
// in the pop-up's list, keystrokes in the fields.
#pragma once

#include <string>
#include <vector>

#include "hosts/cli/cli_options.h"
#include "hosts/qt/qt_view.h"

class QLineEdit;
class QTabWidget;
class QWidget;

namespace jc::test {

class QtUserPlayer {
 public:
  explicit QtUserPlayer(qt::QtView& view);
  // Plays one action; an action on a control the layout lacks does nothing.
  void play(const cli::UserAction& action);
  // Brings the first tab back, as the panel opened.
  void showFirstTab();

  // Gestures.
  void click(QWidget& button);
  void pick(QWidget& popUp, int index);
  void replaceText(QLineEdit& field, const std::string& text);
  void showPageOf(QWidget& widget);

 private:
  QWidget* widget(const std::string& name) const;
  void setCheck(const std::string& name, bool on);
  void clickNamed(const std::string& name);

  qt::QtView& view_;
};

}  // namespace jc::test

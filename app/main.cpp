#include <exception>
#include <memory>
#include <string>

#include <QApplication>

#include "platform/message_box.h"
#include "platform/path_text.h"
#include "platform/program_path.h"
#include "workspace/handler_guard.h"
#include "workspace/main_window.h"

namespace {

// The error box of a failure outside the handlers: the text, the application title, the stop
// icon and OK.
void ShowFatalError(const QString& text) {
  const std::string title = gk::ApplicationTitle(gk::FileNamePart(gk::ProgramPath()));
  gk::ShowMessageBox(nullptr, text, QString::fromUtf8(title), gk::MessageButtons::Ok,
                     gk::MessageIcon::Stop);
}

}  // namespace

int main(int argc, char** argv) {
  // The editor reads no command line: Qt sees only the program name.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  try {
    const std::string appDir = gk::FolderPart(gk::ProgramPath());
    std::unique_ptr<gk::TForm1> form;
    try {
      form = std::make_unique<gk::TForm1>(appDir);
    } catch (const std::exception& e) {
      ShowFatalError(QString::fromUtf8(e.what()));
      return 0;
    }
    form->show();
    app.exec();
  } catch (const std::exception& e) {
    ShowFatalError(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowFatalError(QString());
  }
  return 0;
}

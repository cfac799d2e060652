#include <exception>
#include <memory>
#include <string>

#include <QApplication>

#include "app/main_window.h"
#include "editor/handler_guard.h"
#include "filesystem/path_text.h"
#include "filesystem/program_folders.h"
#include "widgets/message_box.h"
#include "widgets/program_path.h"

namespace {

// A failure outside the handlers goes to the same error box, standing alone.
void ShowFatalError(const std::string& text) {
  gk::MessageBoxes boxes;
  gk::ShowErrorBox(boxes, gk::ProgramTitle(), text);
}

}  // namespace

int main(int argc, char** argv) {
  // The editor reads no command line: Qt sees only the program name.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  // Qt merges the pointer moves that queue up while the program is busy into the last one, core
  // and XInput 2 moves alike. A stroke plots each cell a move enters and joins no lines, so a
  // merged move is a lost dot: every move is delivered. Making the application turns merging
  // on, so it is turned off afterwards; it is read as each event is taken from the X server.
  QApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
  try {
    const gk::ProgramFolders folders =
        gk::FindProgramFolders(gk::FolderPart(gk::ProgramPath()), gk::CurrentUserEnvironment());
    std::unique_ptr<gk::TForm1> form;
    try {
      form = std::make_unique<gk::TForm1>(folders);
    } catch (const std::exception& e) {
      ShowFatalError(e.what());
      return 0;
    }
    form->show();
    app.exec();
  } catch (const std::exception& e) {
    ShowFatalError(e.what());
  } catch (...) {
    ShowFatalError("");
  }
  return 0;
}

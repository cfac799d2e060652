#include <exception>
#include <memory>
#include <string>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "workspace/handler_guard.h"
#include "workspace/main_window.h"

namespace {

// The error box of a failure outside the handlers: the text, the application title, the stop
// icon and OK.
void ShowFatalError(const QString& text) {
  const std::string exeName =
      QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8().toStdString();
  const QString title = QString::fromUtf8(gk::ApplicationTitle(exeName));
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // The editor reads no command line: Qt sees only the program name.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  try {
    const std::string appDir =
        (QCoreApplication::applicationDirPath() + "/").toUtf8().toStdString();
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

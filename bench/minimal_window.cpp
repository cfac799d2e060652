// The smallest Qt 6 window program: the baseline the editor's start-up is measured against.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("minimal");
  window.resize(592, 744);
  window.show();
  return app.exec();
}

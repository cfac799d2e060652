// The smallest Qt 6 window program showing what the editor's first frame shows in kind, a menu
// bar over a 592 x 592 picture: the baseline the editor's start-up is measured against. With
// --bare it shows the window alone.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QString>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("minimal");
  if (argc < 2 || QString(argv[1]) != "--bare") {
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("&Quit", &app, &QApplication::quit);
    window.menuBar()->addMenu("&Edit");
    QImage picture(592, 592, QImage::Format_RGB32);
    picture.fill(QColor(32, 32, 32));
    QPainter painter(&picture);
    for (int y = 0; y < 16; ++y) {
      for (int x = y % 2; x < 16; x += 2) painter.fillRect(x * 37, y * 37, 37, 37, Qt::lightGray);
    }
    painter.end();
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(picture));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    window.setCentralWidget(label);
  }
  window.resize(592, 744);
  window.show();
  return app.exec();
}

// The floor of the start-up benchmark: a plain window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label("Kivo");
    label.resize(900, 600);
    label.show();
    return QApplication::exec();
}

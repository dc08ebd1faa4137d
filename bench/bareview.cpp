// The yardstick of the start-up benchmark: a bare browser view loading one address.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(900, 600);
    view.load(QUrl(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("about:blank")));
    view.show();
    return QApplication::exec();
}

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vellorn's Cairnwork v.PL"));
    window.showMaximized();
    return app.exec();
}

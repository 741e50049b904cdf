// The smallest Qt program that puts up a window of the same make as a
// Plumora document window: a main window with a five-menu bar and a rich
// text field filling it. The start-up measurement compares the two, so the
// difference is what Plumora itself adds on top of Qt.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral(" BareWindow"));
    for (const char* title : {"&File", "&Edit", "&View", "&Insert", "F&ormat"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        menu->addAction(QStringLiteral("Item"));
    }
    window.setCentralWidget(new QTextEdit(&window));
    window.resize(672, 384);
    window.show();
    return app.exec();
}

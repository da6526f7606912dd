#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Quillmarch is being built."));
    placeholder.setWindowTitle(QStringLiteral("Quillmarch"));
    placeholder.resize(360, 120);
    placeholder.setAlignment(Qt::AlignCenter);
    placeholder.show();
    return app.exec();
}

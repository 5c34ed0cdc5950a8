#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Zentrika"));
    label.resize(800, 600);
    label.show();
    return app.exec();
}

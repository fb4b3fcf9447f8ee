#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel label(QString::fromUtf8("Tavrin"));
    label.show();
    return app.exec();
}

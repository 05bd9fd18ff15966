#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QLabel window(QStringLiteral("Orvane FT847 V2.5"));
    window.setWindowTitle(QStringLiteral("Orvane FT847 V2.5"));
    window.resize(640, 277);
    window.show();
    return QApplication::exec();
}

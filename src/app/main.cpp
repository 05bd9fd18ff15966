#include "mainassembly.h"
#include "propos.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(Propos::programIcon());
    MainAssembly program;
    program.start();
    return QApplication::exec();
}

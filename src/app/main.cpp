#include "apppaths.h"
#include "mainassembly.h"
#include "propos.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(Propos::programIcon());
    ui::loadQtFrench();
    // Where the files live (beside the program, or in the user's data directory) is settled here, once.
    apppaths::AppDir();
    MainAssembly program;
    program.start();
    return QApplication::exec();
}

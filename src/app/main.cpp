#include "apppaths.h"
#include "boxpresenter.h"
#include "commandline.h"
#include "mainassembly.h"
#include "messagebox.h"
#include "propos.h"
#include "translations.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setWindowIcon(Propos::programIcon());
    ui::setMessagePresenter(ui::presentMessageBox);
    ui::loadQtFrench();
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    if (line.help || !line.error.isEmpty()) {
        const QByteArray text = (line.help ? CommandLine::helpText() : line.error + u'\n').toLocal8Bit();
        std::fputs(text.constData(), line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }
    // Where the files live (beside the program, or in the user's data directory) is settled here, once.
    apppaths::AppDir();
    MainAssembly program;
    program.start();
    QString why;
    if (line.share && !program.share(line.share->address, line.share->port, &why)) {
        ui::showMessage(QStringLiteral("Erreur : la radio ne peut pas être partagée sur %1:%2 (%3).")
                            .arg(line.share->address.toString())
                            .arg(line.share->port)
                            .arg(why),
            ui::MsgIcon::Error);
    }
    return QApplication::exec();
}

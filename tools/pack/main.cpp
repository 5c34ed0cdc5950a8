#include "Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // dump and list read files only; the other commands render pictures with
    // fonts, which want a GUI application (no display is needed).
    const bool textOnly =
        argc > 1 && (std::strcmp(argv[1], "dump") == 0 || std::strcmp(argv[1], "list") == 0);
    std::unique_ptr<QCoreApplication> app;
    if (textOnly) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    QStringList args = app->arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("dump"))
        return runDump(args);
    if (command == QLatin1String("list"))
        return runList(args);
    if (command == QLatin1String("build"))
        return runBuild(args);
    if (command == QLatin1String("check"))
        return runCheck(args);
    std::fprintf(stderr, "usage: zentrika-pack dump FILE | list DIR | build SRC OUT | check DIR\n");
    return 2;
}

#include "Commands.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    // Pictures are rendered with fonts, which want an application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("build"))
        return runBuild(args);
    if (command == QLatin1String("check"))
        return runCheck(args);
    std::fprintf(stderr, "usage: zentrika-pack build SRC OUT | check DIR\n");
    return 2;
}

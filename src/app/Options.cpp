#include "app/Options.h"

#include "app/Diagnostics.h"

// Our own parser rather than QCommandLineParser: the help is laid out by hand
// (value lists, keys, the settings file) and the mistakes are Russian, exit
// with 2 and print the help, while the generated help and its errors are
// Qt's own layout and texts; and the options are read before the application
// object exists, which its --help and --version handling needs.
namespace app
{

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

Options parseOptions(const QStringList &arguments)
{
    Options o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            o.version = true;
        } else if (a == QLatin1String("--diagnostics")) {
            o.diagnostics = true;
        } else if (a.startsWith(QLatin1String("--video="))) {
            const QString v = a.mid(8);
            bool known = false;
            o.video = videoFromName(v, &known);
            o.videoGiven = known;
            if (!known)
                o.error =
                    QStringLiteral("Неизвестный видеорежим: %1 (ждём auto, scale, window или switch)").arg(v);
        } else if (a.startsWith(QLatin1String("--sound="))) {
            const QString v = a.mid(8);
            if (v == QLatin1String("on"))
                o.sound = true;
            else if (v == QLatin1String("off"))
                o.sound = false;
            else
                o.error = QStringLiteral("Неизвестное значение звука: %1 (ждём on или off)").arg(v);
        } else if (a.startsWith(QLatin1String("--screen="))) {
            o.screen = a.mid(9);
            if (o.screen != QLatin1String("game") && o.screen != QLatin1String("collection") &&
                o.screen != QLatin1String("statistics"))
                o.error = QStringLiteral("Неизвестный экран: %1 (ждём game, collection или statistics)")
                              .arg(o.screen);
        } else if (a.startsWith(QLatin1String("--player="))) {
            o.player = a.mid(9);
        } else if (a.startsWith(QLatin1String("--data="))) {
            o.dataDir = a.mid(7);
        } else if (a == QLatin1String("--data")) {
            if (i + 1 < arguments.size())
                o.dataDir = arguments[++i];
            else
                o.error = QStringLiteral("После --data нужна папка с головоломками");
        } else if (a.startsWith(QLatin1Char('-'))) {
            o.error = QStringLiteral("Неизвестный параметр: %1").arg(a);
        }
        // A word that is not an option is ignored. The options run before Qt's own
        // are taken, so Qt's -platform and the like are refused above.
    }
    if (o.error.isEmpty() && (o.screen == QLatin1String("game") || o.screen == QLatin1String("statistics")) &&
        o.player.trimmed().isEmpty())
        o.error = QStringLiteral("Для --screen=%1 нужно имя игрока: --player=ИМЯ").arg(o.screen);
    return o;
}

QString helpText()
{
    return QStringLiteral("Использование: zentrika [параметры]\n"
                          "Zentrika — игра-головоломка.\n"
                          "\n"
                          "  --video=scale    на весь экран в его собственном режиме: картинка\n"
                          "                   800 × 600 увеличена, насколько позволяет экран\n"
                          "  --video=auto     то же, что scale (по умолчанию)\n"
                          "  --video=window   играть в окне, размер которого можно менять\n"
                          "  --video=switch   переключить экран в 800 × 600 (без окна); если\n"
                          "                   нельзя — предложить играть без переключения\n"
                          "  --sound=on|off   включить или выключить звуки на этот запуск\n"
                          "  F11, Alt+Enter   весь экран или окно;  M  звук вкл./выкл.\n"
                          "  Настройки: $XDG_CONFIG_HOME/zentrika/zentrika.conf\n"
                          "  --diagnostics    напечатать, что сделал запуск (экран, цвета, шрифт)\n"
                          "  --screen=collection          сразу открыть сборник головоломок\n"
                          "  --screen=game --player=ИМЯ   сразу начать игру за игрока (новый\n"
                          "                               игрок создаётся)\n"
                          "  --screen=statistics --player=ИМЯ   статистика сохранённого игрока\n"
                          "  --data ПАПКА     взять list.lst, Data и Images из другой папки\n"
                          "  --help           эта справка\n"
                          "  --version        версия игры\n");
}

QString versionText()
{
    return QStringLiteral("Zentrika " ZENTRIKA_VERSION "\n");
}

std::optional<int> answerOnConsole(const Options &options)
{
    if (!options.error.isEmpty()) {
        print(options.error + QLatin1Char('\n') + helpText(), stderr);
        return 2;
    }
    if (options.help) {
        print(helpText());
        return 0;
    }
    if (options.version) {
        print(versionText());
        return 0;
    }
    return std::nullopt;
}

} // namespace app

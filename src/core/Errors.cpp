#include "core/Errors.h"

#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"

#include <new>

QString playerMessage(const std::exception &error)
{
    if (dynamic_cast<const ELoadError *>(&error))
        return QStringLiteral(
            "Эту головоломку не удалось прочитать: её файл повреждён, слишком велик или недоступен. "
            "Выберите другую головоломку; если это повторяется, переустановите игру.");
    if (dynamic_cast<const platform::EResourceError *>(&error))
        return QStringLiteral(
            "Файл Media.dll повреждён или неполон: в нём нет нужной картинки. Переустановите игру.");
    if (dynamic_cast<const platform::ERegistryError *>(&error))
        return QStringLiteral(
            "Профили игроков не удалось прочитать или записать. Закройте игру и запустите её снова.");
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return QStringLiteral("Не хватает памяти. Закройте другие программы и повторите.");
    return playerMessage();
}

QString playerMessage()
{
    return QStringLiteral("В игре произошла ошибка. Вернитесь в главное меню и повторите; "
                          "если ошибка повторяется, переустановите игру.");
}

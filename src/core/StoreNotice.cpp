#include "core/StoreNotice.h"

namespace StoreNotice
{

QString Recovered(const platform::store::Recovery &r)
{
    if (r.salvaged)
        return QStringLiteral(
            "Файл с данными игроков повреждён: последнее сохранение потеряно, остальное восстановлено.");
    if (r.interrupted)
        return QStringLiteral("Восстановление данных игроков, прерванное в прошлый раз, завершено.");
    const QString what = r.wasMissing ? QStringLiteral("Файл с данными игроков пропал")
                                      : QStringLiteral("Файл с данными игроков повреждён");
    if (!r.restoredFrom.isEmpty())
        return what + QStringLiteral(". Игроки восстановлены из резервной копии от %1.")
                          .arg(r.restoredDate.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    return what + QStringLiteral(", а исправной резервной копии нет. Список игроков начат заново.");
}

QString NoAccess()
{
    return QStringLiteral(
        "Нет доступа к файлу с данными игроков: игра не может его прочитать или записать. Файл не тронут.");
}

QString NoLock()
{
    return QStringLiteral("Нет доступа к файлу блокировки рядом с данными игроков. Игроки не сохраняются.");
}

QString Failed()
{
    return QStringLiteral("Не удалось открыть или сохранить данные игроков.");
}

} // namespace StoreNotice

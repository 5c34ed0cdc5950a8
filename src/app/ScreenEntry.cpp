#include "app/ScreenEntry.h"

#include "core/PlayerName.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/GameForm.h"
#include "screens/ProblemsForm.h"
#include "screens/StatisticsForm.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>

namespace app
{

int runScreen(GameContext &context, const QString &screen, const QString &playerName)
{
    int code = 0;
    if (screen == QLatin1String("collection")) {
        auto *form = new TProblemsForm(context);
        form->ShowModal();
    } else {
        std::unique_ptr<TUser> player;
        // The name as the dialog would take it; a stored player that looks the
        // same is that player.
        const PlayerName name = playername::normalise(playerName);
        try {
            if (!name.ok())
                throw std::invalid_argument(
                    qPrintable(QStringLiteral("--player: ") + playername::faultDetail(name.fault)));
            platform::Registry &store = context.store.get();
            const QString stored = playername::findStored(store.subKeyNames(TUser::UsersKey), name.text);
            if (!stored.isEmpty())
                player = TUser::CreateFromRegistry(TUser::PlayerPath(stored), store, &context.media);
            else if (screen == QLatin1String("statistics"))
                throw std::invalid_argument(qPrintable(QStringLiteral("no stored player %1").arg(name.text)));
            else
                player = TUser::CreateNew(name.text, 1, &context.media);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "zentrika: %s\n", e.what());
            code = 1;
        }
        if (player && screen == QLatin1String("statistics")) {
            auto *form = new TStatisticsForm(context, *player);
            form->ShowModal();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else if (player) {
            auto *form = new TGameForm(context, *player);
            form->ShowModal();
            // The closed screen frees itself before its player goes.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    return code;
}

} // namespace app

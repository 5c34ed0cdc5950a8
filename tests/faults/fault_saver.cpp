// The game's save without a window, for the fault campaign (scripts/faults.sh):
// the player is read, changed and saved exactly as the game screen does, and a
// backup file is written as the game does when it closes.
//   fault_saver seed NAME...   store new players (then a backup file)
//   fault_saver loop NAME      save NAME again and again, one more point each
//                              time; prints "saved N" once N is committed
//   fault_saver bump NAME N    N saves of one more point each, no backup
//   fault_saver grow NAME      twelve saves that add puzzles and a point each,
//                              printing "saved N" as each is committed; exit 0
//                              only when all were stored. Prints "opened" once the
//                              store is open: a failure after it struck a save. The
//                              log grows with each save, so a file size limit above
//                              what opening needs strikes one of them.
// Each save of one more point logs it as a right answer (points before and
// after), so the campaign can tell a log record lost or written twice.
// The store is $ZENTRIKA_REGISTRY.
#include "core/User.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <csignal>
#include <cstdio>

using platform::Registry;

namespace
{

// One more point, logged as the game logs a right answer.
void earnPoint(TUser &user)
{
    AnswerRecord r;
    r.Time = QDateTime::currentSecsSinceEpoch();
    r.Event = int(AnswerEvent::Right);
    r.Puzzle = 100;
    r.Difficult = 0;
    r.AnswerKind = AnswerInteger;
    r.ScoresBefore = user.Scores;
    user.ChangeScores(1);
    r.ScoresAfter = user.Scores;
    r.Level = user.Level;
    user.PendingLog.push_back(r);
}

} // namespace

int main(int argc, char **argv)
{
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    try {
        // As the game: the store stays the file it is while it is open here.
        platform::StoreLock lock(Registry::defaultPath());
        if (!lock.lock(platform::StoreLock::Mode::Shared, 10000))
            throw platform::ERegistryError("the store is locked");
        // Opened after the lock, so the store is closed (its log folded in) before it goes.
        Registry registry(Registry::defaultPath());
        if (args.first() == QLatin1String("seed")) {
            for (const QString &name : args.mid(1)) {
                auto user = TUser::CreateNew(name, 1);
                user->Scores = 30 + int(name.size());
                for (int i = 0; i < 5; ++i) {
                    user->UsedIds.Add(ProblemId(100 + i));
                    user->LevelList.Add(ProblemId(100 + i));
                }
                // Hints bought, so that every check of the profile covers their value too.
                user->LevelList.SetHintsBought(101, 2);
                user->SaveToRegistry(registry);
            }
            platform::store::writeBackup(registry);
            return 0;
        }
        const QString path = TUser::PlayerPath(args.at(1));
        if (args.first() == QLatin1String("loop")) {
            for (;;) {
                auto user = TUser::CreateFromRegistry(path, registry);
                earnPoint(*user);
                user->SaveToRegistry(registry);
                std::printf("saved %d\n", user->Scores);
                std::fflush(stdout);
                // Every tenth save closes a "session": the game's backup file.
                if (user->Scores % 10 == 0)
                    platform::store::writeBackup(registry);
            }
        }
        if (args.first() == QLatin1String("bump") && args.size() == 3) {
            for (int i = args.at(2).toInt(); i > 0; --i) {
                auto user = TUser::CreateFromRegistry(path, registry);
                earnPoint(*user);
                user->SaveToRegistry(registry);
            }
            return 0;
        }
        if (args.first() == QLatin1String("grow")) {
            std::printf("opened\n");
            std::fflush(stdout);
            for (int i = 0; i < 12; ++i) {
                auto user = TUser::CreateFromRegistry(path, registry);
                earnPoint(*user);
                for (int n = 0; n < 10 && user->UsedIds.Count() < TUsedIdList::kCapacity; ++n)
                    user->UsedIds.Add(ProblemId(1000 + user->UsedIds.Count()));
                user->SaveToRegistry(registry);
                std::printf("saved %d\n", user->Scores);
                std::fflush(stdout);
            }
            return 0;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "fault_saver: %s\n", e.what());
        return 1;
    }
    return 2;
}

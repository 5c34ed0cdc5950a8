#pragma once
// Rotating backups of stored profiles: before a save replaces a profile, the
// stored one becomes backup 1 and older ones move down, keeping three. They
// live beside the players' key, so listing players never sees them, and they
// outlast a deleted player, so a player deleted by mistake can come back.
#include <QString>

namespace platform
{
class Registry;
}

namespace ProfileBackup
{

inline const QString BackupsKey = QStringLiteral("\\Software\\Quorvane\\Zentrika\\Backups\\");
inline constexpr int Kept = 3;

QString backupPath(const QString &playerName, int which);
// Where the answer log of a deleted player waits for its restore (the key
// above the player's backups): a restore of a player still stored keeps the
// log the player has, since the log is history rather than state.
QString logHoldPath(const QString &playerName);

// Runs inside the caller's transaction; does nothing when the player is not stored yet.
void keepPrevious(platform::Registry &registry, const QString &playerName);

// Deletes the stored player, keeping the deleted profile as backup 1 and its
// answer log at logHoldPath(), so that restore() brings both back. False when no such player is stored.
bool deletePlayer(platform::Registry &registry, const QString &playerName);

// Numbers of the backups that exist, newest first.
QList<int> available(platform::Registry &registry, const QString &playerName);

// Puts backup `which` back as the player's profile, keeping the profile it
// replaces as the newest backup. False when there is no such backup.
bool restore(platform::Registry &registry, const QString &playerName, int which = 1);

} // namespace ProfileBackup

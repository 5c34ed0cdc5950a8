#pragma once
// What the game tells the player about the player store, on the one line its
// message box has. The technical detail goes to the log.
#include "platform/StoreFiles.h"

#include <QString>

namespace StoreNotice
{

// After a recovery at start.
QString Recovered(const platform::store::Recovery &recovery);
// The store cannot be read or written; it was left as it is.
QString NoAccess();
// The single-game lock file cannot be opened; the store was left alone.
QString NoLock();
// Opening or saving failed for another reason.
QString Failed();

} // namespace StoreNotice

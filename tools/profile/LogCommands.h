#pragma once
// zentrika-profile log and stats: a player's answer log and the figures of
// the statistics screen, as text or JSON.
#include "core/AnswerLog.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace profiletool
{

// The stored player keyName (as findPlayer gives it).
int printLog(platform::Registry &registry, const QString &keyName, bool json);
int printStats(platform::Registry &registry, const QString &keyName, bool json);

// The records as the export's "Answer log" value, one record a line; records
// the import would refuse (of a later build, or damaged) are left out and counted.
QByteArray exportLog(const std::vector<AnswerRecord> &records, qint64 *leftOut);

} // namespace profiletool

#pragma once
// A profile from its exported JSON (zentrika-profile export writes it). Every
// field is checked before a profile is made, so a bad file changes nothing.
#include "core/User.h"

#include <QByteArray>
#include <QJsonObject>
#include <memory>

namespace profileimport
{

// Raises EInternalError naming what is wrong. A file over
// limits::MaxProfileFileBytes is refused before it is parsed; the name is
// normalised as the name dialog does it and refused where the dialog would.
// The key of the answer log in an export: the records go into the profile's
// PendingLog, and carriesLog tells whether the file had the key at all (an
// export of an older build, or one made with --no-log, has none).
inline constexpr const char *LogKey = "Answer log";
std::unique_ptr<TUser> fromJson(const QByteArray &json, bool *carriesLog = nullptr);
std::unique_ptr<TUser> fromJson(const QJsonObject &o, bool *carriesLog = nullptr);

} // namespace profileimport

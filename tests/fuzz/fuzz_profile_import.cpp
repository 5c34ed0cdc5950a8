// The profile import (zentrika-profile import) on arbitrary text: it either
// refuses with its error or gives a profile the game can hold, whose name the
// name dialog would take as it stands.
//
// An input that starts with 'L' is padded with spaces to the file limit (one
// byte past it when its second byte is odd): a file over it is refused
// before it is parsed, one at it is read as any other.
#include "core/Errors.h"
#include "core/PlayerName.h"
#include "core/ProfileImport.h"
#include "platform/InputLimits.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    bool over = false;
    if (size >= 2 && data[0] == 'L') {
        json = json.mid(2);
        const qsizetype wanted = limits::MaxProfileFileBytes + (data[1] & 1);
        if (json.size() < wanted)
            json.append(QByteArray(wanted - json.size(), ' '));
        over = json.size() > limits::MaxProfileFileBytes;
    }
    std::unique_ptr<TUser> user;
    try {
        user = profileimport::fromJson(json);
    } catch (const EInternalError &) {
        return 0;
    }
    if (over)
        std::abort();
    const PlayerName name = playername::normalise(user->Name);
    if (!name.ok() || name.text != user->Name || user->Name.size() > limits::MaxNameLength)
        std::abort();
    if (user->Level < 1 || user->Level > 5 || user->UsedIds.Count() > user->UsedIds.Capacity() ||
        user->LevelList.Count() > user->LevelList.Capacity())
        std::abort();
    return 0;
}

#pragma once
// Players' names as typed, stored and compared. A name is trimmed and
// normalised (NFC) before it is stored; characters a player cannot see or
// that turn the text's direction are refused, so that no two players look
// the same in the list. Names stored before these rules stay usable: they
// compare by what the list shows of them.
#include <QString>
#include <QStringList>

enum class NameFault {
    None,
    Empty,       // nothing left after trimming
    TooLong,     // more than limits::MaxNameLength characters
    Invisible,   // a control, format, direction or other invisible character
    NotAKeyName, // ".", ".." or a backslash
};

struct PlayerName {
    QString text; // the name to store: trimmed, NFC, one kind of space
    NameFault fault = NameFault::None;
    bool ok() const { return fault == NameFault::None; }
};

namespace playername
{

// The name to store for what was typed (or given on a command line or in a file).
PlayerName normalise(const QString &typed);

// What two names are compared by: the name as the list shows it (invisible
// characters and surrounding spaces gone, NFC), without regard to case.
QString compareKey(const QString &name);
bool sameName(const QString &a, const QString &b);

// The Russian notice for a refused name: what is wrong and what to do.
QString faultText(NameFault fault);
// The same in English, for the command-line tools' messages.
QString faultDetail(NameFault fault);

// The stored player (key name, as stored) whose name looks like this one;
// empty when there is none.
QString findStored(const QStringList &storedNames, const QString &name);

} // namespace playername

#pragma once
// Paths of the game's data files. Catalogues were written on a file system
// that ignores letter case and uses "\" as separator; here "/" is the
// separator and a differently cased file is found by a directory scan.
#include <QString>

namespace gamepath
{

// base + "/" + relative, with every "\" of relative read as "/".
QString join(const QString &base, const QString &relative);

// True when the path has a "..", "." or empty part below its first one, or a
// drive-letter part such as "C:": such a value names a file outside the
// game's folders and is never opened.
bool isUnsafe(const QString &path);

// The existing file the path names, matching each part without regard to
// case when no exact match exists; empty when there is none or the path is unsafe.
QString resolve(const QString &path);

} // namespace gamepath

#pragma once
// Readable Qt values in test failure messages.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{';
    for (const QString &s : list)
        *os << "\n  \"" << s.toStdString() << '"';
    *os << " }";
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << "bytes \"" << b.toStdString() << '"';
}

#pragma once
// Exceptions raised for damaged or missing data. Messages are English and
// formatted with the puzzle id or path; the screens decide what a player sees.
#include <QString>
#include <stdexcept>

class EZentrikaError : public std::runtime_error
{
  public:
    explicit EZentrikaError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// A puzzle's picture or data file cannot be used.
class ELoadError : public EZentrikaError
{
  public:
    using EZentrikaError::EZentrikaError;
};

// A damaged catalogue or profile, or a rule broken inside the game.
class EInternalError : public EZentrikaError
{
  public:
    using EZentrikaError::EZentrikaError;
};

// A position outside a list.
class EListError : public EZentrikaError
{
  public:
    using EZentrikaError::EZentrikaError;
};

// A text that should hold a whole number does not.
class EConvertError : public EZentrikaError
{
  public:
    using EZentrikaError::EZentrikaError;
};

// What a player is shown for an error: Russian, saying what to do. The
// error's own English text, with its paths, is for the log.
QString playerMessage(const std::exception &error);
// The same for an error of no known kind.
QString playerMessage();

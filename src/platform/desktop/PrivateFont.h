#pragma once
// The game's own font, added for this run only. Every screen asks for the face
// "Comic Sans MS"; it is mapped to whatever family the game's font files hold.
#include <QString>
#include <QStringList>

namespace platform
{

class PrivateFont
{
  public:
    static constexpr const char *Face = "Comic Sans MS";

    ~PrivateFont() { remove(); }
    // Starts reading the system's font configuration on a thread of its own.
    // Parsing it is most of what the first text costs, and it can run while
    // the application connects to the display; add() waits for it.
    static void readConfigurationAhead();
    // Adds every file that loads; true when at least one did. The face is then
    // a substitute for the first family found.
    bool add(const QStringList &files);
    // Takes the files and the substitution away; true when something was removed.
    bool remove();

    bool isAdded() const { return !ids_.isEmpty(); }
    QString family() const { return family_; }

  private:
    QList<int> ids_;
    QString family_;
};

} // namespace platform

#pragma once
// The per-user registry store: keys like "\Software\Quorvane\Zentrika\Users info\Вася\"
// holding typed values, kept in one SQLite database. Key and value names
// compare without regard to case (full Unicode) and keep the case they were
// created with. Every write is atomic; a batch of writes can share one transaction.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <stdexcept>

struct sqlite3;

namespace platform
{

// The registry layer's read error: a missing value or one of another type.
class ERegistryError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

enum class RegType { String = 1, Binary = 3, Integer = 4 };

class Registry;

// An open key. Reads and writes go to the store at once (or at commit, inside a transaction).
class RegistryKey
{
  public:
    ~RegistryKey();
    QString path() const;

    bool valueExists(const QString &name) const;
    RegType valueType(const QString &name) const; // ERegistryError when missing
    QStringList valueNames() const;

    QString readString(const QString &name) const;
    std::int32_t readInteger(const QString &name) const;
    QByteArray readBinary(const QString &name) const;
    // Fills at most size bytes; a longer stored value raises ERegistryError.
    // Returns the stored length.
    int readBinaryData(const QString &name, void *buffer, int size) const;
    // At most maxBytes of a binary value, however long the stored one is: a
    // damaged record cannot make the reader allocate for its whole length.
    QByteArray readBinaryPrefix(const QString &name, int maxBytes) const;

    void writeString(const QString &name, const QString &value);
    void writeInteger(const QString &name, std::int32_t value);
    void writeBinary(const QString &name, const QByteArray &value);
    void deleteValue(const QString &name);

  private:
    friend class Registry;
    struct Impl;
    explicit RegistryKey(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

class Registry
{
  public:
    // Opens (creating if needed) the store at path. Raises ERegistryError when it cannot.
    explicit Registry(const QString &databasePath);
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    // $ZENTRIKA_REGISTRY, else $XDG_DATA_HOME/zentrika/registry.sqlite3
    // (~/.local/share/... when unset).
    static QString defaultPath();
    // parent + name + "\\". A name that is empty, "." or "..", or that holds
    // "\\" or a control character, would address another key (or none): it raises
    // ERegistryError, so a bad player name can never reach the players' key itself.
    static QString subKeyPath(const QString &parent, const QString &name);
    static bool isKeyName(const QString &name);

    bool keyExists(const QString &path) const;
    std::unique_ptr<RegistryKey> openKeyReadOnly(const QString &path) const;   // null when missing
    std::unique_ptr<RegistryKey> openKey(const QString &path, bool canCreate); // null when missing
    QStringList subKeyNames(const QString &path) const;                        // creation order
    bool deleteKey(const QString &path);                                       // and everything below it

    // Runs fn in one transaction: all of its writes land, or none.
    template <class Fn> void transaction(Fn &&fn)
    {
        begin();
        try {
            fn();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    QString databasePath() const;

    // The row id of the key at path, or 0 when it is missing: tables of their
    // own beside the values (the answer log) refer to a key by it, so that
    // deleting the key deletes their rows.
    qint64 keyId(const QString &path) const;
    // The connection, for such tables' own statements. Writes belong inside
    // transaction(); nothing here may close it or change its settings.
    sqlite3 *connection() const;

    // Rows written through this connection since it was opened.
    qint64 changesSinceOpen() const;
    // A consistent copy of the whole store into file (replaced), by SQLite's
    // online backup; the copy uses a rollback journal, so it is one file.
    void copyTo(const QString &file) const;

  private:
    friend class RegistryKey;
    void begin();
    void commit();
    void rollback();
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace platform

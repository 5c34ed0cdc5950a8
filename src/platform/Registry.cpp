#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace platform
{

namespace registrycopy
{
// RegistryCopy.cpp
void copyDatabase(sqlite3 *source, const QString &file);
} // namespace registrycopy

namespace
{

QString fold(const QString &name)
{
    return name.toCaseFolded();
}

// Key paths: segments between backslashes; leading, trailing and doubled
// backslashes are ignored.
QStringList splitPath(const QString &path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

constexpr sqlite3_int64 kRootId = 1;

constexpr const char *kSchema = R"sql(
CREATE TABLE IF NOT EXISTS reg_keys (
    id     INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES reg_keys(id) ON DELETE CASCADE,
    name   TEXT NOT NULL,
    folded TEXT NOT NULL
);
CREATE UNIQUE INDEX IF NOT EXISTS reg_keys_child ON reg_keys(parent, folded);
CREATE TABLE IF NOT EXISTS reg_values (
    id     INTEGER PRIMARY KEY,
    key    INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,
    name   TEXT NOT NULL,
    folded TEXT NOT NULL,
    type   INTEGER NOT NULL,
    data   BLOB
);
CREATE UNIQUE INDEX IF NOT EXISTS reg_values_name ON reg_values(key, folded);
INSERT OR IGNORE INTO reg_keys(id, parent, name, folded) VALUES (1, NULL, '', '');
CREATE TABLE IF NOT EXISTS reg_serial (n INTEGER NOT NULL);
INSERT INTO reg_serial(n) SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM reg_serial);
)sql";

} // namespace

// ---------------------------------------------------------------------------

struct Registry::Impl {
    sqlite3 *db = nullptr;
    QString path;
    int depth = 0; // nesting of transaction()
    sqlite3_int64 changesAtOpen = 0;

    ~Impl()
    {
        for (auto &[sql, stmt] : cache)
            sqlite3_finalize(stmt);
        if (db)
            sqlite3_close(db);
    }

    [[noreturn]] void fail(const QString &what) const
    {
        throw ERegistryError(QStringLiteral("Registry %1 failed: %2 (%3)")
                                 .arg(what, QString::fromUtf8(sqlite3_errmsg(db)), path)
                                 .toStdString());
    }

    void exec(const char *sql, const QString &what)
    {
        char *err = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            QString msg = QString::fromUtf8(err ? err : "unknown error");
            sqlite3_free(err);
            throw ERegistryError(
                QStringLiteral("Registry %1 failed: %2 (%3)").arg(what, msg, path).toStdString());
        }
    }

    // Prepared statements, kept for the life of the connection.
    std::vector<std::pair<const char *, sqlite3_stmt *>> cache;

    struct Stmt {
        Impl *owner;
        sqlite3_stmt *s;
        ~Stmt()
        {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
        Stmt &bind(int i, sqlite3_int64 v)
        {
            sqlite3_bind_int64(s, i, v);
            return *this;
        }
        Stmt &bind(int i, const QString &v)
        {
            const QByteArray u = v.toUtf8();
            sqlite3_bind_text(s, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
            return *this;
        }
        Stmt &bindBlob(int i, const QByteArray &v)
        {
            sqlite3_bind_blob(s, i, v.isEmpty() ? "" : v.constData(), int(v.size()), SQLITE_TRANSIENT);
            return *this;
        }
        bool step(const QString &what)
        {
            const int rc = sqlite3_step(s);
            if (rc == SQLITE_ROW)
                return true;
            if (rc == SQLITE_DONE)
                return false;
            owner->fail(what);
        }
        sqlite3_int64 integer(int col) const { return sqlite3_column_int64(s, col); }
        QString text(int col) const
        {
            return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, col)),
                                     sqlite3_column_bytes(s, col));
        }
        QByteArray blob(int col) const
        {
            const void *p = sqlite3_column_blob(s, col);
            return QByteArray(static_cast<const char *>(p), p ? sqlite3_column_bytes(s, col) : 0);
        }
    };

    Stmt prepare(const char *sql)
    {
        for (auto &[k, stmt] : cache)
            if (k == sql)
                return Stmt{this, stmt};
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
            fail(QStringLiteral("query"));
        cache.emplace_back(sql, stmt);
        return Stmt{this, stmt};
    }

    // The id of the child with that name, or 0.
    sqlite3_int64 child(sqlite3_int64 parent, const QString &name, QString *storedName = nullptr)
    {
        static constexpr const char *sql = "SELECT id, name FROM reg_keys WHERE parent = ?1 AND folded = ?2";
        Stmt st = prepare(sql);
        st.bind(1, parent).bind(2, fold(name));
        if (!st.step(QStringLiteral("key lookup")))
            return 0;
        if (storedName)
            *storedName = st.text(1);
        return st.integer(0);
    }

    // Walks the path; 0 when a segment is missing. canonical gets the stored spelling.
    sqlite3_int64 find(const QString &path, QString *canonical = nullptr)
    {
        sqlite3_int64 id = kRootId;
        QString out = QStringLiteral("\\");
        for (const QString &seg : splitPath(path)) {
            QString stored;
            id = child(id, seg, &stored);
            if (!id)
                return 0;
            out += stored + QLatin1Char('\\');
        }
        if (canonical)
            *canonical = out;
        return id;
    }

    sqlite3_int64 create(const QString &path, QString *canonical)
    {
        sqlite3_int64 id = kRootId;
        QString out = QStringLiteral("\\");
        for (const QString &seg : splitPath(path)) {
            QString stored;
            sqlite3_int64 next = child(id, seg, &stored);
            if (!next) {
                static constexpr const char *sql =
                    "INSERT INTO reg_keys(parent, name, folded) VALUES (?1, ?2, ?3)";
                Stmt st = prepare(sql);
                st.bind(1, id).bind(2, seg).bind(3, fold(seg));
                st.step(QStringLiteral("key creation"));
                next = sqlite3_last_insert_rowid(db);
                stored = seg;
            }
            id = next;
            out += stored + QLatin1Char('\\');
        }
        if (canonical)
            *canonical = out;
        return id;
    }
};

// ---------------------------------------------------------------------------

struct RegistryKey::Impl {
    Registry::Impl *reg;
    sqlite3_int64 id;
    QString path;
    bool readOnly;

    struct Value {
        bool exists = false;
        RegType type = RegType::String;
        QByteArray data;
        QString text;
        std::int32_t integer = 0;
    };

    // withData false reads the type only.
    Value read(const QString &name, bool withData = true) const
    {
        static constexpr const char *full =
            "SELECT type, data FROM reg_values WHERE key = ?1 AND folded = ?2";
        static constexpr const char *typeOnly =
            "SELECT type, NULL FROM reg_values WHERE key = ?1 AND folded = ?2";
        Registry::Impl::Stmt st = reg->prepare(withData ? full : typeOnly);
        st.bind(1, id).bind(2, fold(name));
        Value v;
        if (!st.step(QStringLiteral("value read")))
            return v;
        v.exists = true;
        v.type = RegType(st.integer(0));
        switch (v.type) {
        case RegType::String:
            v.text = st.text(1);
            break;
        case RegType::Integer:
            v.integer = std::int32_t(st.integer(1));
            break;
        case RegType::Binary:
            v.data = st.blob(1);
            break;
        }
        return v;
    }

    Value require(const QString &name, RegType type, bool withData = true) const
    {
        Value v = read(name, withData);
        if (!v.exists)
            throw ERegistryError(QStringLiteral("Registry value \"%1\" does not exist in the key %2")
                                     .arg(name, path)
                                     .toStdString());
        if (v.type != type) {
            static constexpr const char *names[] = {"", "a string", "", "binary data", "an integer"};
            throw ERegistryError(QStringLiteral("Registry value \"%1\" in the key %2 is not %3")
                                     .arg(name, path, QLatin1String(names[int(type)]))
                                     .toStdString());
        }
        return v;
    }

    template <class Bind> void write(const QString &name, RegType type, Bind &&bindData)
    {
        if (readOnly)
            throw ERegistryError(
                QStringLiteral("Registry key %1 is open for reading only").arg(path).toStdString());
        // A value written again keeps the spelling of its name; its type and data change.
        static constexpr const char *sql =
            "INSERT INTO reg_values(key, name, folded, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
            "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data";
        Registry::Impl::Stmt st = reg->prepare(sql);
        st.bind(1, id).bind(2, name).bind(3, fold(name)).bind(4, sqlite3_int64(type));
        bindData(st);
        st.step(QStringLiteral("value write of \"%1\" in %2").arg(name, path));
    }
};

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
RegistryKey::~RegistryKey() = default;

QString RegistryKey::path() const
{
    return d->path;
}

bool RegistryKey::valueExists(const QString &name) const
{
    return d->read(name).exists;
}

RegType RegistryKey::valueType(const QString &name) const
{
    const auto v = d->read(name);
    if (!v.exists)
        throw ERegistryError(QStringLiteral("Registry value \"%1\" does not exist in the key %2")
                                 .arg(name, d->path)
                                 .toStdString());
    return v.type;
}

QStringList RegistryKey::valueNames() const
{
    static constexpr const char *sql = "SELECT name FROM reg_values WHERE key = ?1 ORDER BY id";
    Registry::Impl::Stmt st = d->reg->prepare(sql);
    st.bind(1, d->id);
    QStringList names;
    while (st.step(QStringLiteral("value listing")))
        names.append(st.text(0));
    return names;
}

QString RegistryKey::readString(const QString &name) const
{
    return d->require(name, RegType::String).text;
}

std::int32_t RegistryKey::readInteger(const QString &name) const
{
    return d->require(name, RegType::Integer).integer;
}

QByteArray RegistryKey::readBinary(const QString &name) const
{
    return d->require(name, RegType::Binary).data;
}

int RegistryKey::readBinaryData(const QString &name, void *buffer, int size) const
{
    const auto v = d->require(name, RegType::Binary);
    if (v.data.size() > size)
        throw ERegistryError(
            QStringLiteral("Registry value \"%1\" in the key %2 holds %3 bytes, more than %4")
                .arg(name, d->path)
                .arg(v.data.size())
                .arg(size)
                .toStdString());
    if (!v.data.isEmpty())
        std::memcpy(buffer, v.data.constData(), std::size_t(v.data.size()));
    return int(v.data.size());
}

QByteArray RegistryKey::readBinaryPrefix(const QString &name, int maxBytes) const
{
    (void)d->require(name, RegType::Binary, false);
    static constexpr const char *sql =
        "SELECT substr(data, 1, ?3) FROM reg_values WHERE key = ?1 AND folded = ?2";
    Registry::Impl::Stmt st = d->reg->prepare(sql);
    st.bind(1, d->id).bind(2, fold(name)).bind(3, sqlite3_int64(std::max(0, maxBytes)));
    return st.step(QStringLiteral("value read")) ? st.blob(0) : QByteArray();
}

void RegistryKey::writeString(const QString &name, const QString &value)
{
    d->write(name, RegType::String, [&](Registry::Impl::Stmt &st) { st.bind(5, value); });
}

void RegistryKey::writeInteger(const QString &name, std::int32_t value)
{
    d->write(name, RegType::Integer, [&](Registry::Impl::Stmt &st) { st.bind(5, sqlite3_int64(value)); });
}

void RegistryKey::writeBinary(const QString &name, const QByteArray &value)
{
    d->write(name, RegType::Binary, [&](Registry::Impl::Stmt &st) { st.bindBlob(5, value); });
}

void RegistryKey::deleteValue(const QString &name)
{
    if (d->readOnly)
        throw ERegistryError(
            QStringLiteral("Registry key %1 is open for reading only").arg(d->path).toStdString());
    static constexpr const char *sql = "DELETE FROM reg_values WHERE key = ?1 AND folded = ?2";
    Registry::Impl::Stmt st = d->reg->prepare(sql);
    st.bind(1, d->id).bind(2, fold(name));
    st.step(QStringLiteral("value deletion"));
}

// ---------------------------------------------------------------------------

Registry::Registry(const QString &databasePath) : d(std::make_unique<Impl>())
{
    d->path = databasePath;
    const QFileInfo info(databasePath);
    QDir().mkpath(info.absolutePath());
    const int rc =
        sqlite3_open_v2(databasePath.toUtf8().constData(), &d->db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK)
        d->fail(QStringLiteral("open"));
    // Another process may hold the store for a moment (a save of its own).
    sqlite3_busy_timeout(d->db, 10000);
    d->exec("PRAGMA journal_mode = WAL", QStringLiteral("set-up"));
    // WAL with NORMAL sync: a killed process never loses a committed save.
    d->exec("PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON", QStringLiteral("set-up"));
    d->exec("BEGIN IMMEDIATE", QStringLiteral("set-up"));
    try {
        d->exec(kSchema, QStringLiteral("set-up"));
        d->exec("COMMIT", QStringLiteral("set-up"));
    } catch (...) {
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    d->changesAtOpen = sqlite3_total_changes64(d->db);
}

Registry::~Registry() = default;

qint64 Registry::changesSinceOpen() const
{
    return sqlite3_total_changes64(d->db) - d->changesAtOpen;
}

void Registry::copyTo(const QString &file) const
{
    registrycopy::copyDatabase(d->db, file);
}

bool Registry::keyExists(const QString &path) const
{
    return d->find(path) != 0;
}

std::unique_ptr<RegistryKey> Registry::openKeyReadOnly(const QString &path) const
{
    QString canonical;
    const sqlite3_int64 id = d->find(path, &canonical);
    if (!id)
        return nullptr;
    return std::unique_ptr<RegistryKey>(new RegistryKey(
        std::make_unique<RegistryKey::Impl>(RegistryKey::Impl{d.get(), id, canonical, true})));
}

std::unique_ptr<RegistryKey> Registry::openKey(const QString &path, bool canCreate)
{
    QString canonical;
    sqlite3_int64 id = d->find(path, &canonical);
    if (!id && canCreate)
        transaction([&] { id = d->create(path, &canonical); });
    if (!id)
        return nullptr;
    return std::unique_ptr<RegistryKey>(new RegistryKey(
        std::make_unique<RegistryKey::Impl>(RegistryKey::Impl{d.get(), id, canonical, false})));
}

QStringList Registry::subKeyNames(const QString &path) const
{
    QStringList names;
    const sqlite3_int64 id = d->find(path);
    if (!id)
        return names;
    static constexpr const char *sql = "SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY id";
    Impl::Stmt st = d->prepare(sql);
    st.bind(1, id);
    while (st.step(QStringLiteral("key listing")))
        names.append(st.text(0));
    return names;
}

bool Registry::deleteKey(const QString &path)
{
    const sqlite3_int64 id = d->find(path);
    if (!id || id == kRootId)
        return false;
    // Sub-keys and values go with it through the cascading references.
    static constexpr const char *sql = "DELETE FROM reg_keys WHERE id = ?1";
    Impl::Stmt st = d->prepare(sql);
    st.bind(1, id);
    st.step(QStringLiteral("key deletion"));
    return sqlite3_changes(d->db) > 0;
}

QString Registry::databasePath() const
{
    return d->path;
}

qint64 Registry::keyId(const QString &path) const
{
    return d->find(path);
}

sqlite3 *Registry::connection() const
{
    return d->db;
}

void Registry::begin()
{
    if (d->depth++ == 0) {
        try {
            d->exec("BEGIN IMMEDIATE", QStringLiteral("transaction start"));
        } catch (...) {
            d->depth = 0;
            throw;
        }
    }
}

void Registry::commit()
{
    if (d->depth == 0)
        return;
    if (--d->depth == 0) {
        try {
            // Counts the batches written, so that two copies of the store tell which is later.
            d->exec("UPDATE reg_serial SET n = n + 1", QStringLiteral("commit"));
            d->exec("COMMIT", QStringLiteral("commit"));
        } catch (...) {
            sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
}

void Registry::rollback()
{
    if (d->depth == 0)
        return;
    // An inner failure unwinds through the outer transaction(), which rolls back.
    if (--d->depth == 0)
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace platform

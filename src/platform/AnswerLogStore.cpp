#include "platform/AnswerLogStore.h"

#include <algorithm>
#include <sqlite3.h>

namespace platform::answerlog
{

namespace
{

constexpr const char *kTable = R"sql(
CREATE TABLE IF NOT EXISTS answer_log (
    key           INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,
    seq           INTEGER NOT NULL,
    time          INTEGER NOT NULL,
    event         INTEGER NOT NULL,
    puzzle        INTEGER NOT NULL,
    difficulty    INTEGER NOT NULL,
    kind          INTEGER NOT NULL,
    points_before INTEGER NOT NULL,
    points_after  INTEGER NOT NULL,
    seconds       INTEGER NOT NULL,
    level         INTEGER NOT NULL,
    typed         TEXT NOT NULL DEFAULT '',
    PRIMARY KEY (key, seq)
) WITHOUT ROWID
)sql";

constexpr int kNumbers = 10; // the integer columns after key, in Row's order

// Failures that mean the store, not the log table: the save must fail with them.
bool storeFault(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_INTERRUPT:
        return true;
    default:
        return false;
    }
}

class Failure
{
  public:
    int rc;
    QString detail;
};

class Statement
{
  public:
    Statement(sqlite3 *db, const char *sql) : db_(db)
    {
        const int rc = sqlite3_prepare_v2(db, sql, -1, &s_, nullptr);
        if (rc != SQLITE_OK)
            throw Failure{rc, QString::fromUtf8(sqlite3_errmsg(db))};
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int i, qint64 v)
    {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    Statement &bind(int i, const QString &v)
    {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(s_, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool step()
    {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw Failure{rc, QString::fromUtf8(sqlite3_errmsg(db_))};
    }
    void run()
    {
        step();
        sqlite3_reset(s_);
    }
    sqlite3_stmt *get() const { return s_; }
    qint64 integer(int col) const { return sqlite3_column_int64(s_, col); }

  private:
    sqlite3 *db_;
    sqlite3_stmt *s_ = nullptr;
};

void exec(sqlite3 *db, const char *sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        throw Failure{rc, msg};
    }
}

bool tableExists(sqlite3 *db)
{
    try {
        Statement st(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'answer_log'");
        return st.step();
    } catch (const Failure &) {
        return false;
    }
}

[[noreturn]] void raise(const Registry &registry, const QString &what, const Failure &f)
{
    throw ERegistryError(QStringLiteral("Answer log %1 failed: %2 (%3)")
                             .arg(what, f.detail, registry.databasePath())
                             .toStdString());
}

void insertRows(sqlite3 *db, qint64 keyId, const std::vector<Row> &rows, int keep)
{
    exec(db, kTable);
    qint64 seq = 0;
    {
        Statement last(db, "SELECT max(seq) FROM answer_log WHERE key = ?1");
        last.bind(1, keyId);
        if (last.step())
            seq = last.integer(0);
    }
    Statement insert(db, "INSERT INTO answer_log(key, seq, time, event, puzzle, difficulty, kind, "
                         "points_before, points_after, seconds, level, typed) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    for (const Row &r : rows) {
        insert.bind(1, keyId).bind(2, ++seq).bind(3, r.time).bind(4, r.event).bind(5, r.puzzle);
        insert.bind(6, r.difficulty).bind(7, r.kind).bind(8, r.before).bind(9, r.after);
        insert.bind(10, r.seconds).bind(11, r.level).bind(12, r.typed);
        insert.run();
    }
    // The newest `keep` stay; the (keep + 1)-th newest and older go.
    Statement trim(db, "DELETE FROM answer_log WHERE key = ?1 AND seq <= "
                       "(SELECT seq FROM answer_log WHERE key = ?1 ORDER BY seq DESC LIMIT 1 OFFSET ?2)");
    trim.bind(1, keyId).bind(2, std::max(keep, 0));
    trim.run();
}

// Runs fn in the registry's transaction under a savepoint of its own. A fault
// of the log table (another layout, damaged rows) undoes only fn's writes and
// comes back as the detail; a fault of the store itself raises.
template <class Fn> Appended guarded(Registry &registry, const QString &what, Fn &&fn)
{
    Appended result;
    sqlite3 *db = registry.connection();
    registry.transaction([&] {
        try {
            exec(db, "SAVEPOINT answer_log");
        } catch (const Failure &f) {
            raise(registry, what, f);
        }
        try {
            fn(db);
            exec(db, "RELEASE answer_log");
        } catch (const Failure &f) {
            // A fault of the store itself may have ended the transaction: the save fails.
            if (storeFault(f.rc) || sqlite3_get_autocommit(db))
                raise(registry, what, f);
            sqlite3_exec(db, "ROLLBACK TO answer_log; RELEASE answer_log", nullptr, nullptr, nullptr);
            result = {false, f.detail};
        }
    });
    return result;
}

} // namespace

Appended append(Registry &registry, qint64 keyId, const std::vector<Row> &rows, int keep)
{
    if (rows.empty())
        return {};
    return guarded(registry, QStringLiteral("write"),
                   [&](sqlite3 *db) { insertRows(db, keyId, rows, keep); });
}

Read read(const Registry &registry, qint64 keyId, int newest)
{
    Read out;
    sqlite3 *db = registry.connection();
    if (keyId == 0 || newest <= 0 || !tableExists(db))
        return out;
    try {
        Statement st(db, "SELECT seq, time, event, puzzle, difficulty, kind, points_before, points_after, "
                         "seconds, level, typed FROM answer_log WHERE key = ?1 ORDER BY seq DESC LIMIT ?2");
        st.bind(1, keyId).bind(2, newest);
        out.rows.reserve(std::size_t(std::min(newest, 4096)));
        while (st.step()) {
            bool numbers = true;
            for (int c = 0; c < kNumbers && numbers; ++c)
                numbers = sqlite3_column_type(st.get(), c) == SQLITE_INTEGER;
            if (!numbers) {
                ++out.malformed;
                continue;
            }
            Row r;
            qint64 *fields[kNumbers] = {&r.seq,  &r.time,   &r.event, &r.puzzle,  &r.difficulty,
                                        &r.kind, &r.before, &r.after, &r.seconds, &r.level};
            for (int c = 0; c < kNumbers; ++c)
                *fields[c] = st.integer(c);
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 10));
            r.typed = QString::fromUtf8(text, text ? sqlite3_column_bytes(st.get(), 10) : 0);
            out.rows.push_back(std::move(r));
        }
        out.total = qint64(out.rows.size()) + out.malformed;
        // Only a log read to the limit may hold more: counting costs a pass of its own.
        if (out.total >= newest) {
            Statement total(db, "SELECT count(*) FROM answer_log WHERE key = ?1");
            total.bind(1, keyId);
            if (total.step())
                out.total = total.integer(0);
        }
    } catch (const Failure &f) {
        out.damaged = true;
        out.detail = f.detail;
    }
    std::reverse(out.rows.begin(), out.rows.end());
    return out;
}

void move(Registry &registry, qint64 from, qint64 to)
{
    if (from == to || !tableExists(registry.connection()))
        return;
    guarded(registry, QStringLiteral("move"), [&](sqlite3 *db) {
        Statement drop(db, "DELETE FROM answer_log WHERE key = ?1");
        drop.bind(1, to).run();
        Statement moveRows(db, "UPDATE answer_log SET key = ?2 WHERE key = ?1");
        moveRows.bind(1, from).bind(2, to).run();
    });
}

void clear(Registry &registry, qint64 keyId)
{
    if (!tableExists(registry.connection()))
        return;
    guarded(registry, QStringLiteral("deletion"), [&](sqlite3 *db) {
        Statement drop(db, "DELETE FROM answer_log WHERE key = ?1");
        drop.bind(1, keyId).run();
    });
}

qint64 count(const Registry &registry, qint64 keyId)
{
    sqlite3 *db = registry.connection();
    if (!tableExists(db))
        return 0;
    try {
        Statement total(db, "SELECT count(*) FROM answer_log WHERE key = ?1");
        total.bind(1, keyId);
        return total.step() ? total.integer(0) : 0;
    } catch (const Failure &) {
        return 0;
    }
}

} // namespace platform::answerlog

// The write-ahead log. SQLite reads it up to the first frame whose checksum
// fails and drops the rest without a word, so one damaged byte there loses
// the saves behind it while the store itself checks whole. The shared-memory
// index beside it, left by the last writer even when it was killed, says how
// far the log had been committed.
#include "platform/StoreFileIo.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
#include <cstring>

namespace platform::store
{

namespace
{

struct LogFrames {
    bool headerOk = false;
    qsizetype readable = 0;  // frames up to the last readable commit
    qsizetype damagedAt = 0; // 1-based frame whose checksum fails, 0 when none
};

LogFrames readLog(const QByteArray &log)
{
    LogFrames out;
    if (log.size() < 32)
        return out;
    auto be = [&](qsizetype at) { return qFromBigEndian<quint32>(log.constData() + at); };
    const quint32 magic = be(0);
    const quint32 page = be(8);
    if ((magic & ~1u) != 0x377f0682u || page < 512 || page > 65536 || (page & (page - 1)) != 0)
        return out;
    const bool bigEndian = magic & 1u;
    quint32 s1 = 0;
    quint32 s2 = 0;
    auto sum = [&](qsizetype at, qsizetype n) {
        for (qsizetype i = at; i < at + n; i += 8) {
            const quint32 x0 = bigEndian ? be(i) : qFromLittleEndian<quint32>(log.constData() + i);
            const quint32 x1 = bigEndian ? be(i + 4) : qFromLittleEndian<quint32>(log.constData() + i + 4);
            s1 += x0 + s2;
            s2 += x1 + s1;
        }
    };
    sum(0, 24);
    out.headerOk = s1 == be(24) && s2 == be(28);
    if (!out.headerOk)
        return out;
    const qsizetype frame = 24 + qsizetype(page);
    qsizetype n = 0;
    for (qsizetype at = 32; at + frame <= log.size(); at += frame) {
        // Another salt: a frame of an older round of the log, its normal end.
        if (std::memcmp(log.constData() + at + 8, log.constData() + 16, 8) != 0)
            break;
        ++n;
        sum(at, 8);
        sum(at + 24, page);
        if (s1 != be(at + 16) || s2 != be(at + 20)) {
            out.damagedAt = n;
            break;
        }
        if (be(at + 4) != 0)
            out.readable = n;
    }
    return out;
}

// The last committed frame the index knows of; -1 without a usable index.
qint64 indexedFrames(const QString &storePath, const QByteArray &log)
{
    QFile shm(storePath + QStringLiteral("-shm"));
    if (log.size() < 32 || !shm.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = shm.read(96);
    // Two copies of a 48-byte header in the host's byte order, kept equal by
    // every writer; the salts tie it to this round of the log.
    if (head.size() < 96 || std::memcmp(head.constData(), head.constData() + 48, 48) != 0 ||
        head.at(12) != 1 || std::memcmp(head.constData() + 32, log.constData() + 16, 8) != 0)
        return -1;
    quint32 frames;
    std::memcpy(&frames, head.constData() + 16, 4);
    return frames;
}

} // namespace

QString lostLogSaves(const QString &storePath)
{
    QFile wal(storePath + QStringLiteral("-wal"));
    if (!wal.open(QIODevice::ReadOnly) || wal.size() <= 32)
        return {};
    const QByteArray log = wal.readAll();
    const LogFrames frames = readLog(log);
    if (!frames.headerOk)
        return QStringLiteral("the header of the write-ahead log is damaged; the saves in it cannot be read");
    const qint64 indexed = indexedFrames(storePath, log);
    if (indexed > frames.readable)
        return QStringLiteral("the write-ahead log was committed to frame %1 but reads only to frame %2")
            .arg(indexed)
            .arg(frames.readable);
    // Without an index, a damaged frame of this round is taken as a lost save:
    // a frame cut short by a killed writer leaves the index behind it.
    if (indexed < 0 && frames.damagedAt > 0)
        return QStringLiteral("frame %1 of the write-ahead log is damaged").arg(frames.damagedAt);
    return {};
}

} // namespace platform::store

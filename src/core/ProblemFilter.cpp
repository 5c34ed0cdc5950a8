#include "core/ProblemFilter.h"

#include "core/GamePath.h"
#include "core/Stars.h"
#include "platform/InputLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

bool ProblemFilter::IsEmpty() const
{
    return difficulties == 0 && answerKinds == 0 && title.trimmed().isEmpty() && !starredOnly;
}

namespace problemfilter
{

QString fold(QStringView text)
{
    QString folded = text.toString().toCaseFolded();
    for (QChar &c : folded)
        if (c == u'ё')
            c = u'е';
    return folded;
}

std::optional<std::uint8_t> readAnswerKind(const QString &dataPath)
{
    const QString path = gamepath::resolve(dataPath);
    // A FIFO or a folder in the file's place would block or fail the read.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // 'M', the statement's length, the statement, then the kind.
    char head[5];
    if (file.read(head, 5) != 5 || std::uint8_t(head[0]) != DataFileMagic)
        return std::nullopt;
    const qint32 length = qFromLittleEndian<qint32>(head + 1);
    char kind = 0;
    if (length < 0 || length > limits::MaxTextBytes || !file.seek(5 + qint64(length)) ||
        file.read(&kind, 1) != 1)
        return std::nullopt;
    if (std::uint8_t(kind) > AnswerNumbers)
        return std::nullopt;
    return std::uint8_t(kind);
}

} // namespace problemfilter

void TProblemIndex::Assign(const std::vector<const TProblem *> &records)
{
    entries_.clear();
    entries_.reserve(records.size());
    kindsKnown_ = records.empty();
    for (const TProblem *p : records) {
        Entry e;
        e.id = p->Id;
        e.difficult = p->Difficult;
        if (p->Loaded)
            e.kind = p->AnswerKind <= AnswerNumbers ? std::int16_t(p->AnswerKind) : -1;
        e.folded = problemfilter::fold(p->Name);
        e.dataPath = p->DataPath;
        entries_.push_back(std::move(e));
    }
}

void TProblemIndex::ReadKinds()
{
    if (kindsKnown_)
        return;
    for (Entry &e : entries_)
        if (e.kind < 0)
            e.kind = problemfilter::readAnswerKind(e.dataPath).value_or(-1);
    // Once tried: an unreadable file stays unknown rather than being read at each letter.
    kindsKnown_ = true;
}

void TProblemIndex::SetKind(int position, std::optional<std::uint8_t> kind)
{
    if (position < 0 || position >= Count())
        return;
    entries_[std::size_t(position)].kind = kind && *kind <= AnswerNumbers ? std::int16_t(*kind) : -1;
}

std::vector<int> TProblemIndex::Shown(const ProblemFilter &filter, const TStars &stars) const
{
    const QString needle = problemfilter::fold(filter.title.trimmed());
    std::vector<int> shown;
    shown.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry &e = entries_[i];
        if (filter.difficulties != 0 && (e.difficult > 7 || !(filter.difficulties & (1u << e.difficult))))
            continue;
        if (filter.answerKinds != 0 && (e.kind < 0 || !(filter.answerKinds & (1u << e.kind))))
            continue;
        if (filter.starredOnly && !stars.Contains(e.id))
            continue;
        if (!needle.isEmpty() && !e.folded.contains(needle))
            continue;
        shown.push_back(int(i));
    }
    return shown;
}

#include "core/Stars.h"

#include <algorithm>

TStars TStars::FromWords(const QStringList &words)
{
    TStars stars;
    for (const QString &word : words) {
        if (stars.Count() >= MaxStars)
            break;
        const QString text = word.trimmed();
        // Digits only: toUInt would also take a sign or blanks inside.
        if (text.isEmpty() || text.size() > 5 ||
            !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        const uint value = text.toUInt();
        if (value > 65535 || stars.marked_.test(value))
            continue;
        stars.marked_.set(value);
        stars.order_.push_back(ProblemId(value));
    }
    return stars;
}

QStringList TStars::ToWords() const
{
    QStringList words;
    words.reserve(Count());
    for (ProblemId id : order_)
        words << QString::number(id);
    return words;
}

bool TStars::Toggle(ProblemId id)
{
    if (marked_.test(id)) {
        marked_.reset(id);
        order_.erase(std::find(order_.begin(), order_.end(), id));
        return false;
    }
    if (Count() >= MaxStars) {
        marked_.reset(order_.front());
        order_.erase(order_.begin());
    }
    marked_.set(id);
    order_.push_back(id);
    return true;
}

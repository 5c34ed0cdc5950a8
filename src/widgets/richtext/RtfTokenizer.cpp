#include "RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace richtext::rtf
{
namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool Tokenizer::controlWord(Token &token)
{
    const char *start = p_;
    while (p_ < end_ && isAsciiLetter(*p_))
        ++p_;
    token.type = Token::Word;
    token.word = std::string_view(start, std::size_t(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
        negative = true;
        ++p_;
    }
    qint64 param = 0;
    while (p_ < end_ && isDigit(*p_)) {
        if (param < 100000000000LL)
            param = param * 10 + (*p_ - '0');
        token.hasParam = true;
        ++p_;
    }
    if (negative)
        param = -param;
    token.param = int(std::clamp<qint64>(param, INT_MIN, INT_MAX));
    if (p_ < end_ && *p_ == ' ')
        ++p_;
    return true;
}

std::string_view Tokenizer::takeBinary(int count)
{
    const qsizetype n = std::min<qsizetype>(std::max(count, 0), end_ - p_);
    const std::string_view bytes(p_, std::size_t(n));
    p_ += n;
    return bytes;
}

} // namespace richtext::rtf

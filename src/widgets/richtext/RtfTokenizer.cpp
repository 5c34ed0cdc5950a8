#include "RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace richtext::rtf
{
namespace
{

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isPlain(char c)
{
    return c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n';
}

} // namespace

Token Tokenizer::next()
{
    Token token;
    while (p_ < end_) {
        const char c = *p_++;
        switch (c) {
        case '{':
            token.type = Token::GroupStart;
            return token;
        case '}':
            token.type = Token::GroupEnd;
            return token;
        case '\\':
            // A backslash at the end, or \' without a byte after it, gives no token.
            if (p_ < end_ && (isAsciiLetter(*p_) ? controlWord(token) : controlSymbol(token)))
                return token;
            break;
        case '\r':
        case '\n':
            break;
        default: {
            const char *start = p_ - 1;
            while (p_ < end_ && isPlain(*p_))
                ++p_;
            token.type = Token::Text;
            token.word = std::string_view(start, std::size_t(p_ - start));
            return token;
        }
        }
    }
    return token;
}

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

bool Tokenizer::controlSymbol(Token &token)
{
    const char c = *p_++;
    switch (c) {
    case '\'': {
        if (end_ - p_ < 2) {
            p_ = end_;
            return false;
        }
        const int hi = hexValue(p_[0]), lo = hexValue(p_[1]);
        if (hi < 0 || lo < 0)
            return false; // what follows is read as it stands
        p_ += 2;
        token.type = Token::Byte;
        token.byte = static_cast<unsigned char>(hi * 16 + lo);
        return true;
    }
    case '\\':
    case '{':
    case '}':
        token.type = Token::Byte;
        token.byte = static_cast<unsigned char>(c);
        return true;
    default:
        token.type = Token::Symbol;
        token.symbol = c;
        return true;
    }
}

std::string_view Tokenizer::takeBinary(int count)
{
    const qsizetype n = std::min<qsizetype>(std::max(count, 0), end_ - p_);
    const std::string_view bytes(p_, std::size_t(n));
    p_ += n;
    return bytes;
}

} // namespace richtext::rtf

#pragma once
// Cuts RTF bytes into tokens: group marks, control words with their parameter,
// control symbols, escaped bytes and runs of plain text. It knows nothing of
// what the words mean; line ends outside control words are dropped, as RTF has them.
#include <QByteArrayView>

#include <string_view>

namespace richtext::rtf
{

struct Token {
    enum Type : unsigned char {
        End,        // no input left
        GroupStart, // {
        GroupEnd,   // }
        Word,       // \word or \wordN
        Symbol,     // \ and one character that is not a letter
        Byte,       // \'hh, \\, \{ or \}: one byte of text
        Text,       // plain bytes, none of them { } \ or a line end
    };
    Type type = End;
    std::string_view word;  // Word: its letters; Text: the bytes
    bool hasParam = false;  // Word
    int param = 0;          // Word: clamped to int; 0 without one
    char symbol = 0;        // Symbol
    unsigned char byte = 0; // Byte
};

class Tokenizer
{
  public:
    explicit Tokenizer(QByteArrayView input) : p_(input.data()), end_(input.data() + input.size()) {}

    Token next();
    // \binN: up to count raw bytes that follow, whatever they look like.
    std::string_view takeBinary(int count);

  private:
    static bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static int hexValue(char c);
    static bool isPlain(char c) { return c != '{' && c != '}' && c != '\\' && c != '\r' && c != '\n'; }
    bool controlWord(Token &token);
    bool controlSymbol(Token &token);

    const char *p_;
    const char *end_;
};

// Inline, with what it calls for text: they run once a token, and most tokens are a byte or two.
inline Token Tokenizer::next()
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

inline int Tokenizer::hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool Tokenizer::controlSymbol(Token &token)
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

} // namespace richtext::rtf

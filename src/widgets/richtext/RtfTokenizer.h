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
    bool controlWord(Token &token);
    bool controlSymbol(Token &token);

    const char *p_;
    const char *end_;
};

} // namespace richtext::rtf

#pragma once
// The control words the reader acts on, each mapped to what it means.
#include <string_view>

namespace richtext::rtf
{

// clang-format off
enum class Kw {
    Ansicpg, Deff, Fonttbl, Colortbl, F, Fcharset, Red, Green, Blue,
    B, I, Ul, Ulnone, Strike, V, Cf, Highlight, Fs, Plain, Sub, Super, Nosupersub,
    Par, Line, Tab, Pard, Ql, Qc, Qr, Qj, Fi, Li, Ri, Sb, Sa,
    U, Uc, Pict, Pngblip, Jpegblip, Picw, Pich, Picwgoal, Pichgoal, Picscalex, Picscaley, Bin,
    SkipDest,     // a destination whose content never reaches the page
    Transparent,  // a group whose text is shown as it stands
    Char,         // a named character
};
// clang-format on

struct Keyword {
    Kw kw;
    char16_t ch = 0; // for Kw::Char
};

// The meaning of a control word, or nullptr for a word the reader does not know.
const Keyword *findKeyword(std::string_view word);

} // namespace richtext::rtf

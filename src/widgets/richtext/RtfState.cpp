#include "RtfState.h"

#include <algorithm>

namespace richtext::rtf
{

bool applyCharacterWord(CharState &chr, Kw kw, bool hasParam, int param)
{
    const bool on = !hasParam || param != 0;
    switch (kw) {
    case Kw::B:
        chr.bold = on;
        return true;
    case Kw::I:
        chr.italic = on;
        return true;
    case Kw::Ul:
        chr.underline = on;
        return true;
    case Kw::Ulnone:
        chr.underline = false;
        return true;
    case Kw::Strike:
        chr.strike = on;
        return true;
    case Kw::V:
        chr.hidden = on;
        return true;
    case Kw::Cf:
        chr.color = std::max(param, 0);
        return true;
    case Kw::Highlight:
        chr.highlight = std::max(param, 0);
        return true;
    case Kw::Fs:
        // Word processors keep sizes within 1..1638 points.
        chr.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
        return true;
    case Kw::Plain:
        chr = CharState{};
        return true;
    case Kw::Sub:
    case Kw::Super:
    case Kw::Nosupersub:
        chr.vertical = kw == Kw::Sub ? -1 : kw == Kw::Super ? 1 : 0;
        return true;
    default:
        return false;
    }
}

bool applyParagraphWord(ParaState &para, Kw kw, int param)
{
    const int twips = std::clamp(param, -31680, 31680);
    switch (kw) {
    case Kw::Pard:
        para = ParaState{};
        return true;
    case Kw::Ql:
        para.align = Qt::AlignLeft;
        return true;
    case Kw::Qc:
        para.align = Qt::AlignHCenter;
        return true;
    case Kw::Qr:
        para.align = Qt::AlignRight;
        return true;
    case Kw::Qj:
        para.align = Qt::AlignJustify;
        return true;
    case Kw::Fi:
        para.fi = twips;
        return true;
    case Kw::Li:
        para.li = twips;
        return true;
    case Kw::Ri:
        para.ri = twips;
        return true;
    case Kw::Sb:
        para.sb = std::max(twips, 0);
        return true;
    case Kw::Sa:
        para.sa = std::max(twips, 0);
        return true;
    default:
        return false;
    }
}

} // namespace richtext::rtf

#include "textconv/TextConversion.h"

#include <algorithm>

#include "editor/TabExpand.h"
#include "textconv/HenkanJ.h"
#include "textstore/ShiftJis.h"

namespace tw {
namespace {

template <class F>
std::string MapSingleBytes(std::string_view text, F f) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(out[i])))
            ++i;  // the trail byte belongs to the character
        else
            out[i] = f(out[i]);
    }
    return out;
}

}  // namespace

std::string ToLowerCase(std::string_view text) {
    return MapSingleBytes(text, [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
}

std::string ToUpperCase(std::string_view text) {
    return MapSingleBytes(text, [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
}

std::string SpacesToTabs(std::string_view text, int tabCount) {
    const size_t n = static_cast<size_t>(std::max(tabCount, 1));
    const std::string run(n, ' ');
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, n, run) == 0) {
            out.push_back('\t');
            i += n;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::string Convert(Conversion conversion, std::string_view text, int tabCount) {
    switch (conversion) {
        case Conversion::LowerCase:
            return ToLowerCase(text);
        case Conversion::UpperCase:
            return ToUpperCase(text);
        // Hiragana first become katakana, so that they too end up half-width.
        case Conversion::HalfWidth:
            return ToHalfWidth(ToKatakana(text));
        case Conversion::FullWidth:
            return ToFullWidth(text);
        case Conversion::Hiragana:
            return ToHiragana(text);
        case Conversion::Katakana:
            return ToKatakana(text);
        case Conversion::SpaceToTab:
            return SpacesToTabs(text, tabCount);
        case Conversion::TabToSpace:
            return ExpandTabs(text, tabCount);
    }
    return std::string(text);
}

}  // namespace tw

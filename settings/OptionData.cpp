// The "Option.dat" image: one field table read by both directions, so that
// writing and reading can never disagree about an offset.
#include "settings/OptionData.h"

#include <algorithm>

#include "textstore/ShiftJis.h"

namespace tw {

namespace {

constexpr size_t kShortStringSize = kShortStringMax + 1;
constexpr size_t kReadHistoryOffset = 664;
constexpr size_t kFindHistoryOffset = 3224;

/// Puts fields into a zero-filled image.
class ImageWriter {
  public:
    ImageWriter() : bytes_(kOptionDataSize, '\0') {}

    void Byte(size_t at, uint8_t v) { bytes_[at] = static_cast<char>(v); }
    void Bool(size_t at, bool v) { Byte(at, v ? 1 : 0); }
    void Int(size_t at, int32_t v) { Word(at, static_cast<uint32_t>(v)); }
    void Word(size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i)
            Byte(at + i, static_cast<uint8_t>(v >> (8 * i)));
    }
    void Text(size_t at, const std::string& v) {
        const std::string fitted = FitShortString(v);
        Byte(at, static_cast<uint8_t>(fitted.size()));
        std::copy(fitted.begin(), fitted.end(), bytes_.begin() + static_cast<ptrdiff_t>(at + 1));
    }
    void History(size_t at, const ShortStringHistory& v) {
        for (size_t i = 0; i < v.size(); ++i)
            Text(at + i * kShortStringSize, v[i]);
    }

    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

/// Takes fields out of an image padded to its full size.
class ImageReader {
  public:
    explicit ImageReader(std::string_view bytes) : bytes_(bytes.substr(0, kOptionDataSize)) {
        bytes_.resize(kOptionDataSize, '\0');
    }

    void Byte(size_t at, uint8_t& v) const { v = At(at); }
    void Bool(size_t at, bool& v) const { v = At(at) != 0; }
    void Int(size_t at, int32_t& v) const {
        uint32_t w;
        Word(at, w);
        v = static_cast<int32_t>(w);
    }
    void Word(size_t at, uint32_t& v) const {
        v = 0;
        for (size_t i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(At(at + i)) << (8 * i);
    }
    /// The length byte can never reach past the 256-byte field.
    void Text(size_t at, std::string& v) const { v = bytes_.substr(at + 1, At(at)); }
    void History(size_t at, ShortStringHistory& v) const {
        for (size_t i = 0; i < v.size(); ++i)
            Text(at + i * kShortStringSize, v[i]);
    }

  private:
    uint8_t At(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }

    std::string bytes_;
};

/// Counts the Boolean bytes of an image that hold neither 0 nor 1.
class BooleanCensus {
  public:
    explicit BooleanCensus(std::string_view bytes) : bytes_(bytes) {}

    void Bool(size_t at, bool) {
        ++booleans;
        if (at < bytes_.size() && static_cast<uint8_t>(bytes_[at]) > 1) ++odd;
    }
    template <class T>
    void Byte(size_t, const T&) {}
    template <class T>
    void Int(size_t, const T&) {}
    template <class T>
    void Word(size_t, const T&) {}
    template <class T>
    void Text(size_t, const T&) {}
    template <class T>
    void History(size_t, const T&) {}

    int booleans = 0;
    int odd = 0;

  private:
    std::string_view bytes_;
};

/// The record's layout: offsets as the memory image has them, padding
/// between fields left zero.
template <class Io, class Data>
void Layout(Io& io, Data& d) {
    io.Bool(0, d.WordWrap);
    io.Int(4, d.Column);
    io.Bool(8, d.EofDraw);
    io.Bool(9, d.CRDraw);
    io.Bool(10, d.ZspcDraw);
    io.Bool(11, d.UlineF);
    io.Bool(12, d.InyoEnabled);
    io.Text(13, d.Inyostr);
    io.Int(272, d.Gyokan);
    io.Int(276, d.TabCount);
    io.Int(280, d.ScrollStep);
    io.Int(284, d.FontSize);
    io.Text(288, d.FontName);
    io.Byte(544, d.FontStyle);
    io.Byte(545, d.Reserved);
    io.Word(548, d.FontColor);
    io.Word(552, d.EditorColor);
    io.Word(556, d.SelColor);
    io.Word(560, d.FindColor);
    io.Word(564, d.URLColor);
    io.Word(568, d.CREOFcolor);
    io.Word(572, d.InyoColor);
    io.Word(576, d.UlineColor);
    io.Int(580, d.ReadWindowState);
    io.Bool(584, d.LimitWindowCount);
    io.Int(588, d.MaxWindowCount);
    io.Bool(592, d.LimitFileSize);
    io.Int(596, d.MaxFileSize);
    io.Bool(600, d.CreateBlank);
    io.Bool(601, d.ShowLineNumber);
    io.Bool(602, d.UseTab);
    io.Bool(603, d.ShowTabBox);
    io.Bool(604, d.MultiTabBox);
    io.Bool(605, d.ShowToolBar);
    io.Bool(606, d.SaveWindow);
    io.Int(608, d.WindowState);
    io.Int(612, d.WindowTop);
    io.Int(616, d.WindowLeft);
    io.Int(620, d.WindowHeight);
    io.Int(624, d.WindowWidth);
    io.Bool(628, d.SingleInstance);
    io.Bool(629, d.AutoSave);
    io.Int(632, d.AutoSaveInterval);
    io.Bool(636, d.SameFile);
    io.Int(640, d.BackupDays);
    io.Int(644, d.TabWidth);
    io.Word(648, d.TabFaceColor);
    io.Word(652, d.TabTextColor);
    io.Word(656, d.TabLightColor);
    io.Word(660, d.TabShadowColor);
    io.History(kReadHistoryOffset, d.ReadHistory);
    io.History(kFindHistoryOffset, d.FindHistory);
}

static_assert(kFindHistoryOffset + kHistorySlots * kShortStringSize == kOptionDataSize);

}  // namespace

std::string FitShortString(std::string_view s) {
    if (s.size() <= kShortStringMax) return std::string(s);
    size_t n = kShortStringMax;
    if (ByteTypeAt(s, static_cast<int32_t>(n)) == kLeadByte) --n;
    return std::string(s.substr(0, n));
}

bool IsPlausibleOptionImage(std::string_view bytes) {
    BooleanCensus census(bytes);
    const OptionData unused;
    Layout(census, unused);
    return census.odd * 2 <= census.booleans;
}

std::string OptionData::ToBytes() const {
    ImageWriter w;
    Layout(w, *this);
    return w.Take();
}

OptionData OptionData::FromBytes(std::string_view bytes) {
    const ImageReader r(bytes);
    OptionData d;
    Layout(r, d);
    return d;
}

}  // namespace tw

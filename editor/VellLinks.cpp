// Web, mail and tag links: found anew on every repaint, over the wrapped
// pieces of a logical line, and drawn underlined over the rows.
#include <algorithm>
#include <cstring>
#include <string>

#include "editor/TabExpand.h"
#include "editor/VellView.h"
#include "textstore/ShiftJis.h"

namespace tw {

namespace {

/// Up to seven bytes from `p`, lower-cased, running on into the next entry:
/// enough to tell a keyword even where the wrap cuts it.
std::string KeywordAt(std::string_view text, std::string_view next, size_t p) {
    std::string w(text.substr(p, 7));
    if (w.size() < 7) w += next.substr(0, 7 - w.size());
    for (char& c : w)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return w;
}

/// Whether a keyword ("http", "mail", "tag:") can start with byte `c`.
bool MayStartKeyword(char c) {
    const char low = static_cast<char>(c | 0x20);
    return low == 'h' || low == 'm' || low == 't';
}

size_t CharLen(std::string_view s, size_t i) {
    return i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
}

/// A space, "|", a TAB or a full-width space, at or after `i`.
size_t LinkEnd(std::string_view s, size_t i) {
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '|' || c == '\t') return i;
        if (s.substr(i, 2) == "\x81\x40") return i;
        i += CharLen(s, i);
    }
    return s.size();
}

/// An extension runs over single-byte characters up to a TAB, space, "," or ":".
size_t ExtensionEnd(std::string_view s, size_t i) {
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\t' || c == ' ' || c == ',' || c == ':') return i;
        if (CharLen(s, i) == 2) return i;
        ++i;
    }
    return s.size();
}

bool StartsWebOrMail(std::string_view w) {
    const std::string_view w7 = w.substr(0, 7);
    return w7 == "http://" || w7 == "https:/" || w7 == "mailto:" || w.substr(0, 5) == "mail:";
}

bool StartsKeyword(std::string_view text, std::string_view next, size_t p) {
    if (!MayStartKeyword(text[p])) return false;
    const std::string w = KeywordAt(text, next, p);
    return StartsWebOrMail(w) || w.starts_with("tag:");
}

/// Where the next keyword starts at or after `p`, or the text's size. Every
/// keyword has its ':' three to six bytes in, so the search hops from colon to
/// colon; only the last bytes, where a keyword may run on into the next
/// entry, are tried one by one. A start must be a character's first byte.
size_t NextKeyword(std::string_view text, std::string_view next, size_t p) {
    const size_t len = text.size();
    const auto found = [&](size_t s) {
        return StartsKeyword(text, next, s) &&
               ByteTypeAt(text, static_cast<int32_t>(s + 1)) != kTrailByte;
    };
    for (size_t k = p + 3; k < len; ++k) {
        const void* colon = std::memchr(text.data() + k, ':', len - k);
        if (!colon) break;
        k = static_cast<size_t>(static_cast<const char*>(colon) - text.data());
        for (size_t s = std::max(p, k >= 6 ? k - 6 : 0); s + 3 <= k; ++s)
            if (found(s)) return s;
    }
    for (size_t s = std::max(p, len >= 6 ? len - 6 : 0); s < len; ++s)
        if (found(s)) return s;
    return len;
}

/// The carry-over state of one scan of a logical line.
struct LinkScan {
    std::vector<LinkPart>& parts;
    bool inLink = false, inTagName = false, inTagExt = false;
    int id = -1;

    LinkCarry Carry() const { return {inLink, inTagName, inTagExt}; }
    void Resume(const LinkCarry& c) {
        inLink = c.inLink, inTagName = c.inTagName, inTagExt = c.inTagExt;
    }

    void Add(int32_t row, size_t from, size_t to, bool continues) {
        if (!continues) ++id;
        if (to > from)
            parts.push_back({row, static_cast<int32_t>(from), static_cast<int32_t>(to - from), id});
    }
};

/// Scans one entry; `next` is the text of the entry after it, so a keyword
/// cut by a wrap is still found.
void ScanEntry(LinkScan& st, int32_t row, std::string_view entry, std::string_view next) {
    if (entry == kCrLf) {
        st.inLink = st.inTagName = st.inTagExt = false;
        return;
    }
    const bool ends = HasTerminator(entry);
    // Looked at in place: a row can be megabytes long.
    const std::string_view low = StripTerminator(entry);
    const size_t len = low.size();
    size_t p = 0;
    if (st.inLink) {
        p = LinkEnd(low, 0);
        st.Add(row, 0, p, true);
        st.inLink = p == len && !ends;
        if (st.inLink) return;
    } else if (st.inTagName) {
        const size_t dot = low.find('.');
        if (dot == std::string_view::npos) {
            st.Add(row, 0, len, true);
            st.inTagName = !ends;
            return;
        }
        st.Add(row, 0, dot + 1, true);
        st.inTagName = false;
        st.inTagExt = true;
        p = dot + 1;
    }
    if (st.inTagExt) {
        const size_t q = ExtensionEnd(low, p);
        st.Add(row, p, q, true);
        st.inTagExt = q == len && !ends;
        if (st.inTagExt) return;
        p = q;
    }
    while ((p = NextKeyword(low, next, p)) < len) {
        const std::string w = KeywordAt(low, next, p);
        if (StartsWebOrMail(w)) {
            const size_t q = LinkEnd(low, std::min(p + 5, len));
            st.Add(row, p, q, false);
            st.inLink = q == len && !ends;
            if (st.inLink) return;
            p = q + (q < len ? CharLen(low, q) : 0);
        } else if (w.substr(0, 4) == "tag:") {
            const size_t dot = low.find('.', p + 4);
            if (dot == std::string_view::npos) {
                st.Add(row, p, len, false);
                st.inTagName = !ends;
                return;
            }
            const size_t q = ExtensionEnd(low, dot + 1);
            st.Add(row, p, q, false);
            st.inTagExt = q == len && !ends;
            if (st.inTagExt) return;
            p = std::max(q, p + 1);
        } else {
            p += CharLen(low, p);
        }
    }
}

}  // namespace

int32_t TVellView::LogicalStart(int32_t row) const {
    while (row > 0 && !HasTerminator(ed_.Lines().View(row - 1)))
        --row;
    return row;
}

/// Where a scan for `fromRow` starts: the start of its logical line, or the
/// nearest row above it in that line whose carry-over an earlier scan left.
/// A mark holds only while no row up to it has changed, since a row's carry
/// also depends on the first bytes of the row itself (a keyword cut by the
/// wrap).
int32_t TVellView::ResumeLinkScan(int32_t fromRow, LinkCarry& carry) const {
    const int32_t changed = ed_.TakeChangedFrom();
    linkMarks_.erase(linkMarks_.lower_bound(changed), linkMarks_.end());
    const auto above = linkMarks_.upper_bound(fromRow);
    const int32_t markRow = above == linkMarks_.begin() ? -1 : std::prev(above)->first;
    int32_t r = fromRow;
    while (r > 0 && r != markRow && !HasTerminator(ed_.Lines().View(r - 1)))
        --r;
    carry = r == markRow ? std::prev(above)->second : LinkCarry{};
    return r;
}

void TVellView::RememberLinkCarry(int32_t row, const LinkCarry& carry) const {
    if (linkMarks_.size() >= kMaxLinkMarks) linkMarks_.clear();
    linkMarks_[row] = carry;
}

std::vector<LinkPart> TVellView::ScanLinks(int32_t fromRow, int32_t toRow) const {
    std::vector<LinkPart> parts;
    LinkScan st{parts};
    const int32_t last = ed_.Lines().Count() - 1;
    toRow = std::min(toRow, last);
    LinkCarry carry;
    const int32_t start = ResumeLinkScan(fromRow, carry);
    st.Resume(carry);
    for (int32_t r = start; r <= toRow; ++r) {
        // Marks on the way let the next scan in a long line start near its rows.
        if (r > start && (r == fromRow || (r - start) % kLinkMarkSpacing == 0))
            RememberLinkCarry(r, st.Carry());
        const std::string_view e = ed_.Lines().View(r);
        const std::string_view next =
            !HasTerminator(e) && r < last ? ed_.Lines().View(r + 1) : std::string_view();
        ScanEntry(st, r, e, StripTerminator(next));
        ++linkRowsScanned_;
    }
    return parts;
}

void TVellView::DrawLinks(int32_t fromRow, int32_t toRow) {
    DrawLinksClipped(fromRow, toRow, {-1, 0, 0, 0});
}

void TVellView::DrawLinksClipped(int32_t fromRow, int32_t toRow, const PixelRect& clip) {
    if (!ed_.ColorPrintF) return;
    fromRow = std::max(fromRow, vp_.TopLine);
    toRow = std::min(toRow, vp_.LastVisibleRow());
    if (fromRow > toRow) return;
    for (const LinkPart& part : ScanLinks(fromRow, toRow))
        if (part.row >= fromRow) DrawLinkSpan(part, clip);
}

void TVellView::DrawLinkSpan(const LinkPart& part, const PixelRect& clip) {
    const std::string_view e = StripTerminator(ed_.Lines().View(part.row));
    const int y = RowY(part.row);
    const int origin = vp_.TextLeft - vp_.ScrollX;
    const int x1 = std::max(vp_.TextLeft, origin + ExpandedWidth(e.substr(0, part.x)));
    const int x2 = origin + ExpandedWidth(e.substr(0, part.x + part.len));
    PixelRect r{x1, y, x2, y + vp_.RowHeight};
    if (clip.left != -1) {
        if (clip.top != y) return;
        r.left = std::max(clip.left, x1);
        r.right = std::min(clip.right, x2);
    }
    if (r.right < x1 || x2 < r.left || r.Empty()) return;
    const auto from = static_cast<size_t>(part.x);
    const Piece piece = VisiblePiece(e, from, from + static_cast<size_t>(part.len));
    surface_.SetUnderline(true);
    surface_.TextOut(piece.x, y, r, piece.text, ed_.URLColor, ed_.Color(), true);
    surface_.SetUnderline(false);
}

std::string TVellView::GetLinkText(int32_t& col, int32_t& line, bool seekStart) {
    const int32_t lastDoc = ed_.Lines().Count() - 1;
    line = std::clamp(line, 0, lastDoc);
    const int32_t first = LogicalStart(line);
    int32_t last = line;
    while (last < lastDoc && !HasTerminator(ed_.Lines().View(last)))
        ++last;
    const std::vector<LinkPart> parts = ScanLinks(first, last);
    std::string link;
    int hit = -1;
    if (seekStart && !parts.empty()) {
        hit = parts.front().id;
    } else {
        for (const LinkPart& p : parts)
            if (p.row == line && col >= p.x && col <= p.x + p.len - 1) hit = p.id;
    }
    for (const LinkPart& p : parts)
        if (p.id == hit) link += ed_.Lines().View(p.row).substr(p.x, p.len);
    if (seekStart && parts.empty()) {
        for (int32_t r = first; r <= last; ++r)
            link += StripTerminator(ed_.Lines().View(r));
    }
    col = 0;
    line = std::min(last + 1, lastDoc);
    return link;
}

}  // namespace tw

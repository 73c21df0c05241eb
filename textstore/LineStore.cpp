#include "textstore/LineStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "textstore/EntryArena.h"

namespace tw {

ListIndexError::ListIndexError() : std::out_of_range("インデックスがリストの範囲を超えています") {}

namespace {

int32_t rowLimit = TVellStrings::kMaxCapacity;

}  // namespace

int32_t TVellStrings::RowLimit() noexcept {
    return rowLimit;
}

void TVellStrings::SetRowLimit(int32_t limit) noexcept {
    rowLimit = std::clamp(limit, 0, kMaxCapacity);
}

void TVellStrings::Swap(TVellStrings& other) noexcept {
    std::swap(slots_, other.slots_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(gap_, other.gap_);
}

TVellStrings::~TVellStrings() {
    Clear();
}

void TVellStrings::Error() const {
    throw ListIndexError();
}

Entry TVellStrings::Get(int32_t index) const {
    CheckIndex(index);
    return Entry::Share(slots_[Physical(index)]);
}

std::string_view TVellStrings::View(int32_t index) const {
    CheckIndex(index);
    const EntryRep* rep = slots_[Physical(index)];
    return rep ? std::string_view(rep->bytes(), rep->size) : std::string_view();
}

TVellStrings::PackedRows TVellStrings::PackedFrom(int32_t from, int32_t last, size_t maxBytes,
                                                  unsigned char endA, unsigned char endB) const {
    CheckIndex(from);
    last = std::min(last, count_ - 1);
    const EntryRep* rep = slots_[Physical(from)];
    if (!rep) Error();
    auto endsIn = [endA, endB](const EntryRep* r) {
        const auto c = static_cast<unsigned char>(r->bytes()[r->size - 1]);
        return c == endA || c == endB;
    };
    const char* begin = rep->bytes();
    int32_t y = from;
    if (EntryArena::InChunk(rep) && !endsIn(rep)) {
        // Only entries of one chunk, made one right after the other, are
        // known to have nothing but a header between them.
        while (y < last && static_cast<size_t>(rep->bytes() + rep->size - begin) < maxBytes) {
            const EntryRep* next = slots_[Physical(y + 1)];
            if (next) {
                const char* expected =
                    reinterpret_cast<const char*>(rep) + EntryArena::Footprint(rep->size);
                if (reinterpret_cast<const char*>(next) != expected || !EntryArena::InChunk(next))
                    break;
                rep = next;
            }
            ++y;
            if (next && endsIn(next)) break;
        }
    }
    const auto size = static_cast<size_t>(rep->bytes() + rep->size - begin);
    return {std::string_view(begin, size), y};
}

void TVellStrings::Put(int32_t index, Entry s) {
    CheckIndex(index);
    EntryRep*& slot = slots_[Physical(index)];
    Entry::Release(slot);
    slot = s.Detach();
}

void TVellStrings::MoveGap(int32_t index) noexcept {
    const size_t gap = static_cast<size_t>(GapSize());
    if (index < gap_) {
        // Rows index..gap_-1 go behind the gap.
        std::memmove(slots_ + index + gap, slots_ + index,
                     sizeof(EntryRep*) * static_cast<size_t>(gap_ - index));
    } else if (index > gap_) {
        // Rows gap_..index-1 come in front of it.
        std::memmove(slots_ + gap_, slots_ + gap_ + gap,
                     sizeof(EntryRep*) * static_cast<size_t>(index - gap_));
    }
    gap_ = index;
}

void TVellStrings::Reallocate(int32_t capacity) {
    if (capacity == 0) {
        std::free(slots_);
        slots_ = nullptr;
        capacity_ = gap_ = 0;
        return;
    }
    // Shrinking cuts free slots off the end, so they have to be there first.
    if (capacity < capacity_) MoveGap(count_);
    const size_t tail = static_cast<size_t>(count_ - gap_);
    const size_t oldCapacity = static_cast<size_t>(capacity_);
    // Free slots are never read, so they need no clearing.
    void* p = std::realloc(slots_, sizeof(EntryRep*) * static_cast<size_t>(capacity));
    if (!p) throw std::bad_alloc();
    slots_ = static_cast<EntryRep**>(p);
    if (tail > 0 && static_cast<size_t>(capacity) > oldCapacity)
        std::memmove(slots_ + capacity - tail, slots_ + oldCapacity - tail,
                     sizeof(EntryRep*) * tail);
    capacity_ = capacity;
}

int32_t TVellStrings::GrowthStep(int32_t count) noexcept {
    return std::max(count / 128, 32);
}

void TVellStrings::Grow() {
    SetCapacity(std::min<int64_t>(int64_t{capacity_} + GrowthStep(count_), kMaxCapacity));
}

int32_t TVellStrings::Add(Entry s) {
    Insert(count_, std::move(s));
    return count_ - 1;
}

void TVellStrings::Insert(int32_t index, Entry s) {
    if (index < 0 || index > count_) Error();
    CheckRoom(1);
    if (count_ == capacity_) Grow();
    MoveGap(index);
    slots_[gap_++] = s.Detach();
    ++count_;
}

void TVellStrings::Delete(int32_t index) {
    CheckIndex(index);
    MoveGap(index);
    Entry::Release(slots_[Physical(index)]);
    --count_;  // the row's slot joins the gap
}

void TVellStrings::Clear() {
    if (capacity_ <= 0) return;
    ForEachRep([](EntryRep* rep) { Entry::Release(rep); });
    count_ = 0;
    Reallocate(0);
}

void TVellStrings::SetCapacity(int32_t n) {
    if (n > kMaxCapacity || n < count_) Error();
    if (n == capacity_) return;
    Reallocate(n);
}

void TVellStrings::SetCount(int32_t n) {
    if (n < 0 || n > RowLimit()) Error();
    if (n > capacity_) SetCapacity(n);
    MoveGap(count_);
    for (int32_t i = n; i < count_; ++i)
        Entry::Release(slots_[i]);
    for (int32_t i = count_; i < n; ++i)
        slots_[i] = nullptr;
    count_ = n;
    gap_ = n;
}

void TVellStrings::Reserve(int64_t extra) {
    int64_t want = std::min<int64_t>(int64_t{count_} + std::max<int64_t>(extra, 0), kMaxCapacity);
    if (want > capacity_) SetCapacity(static_cast<int32_t>(want));
}

void TVellStrings::TrimCapacity() {
    if (capacity_ != count_) SetCapacity(count_);
}

void TVellStrings::Append(Entry s) {
    CheckRoom(1);
    if (count_ == capacity_) Grow();
    MoveGap(count_);
    slots_[gap_++] = s.Detach();
    ++count_;
}

void TVellStrings::AddStrings(std::span<const Entry> list) {
    CheckRoom(static_cast<int64_t>(list.size()));
    Reserve(static_cast<int64_t>(list.size()));
    for (const Entry& e : list)
        Append(e);
}

void TVellStrings::Assign(std::span<const Entry> list) {
    if (static_cast<int64_t>(list.size()) > RowLimit()) Error();
    Clear();
    AddStrings(list);
}

int32_t TVellStrings::IndexOf(std::string_view s) const {
    for (int32_t i = 0; i < count_; ++i)
        if (View(i) == s) return i;
    return -1;
}

namespace {

/// Length of the entry that starts `text`: up to and including the byte after
/// the first CR or NUL, or the rest of the text. The byte after a lone CR is
/// taken as the second terminator byte, whatever it is. A CR or NUL as the very
/// last byte gets a NUL as its second byte, so it still ends its entry.
size_t NextEntryLength(std::string_view text, bool& padNul) {
    const char* p = text.data();
    const size_t n = text.size();
    const void* cr = std::memchr(p, '\r', n);
    size_t limit = cr ? static_cast<size_t>(static_cast<const char*>(cr) - p) : n;
    const void* nul = std::memchr(p, '\0', limit);
    if (nul) limit = static_cast<size_t>(static_cast<const char*>(nul) - p);
    padNul = limit + 1 == n;
    if (limit == n) return n;
    return std::min(limit + 2, n);
}

}  // namespace

void TVellStrings::AppendSplit(std::string_view text) {
    while (!text.empty()) {
        bool padNul = false;
        size_t len = NextEntryLength(text, padNul);
        std::string_view row = text.substr(0, len);
        Append(padNul ? Entry::Join({row, std::string_view("\0", 1)}) : Entry(row));
        text.remove_prefix(len);
    }
}

void TVellStrings::InsertText(int32_t& index, std::string_view text) {
    if (text.empty()) return;
    if (index < 0 || index > count_) Error();
    // Split into a side store first, then fill the gap once: inserting many
    // rows one by one would move the rows behind them once per row.
    TVellStrings added;
    added.Reserve(static_cast<int64_t>(text.size() / kBytesPerLineEstimate) + 1);
    added.AppendSplit(text);
    const int32_t n = added.count_;
    CheckRoom(n);
    // The rest of the gap stays as slack (at most one growth step) rather
    // than being trimmed: trimming would move every row behind the caret, and
    // the next keystroke would move them back.
    if (GapSize() < n) Reserve(int64_t{n} + GrowthStep(count_ + n));
    MoveGap(index);
    std::memcpy(slots_ + gap_, added.slots_, sizeof(EntryRep*) * static_cast<size_t>(n));
    gap_ += n;
    count_ += n;
    added.count_ = added.gap_ = 0;  // the references now belong to this store
    index += n - 1;
}

size_t TVellStrings::TotalSize() const noexcept {
    size_t total = 0;
    ForEachRep([&](const EntryRep* rep) {
        if (rep) total += rep->size;
    });
    return total;
}

std::string TVellStrings::GetText() const {
    std::string text;
    text.resize(TotalSize());
    char* out = text.data();
    ForEachRep([&](const EntryRep* rep) {
        if (rep) {
            std::memcpy(out, rep->bytes(), rep->size);
            out += rep->size;
        }
    });
    text.resize(text.size() >= 2 ? text.size() - 2 : 0);
    return text;
}

void TVellStrings::SetText(std::string_view text) {
    // Split aside first: a text with too many lines leaves the store as it was.
    TVellStrings rows;
    if (!text.empty()) {
        rows.Reserve(static_cast<int64_t>(text.size() / kBytesPerLineEstimate));
        rows.AppendSplit(text);
        rows.TrimCapacity();
    }
    Swap(rows);
}

void TVellStrings::SaveToStream(TStream& stream) const {
    std::string text = GetText();
    size_t done = 0;
    while (done < text.size()) {
        auto chunk = static_cast<int32_t>(std::min<size_t>(text.size() - done, 0x40000000));
        stream.WriteBuffer(text.data() + done, chunk);
        done += static_cast<size_t>(chunk);
    }
}

void TVellStrings::LoadFromStream(TStream& stream) {
    Clear();
    int32_t pos = stream.Position();
    int32_t size = stream.Size();
    if (size - pos <= 0) return;
    std::string bytes(static_cast<size_t>(size - pos), '\0');
    stream.ReadBuffer(bytes.data(), size - pos);
    SetText(bytes);
}

std::string TVellStrings::GetCommaText() const {
    std::string out;
    out.reserve(4096);
    for (int32_t i = 0; i < count_; ++i) {
        std::string_view s = View(i);
        bool quote = s.find_first_of(" ,") != std::string_view::npos;
        if (quote) out += '"';
        out += s;
        if (quote) out += '"';
        out += ',';
    }
    if (!out.empty()) out.pop_back();
    return out;
}

void TVellStrings::SetCommaText(std::string_view text) {
    Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        bool quoted = text[pos] == '"';
        if (quoted) ++pos;
        size_t stop = pos;
        while (stop < text.size()) {
            char c = text[stop];
            if (c == '\r' || c == '\0' || c == '"' || (!quoted && c == ',')) break;
            ++stop;
        }
        Add(Entry(text.substr(pos, stop - pos)));
        pos = stop + (quoted ? 2 : 1);
    }
}

}  // namespace tw

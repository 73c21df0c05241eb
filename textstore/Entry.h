/** @file A row of the line store: an immutable, reference-counted byte string. */
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tw {

class EntryArena;

/// Header in front of an entry's bytes. The top bit of `refs` marks an entry
/// that lives inside an arena chunk rather than in its own allocation.
struct EntryRep {
    uint32_t refs;
    uint32_t size;
    char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }
    const char* bytes() const noexcept { return reinterpret_cast<const char*>(this + 1); }
};

/// A shared reference to the bytes of one row. Copying an Entry shares the
/// bytes; nothing ever changes them after construction. The empty entry owns
/// no memory at all.
class Entry {
  public:
    Entry() noexcept = default;
    Entry(std::string_view bytes);  // NOLINT: implicit, rows are made from bytes everywhere
    Entry(const std::string& bytes) : Entry(std::string_view(bytes)) {}  // NOLINT
    Entry(const char* bytes) : Entry(std::string_view(bytes)) {}         // NOLINT

    /// Concatenates the parts into one new entry with a single allocation.
    static Entry Join(std::initializer_list<std::string_view> parts);
    /// The size of the parts joined.
    static size_t JoinedSize(std::initializer_list<std::string_view> parts) noexcept;

    Entry(const Entry& other) noexcept : rep_(other.rep_) { Retain(rep_); }
    Entry(Entry&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
    Entry& operator=(const Entry& other) noexcept;
    Entry& operator=(Entry&& other) noexcept;
    ~Entry() { Release(rep_); }

    const char* data() const noexcept { return rep_ ? rep_->bytes() : ""; }
    int32_t size() const noexcept { return rep_ ? static_cast<int32_t>(rep_->size) : 0; }
    bool empty() const noexcept { return rep_ == nullptr; }
    std::string_view view() const noexcept { return {data(), static_cast<size_t>(size())}; }
    operator std::string_view() const noexcept { return view(); }  // NOLINT
    std::string str() const { return std::string(view()); }
    unsigned char operator[](int32_t i) const noexcept {
        return static_cast<unsigned char>(data()[i]);
    }

    /// How many references share these bytes (0 for the empty entry).
    uint32_t UseCount() const noexcept;

    friend bool operator==(const Entry& a, std::string_view b) noexcept { return a.view() == b; }

    // Raw hand-over of ownership, for containers that keep bare reps.
    EntryRep* Detach() noexcept {
        EntryRep* r = rep_;
        rep_ = nullptr;
        return r;
    }
    static Entry Adopt(EntryRep* rep) noexcept {
        Entry e;
        e.rep_ = rep;
        return e;
    }
    static Entry Share(EntryRep* rep) noexcept {
        Retain(rep);
        return Adopt(rep);
    }
    static void Retain(EntryRep* rep) noexcept {
        if (rep) ++rep->refs;
    }
    static void Release(EntryRep* rep) noexcept;

  private:
    friend class EntryArena;
    /// The entry of `rep`, filled with the parts one after another; `rep`
    /// has room for exactly that.
    static Entry Fill(EntryRep* rep, std::initializer_list<std::string_view> parts) noexcept;

    EntryRep* rep_ = nullptr;
};

}  // namespace tw

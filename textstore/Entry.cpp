#include "textstore/Entry.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "textstore/EntryArena.h"

namespace tw {

namespace {

EntryRep* NewRep(size_t size) {
    if (size > 0x7FFFFFF0u) throw std::length_error("entry too long");
    auto* rep = static_cast<EntryRep*>(std::malloc(sizeof(EntryRep) + size));
    if (!rep) throw std::bad_alloc();
    rep->refs = 1;
    rep->size = static_cast<uint32_t>(size);
    return rep;
}

}  // namespace

Entry::Entry(std::string_view bytes) {
    if (bytes.empty()) return;
    rep_ = NewRep(bytes.size());
    std::memcpy(rep_->bytes(), bytes.data(), bytes.size());
}

size_t Entry::JoinedSize(std::initializer_list<std::string_view> parts) noexcept {
    size_t total = 0;
    for (auto p : parts)
        total += p.size();
    return total;
}

Entry Entry::Fill(EntryRep* rep, std::initializer_list<std::string_view> parts) noexcept {
    char* out = rep->bytes();
    for (auto p : parts) {
        if (!p.empty()) std::memcpy(out, p.data(), p.size());
        out += p.size();
    }
    return Adopt(rep);
}

Entry Entry::Join(std::initializer_list<std::string_view> parts) {
    const size_t total = JoinedSize(parts);
    if (total == 0) return {};
    return Fill(NewRep(total), parts);
}

Entry& Entry::operator=(const Entry& other) noexcept {
    Retain(other.rep_);
    Release(rep_);
    rep_ = other.rep_;
    return *this;
}

Entry& Entry::operator=(Entry&& other) noexcept {
    if (this != &other) {
        Release(rep_);
        rep_ = other.rep_;
        other.rep_ = nullptr;
    }
    return *this;
}

uint32_t Entry::UseCount() const noexcept {
    return rep_ ? (rep_->refs & ~entry_detail::kArenaFlag) : 0;
}

void Entry::Release(EntryRep* rep) noexcept {
    if (!rep) return;
    --rep->refs;
    if ((rep->refs & ~entry_detail::kArenaFlag) != 0) return;
    if (rep->refs & entry_detail::kArenaFlag)
        entry_detail::ReleaseArenaEntry(rep);
    else
        std::free(rep);
}

}  // namespace tw

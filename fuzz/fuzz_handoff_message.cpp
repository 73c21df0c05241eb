// The hand-off message as a second start, or any other local program, sends
// it: fed in pieces of any size it takes every byte until the message ends
// and none after, ends the same way as when fed at once, and a name it
// accepts goes through again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/HandOffMessage.h"
#include "fuzz/FuzzSupport.h"

using namespace tw;
using tw::fuzz::Require;

namespace {

using State = HandOffMessageReader::State;

/// Feeds `bytes` in pieces whose sizes come from `sizes`, as a socket
/// delivers them; returns how many bytes the reader took.
size_t FeedInPieces(HandOffMessageReader& reader, std::string_view bytes, std::string_view sizes) {
    size_t at = 0, taken = 0;
    for (size_t i = 0; at < bytes.size(); ++i) {
        const size_t piece =
            sizes.empty() ? bytes.size() : 1 + static_cast<unsigned char>(sizes[i % sizes.size()]);
        const std::string_view chunk = bytes.substr(at, piece);
        const bool open = reader.Current() == State::kIncomplete;
        const size_t took = reader.Feed(chunk);
        Require(took <= chunk.size(), "took more than it was given");
        Require(open || took == 0, "took bytes after the message ended");
        Require(took == chunk.size() || reader.Current() != State::kIncomplete,
                "left bytes untaken while the message is open");
        taken += took;
        at += chunk.size();
        if (reader.Current() != State::kIncomplete)
            Require(reader.Wanted() == 0, "still wants bytes once finished");
    }
    return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte says how many of the next bytes give the piece sizes.
    if (size == 0) return 0;
    const std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(data[0] % 16, all.size());
    const std::string_view sizes = all.substr(0, split), message = all.substr(split);

    HandOffMessageReader whole, pieces;
    const size_t tookWhole = FeedInPieces(whole, message, {});
    const size_t tookPieces = FeedInPieces(pieces, message, sizes);
    Require(tookWhole == tookPieces, "pieces change how much is taken");
    Require(whole.Current() == pieces.Current(), "pieces change the outcome");
    if (whole.Current() != State::kComplete) return 0;

    const std::string& name = whole.FileName();
    Require(name == pieces.FileName(), "pieces change the name");
    Require(!name.empty() && name.find('\0') == std::string::npos,
            "an accepted name is empty or holds NUL");
    Require(name.size() < kMaxHandOffData, "an accepted name is too long");

    HandOffMessageReader again;
    const std::string encoded = EncodeHandOffMessage(name);
    Require(again.Feed(encoded) == encoded.size(),
            "a message the program sends is not taken whole");
    Require(again.Current() == State::kComplete && again.FileName() == name,
            "a message the program sends reads otherwise");
    return 0;
}

// "Clip.dat" as a start finds it: at most 30 entries, and what is saved of
// them reads back as the same entries without a read error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "settings/SettingsStore.h"

using namespace tw;
using tw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string folder = fuzz::ScratchFolder();
    const std::string path = fuzz::ScratchPath(kClipFileName);
    fuzz::WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));

    const ClipHistory first = LoadClipHistory(folder);
    Require(first.ClipItems.size() <= kClipHistoryMax, "more entries than the history keeps");
    Require(first.ClipCount == static_cast<int32_t>(first.ClipItems.size()), "entry count");
    if (!first.ReadFailed)
        Require(FormatClipHistory(first.ClipItems, first.ClipCount) ==
                    std::string_view(reinterpret_cast<const char*>(data), size),
                "a file read as sound is no file the program writes");

    SaveClipHistory(folder, first.ClipItems, first.ClipCount);
    const ClipHistory second = LoadClipHistory(folder);
    Require(!second.ReadFailed, "a saved history is reported unreadable");
    Require(second.ClipItems == first.ClipItems, "a saved history reads back otherwise");
    return 0;
}

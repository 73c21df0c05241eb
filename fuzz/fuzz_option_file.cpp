// "Option.dat" as a start finds it, whatever it holds: the record read is
// written whole, what is written reads back as sound and unchanged, and a
// second save changes nothing more.
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
    const std::string path = fuzz::ScratchPath(kOptionFileName);
    fuzz::WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));

    const OptionFile first = LoadOptionFile(folder);
    if (size == kOptionDataSize && !first.ReadFailed)
        Require(OptionData::FromBytes(
                    std::string_view(reinterpret_cast<const char*>(data), size)) == first.Data,
                "a whole record read otherwise than FromBytes reads it");
    const std::string image = first.Data.ToBytes();
    Require(image.size() == kOptionDataSize, "the record's image has the wrong size");
    Require(IsPlausibleOptionImage(image), "the program's own record looks implausible");

    SaveOptionData(folder, first.Data);
    Require(fuzz::ReadBytes(path) == image, "the file holds other bytes than the image");
    const OptionFile second = LoadOptionFile(folder);
    Require(!second.ReadFailed, "a saved record is reported unreadable");

    // Saving may shorten an over-long string once; after that it is stable.
    Require(second.Data.ToBytes() == image, "a saved record reads back otherwise");
    return 0;
}

// "KeyBrd.ini" as a start finds it: the 37 file keys read from any text are
// written back beside the file's other lines and read back the same; a sound
// file stays sound once rewritten.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "settings/KeyTexts.h"

using namespace tw;
using tw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string folder = fuzz::ScratchFolder();
    const std::string path = fuzz::ScratchPath(kKeyFileName);
    const std::string_view ini(reinterpret_cast<const char*>(data), size);
    fuzz::WriteBytes(path, ini);

    bool firstFailed = false;
    const KeyTexts first = LoadKeyTexts(folder, &firstFailed);
    Require(first == KeyTextsFromIni(ini), "the file reads otherwise than its text");

    SaveKeyTexts(folder, first);
    bool secondFailed = false;
    const KeyTexts second = LoadKeyTexts(folder, &secondFailed);
    Require(second == first, "saved keys read back otherwise");
    if (!firstFailed) Require(!secondFailed, "a sound file turned unsound once saved");

    // Written into an empty file, the keys alone read back the same too.
    Require(KeyTextsFromIni(KeyTextsToIni(first, {})) == first, "keys alone read back otherwise");
    return 0;
}

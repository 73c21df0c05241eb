// Colour-scheme files as "読み込み" finds them: whatever the text, the eight
// colours read from it are written back beside its other lines and read back
// the same, and the file as saved reads as the text it was written from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "settings/ColorSchemeFile.h"

using namespace tw;
using tw::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view ini(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchPath("scheme.ini");
    fuzz::WriteBytes(path, ini);

    const EditorColors first = LoadColorScheme(path);
    Require(first == ColorSchemeFromIni(ini), "the file reads otherwise than its text");

    const std::string saved = SaveColorScheme(fuzz::ScratchPath("scheme"), first);
    Require(saved == path, "the scheme went under another name");
    Require(LoadColorScheme(saved) == first, "saved colours read back otherwise");
    Require(ColorSchemeFromIni(ColorSchemeToIni(first, {})) == first,
            "colours alone read back otherwise");
    return 0;
}

// The line store's own file reading in its three line-break modes: the rows
// keep the store's shape, saving writes exactly the text, and a file already
// in the store's form (CR LF breaks only, no NUL, no Ctrl+Z) reads as itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "textstore/LineStore.h"
#include "textstore/ShiftJis.h"

using namespace tw;
using tw::fuzz::Require;

namespace {

bool IsStoreForm(std::string_view s) {
    if (s.find('\0') != std::string_view::npos || s.find('\x1a') != std::string_view::npos)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return true;
}

void CheckRows(const TVellStrings& rows) {
    Require(rows.Count() > 0, "no rows after loading a file");
    for (int32_t i = 0; i + 1 < rows.Count(); ++i)
        Require(rows.View(i).ends_with(kCrLf), "a row before the last without CR LF");
    Require(rows.View(rows.Count() - 1).ends_with(kEndMarker), "last row without the end marker");
    Require(rows.Capacity() == rows.Count(), "capacity not trimmed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchPath("store.txt");
    const std::string saved = fuzz::ScratchPath("store-saved.txt");
    fuzz::WriteBytes(path, bytes);

    TVellStrings rows;
    rows.Add(Entry(std::string_view("kept\0\0", 6)));
    rows.LoadFromFile(path);
    if (bytes.empty()) {
        Require(rows.Count() == 1 && rows.View(0) == std::string_view("kept\0\0", 6),
                "an empty file changed the store");
        return 0;
    }
    CheckRows(rows);
    const std::string text = rows.GetText();
    if (IsStoreForm(bytes)) Require(text == bytes, "a file in the store's form read otherwise");

    rows.SaveToFile(saved);
    Require(fuzz::ReadBytes(saved) == text, "saving wrote other bytes than the text");

    // The text handed back in the store's form splits into the same rows.
    if (IsStoreForm(text)) {
        TVellStrings again;
        again.SetText(text + std::string(kEndMarker));
        Require(again.Count() == rows.Count(), "the text splits into other rows");
        for (int32_t i = 0; i < rows.Count(); ++i)
            Require(again.View(i) == rows.View(i), "the text splits into other rows");
    }
    return 0;
}

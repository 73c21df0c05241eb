// Opening a file as a document: whatever the bytes, the text is made of whole
// CR LF lines with no NUL, lone CR, lone LF or Ctrl+Z left, reads back the
// same once saved, and does not depend on where the reading blocks fall.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "textstore/LoadTextFile.h"

using namespace tw;
using tw::fuzz::Require;

namespace {

/// The reader's block: a line break split across two blocks is its hard case.
constexpr size_t kBlock = 8192;

size_t CountCrLf(std::string_view s) {
    size_t n = 0;
    for (size_t at = s.find("\r\n"); at != std::string_view::npos; at = s.find("\r\n", at + 2))
        ++n;
    return n;
}

void CheckShape(const DocumentText& doc) {
    const std::string_view text = doc.View();
    Require(text.empty() || text.ends_with("\r\n"), "last line without its break");
    Require(text.find('\0') == std::string_view::npos, "NUL in the text");
    Require(text.find('\x1a') == std::string_view::npos, "Ctrl+Z in the text");
    const size_t pairs = CountCrLf(text);
    size_t cr = 0, lf = 0;
    for (char c : text) {
        cr += c == '\r';
        lf += c == '\n';
    }
    Require(cr == pairs && lf == pairs, "a lone CR or LF in the text");
    Require(doc.Lines() == static_cast<int64_t>(pairs), "line count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string path = fuzz::ScratchPath("document.txt");
    // The first byte places the block boundary that many bytes into the rest,
    // behind a first line of filler.
    const size_t shift = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    fuzz::WriteBytes(path, bytes);
    const DocumentText doc = DocumentText::Load(path);
    CheckShape(doc);
    const std::string text(doc.View());
    Require(LoadTextFile(path).text == text, "the two ways of loading differ");

    // What a save writes loads back unchanged.
    fuzz::WriteBytes(path, text);
    Require(DocumentText::Load(path).View() == text, "saved text reads back otherwise");

    // A complete first line changes nothing of what follows it.
    const std::string filler = std::string(kBlock - 2 - shift, 'a') + "\r\n";
    fuzz::WriteBytes(path, filler + std::string(bytes));
    const DocumentText shifted = DocumentText::Load(path);
    CheckShape(shifted);
    Require(shifted.View() == filler + text, "the text depends on the block boundaries");
    return 0;
}

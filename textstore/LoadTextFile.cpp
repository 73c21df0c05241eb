#include "textstore/LoadTextFile.h"

#include <algorithm>

#include "textstore/DocumentReader.h"

namespace tw {

DocumentText DocumentText::Load(const std::string& fileName) {
    DocumentReader reader(fileName);
    DocumentText t;
    t.text_.reserve(static_cast<size_t>(std::max<int64_t>(reader.Size(), 0)) + 2);
    for (std::string_view piece; !(piece = reader.Next()).empty();)
        t.text_.append(piece);
    // Every line ends with CR LF, and no other LF is left.
    t.lines_ = std::count(t.text_.begin(), t.text_.end(), '\n');
    return t;
}

LoadedText LoadTextFile(const std::string& fileName) {
    DocumentText t = DocumentText::Load(fileName);
    return LoadedText{std::string(t.View()), t.Lines()};
}

}  // namespace tw

// The comma-separated form of the line store: any text parses, items never
// hold what ends them, and the form written reads back as the same items
// (but for an empty last item, which the form cannot show).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "textstore/LineStore.h"

using namespace tw;
using tw::fuzz::Require;

namespace {

std::vector<std::string> Items(const TVellStrings& rows) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < rows.Count(); ++i)
        out.emplace_back(rows.View(i));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TVellStrings rows;
    rows.Add(Entry("old"));
    rows.SetCommaText(text);
    std::vector<std::string> items = Items(rows);
    Require(items.size() <= size, "more items than bytes");
    for (const std::string& item : items)
        Require(item.find_first_of(std::string_view("\r\0\"", 3)) == std::string::npos,
                "an item holds a byte that ends items");

    const std::string written = rows.GetCommaText();
    TVellStrings back;
    back.SetCommaText(written);
    // A last empty item writes as nothing after the last comma.
    if (!items.empty() && items.back().empty()) items.pop_back();
    Require(Items(back) == items, "the written form reads back as other items");
    return 0;
}

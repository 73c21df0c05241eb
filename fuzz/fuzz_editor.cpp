// The editor engine driven by the bytes of an input: the random editing
// model of the unit tests (edits, editing and caret keys through the key
// table, undo, redo, wrap and column changes, searches) takes each of its
// choices from the next input byte instead of a generator, and checks the
// text against a plain string after every step.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "fuzz/FuzzSupport.h"
#include "headless/EditorModel.h"

namespace {

/// Each choice reads one byte (two for more than 256 ways); at the end of
/// the input every choice is 0 and the run stops after the step under way.
class ByteChoices : public tw::test::ModelChoices {
  public:
    ByteChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    int Pick(int n) override {
        if (n <= 1) return 0;
        unsigned value = Next();
        if (n > 256) value = value << 8 | Next();
        return static_cast<int>(value % static_cast<unsigned>(n));
    }
    bool Exhausted() const override { return at_ >= size_; }

  private:
    unsigned Next() { return at_ < size_ ? data_[at_++] : 0; }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteChoices choices(data, size);
    tw::test::EditorModel model(choices);
    try {
        model.Run(1 << 20);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        tw::fuzz::Fail("the editor differs from the model");
    }
    return 0;
}

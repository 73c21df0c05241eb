// Random editing against a plain string: 100,000 steps with a fixed seed.
// TW_MODEL_SEED and TW_MODEL_STEPS change the run; bench/EditorSoak runs the
// same model for millions of steps.
#include <gtest/gtest.h>

#include <cstdlib>

#include "headless/EditorModel.h"

namespace {

int64_t FromEnvironment(const char* name, int64_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoll(value, nullptr, 10) : fallback;
}

}  // namespace

TEST(VellEditModel, RandomEditsMatchAPlainString) {
    const auto seed = static_cast<uint64_t>(FromEnvironment("TW_MODEL_SEED", 20240611));
    const int64_t steps = FromEnvironment("TW_MODEL_STEPS", 100000);
    tw::test::EditorModel model(seed);
    try {
        model.Run(steps);
    } catch (const std::exception& e) {
        FAIL() << e.what() << "; seed " << seed << " (repeat with TW_MODEL_SEED=" << seed << ")";
    }
}

// The random editing model of the unit tests, run for as long as asked:
//   tw_editor_soak [SEED [STEPS]]   (default: a seed from the clock, 5,000,000 steps)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "headless/EditorModel.h"

int main(int argc, char** argv) {
    const uint64_t seed =
        argc > 1
            ? std::strtoull(argv[1], nullptr, 10)
            : static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const long long steps = argc > 2 ? std::atoll(argv[2]) : 5000000;
    std::printf("seed %llu, %lld steps\n", static_cast<unsigned long long>(seed), steps);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    tw::test::EditorModel model(seed);
    try {
        model.Run(steps);
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\nseed %llu\n", e.what(), static_cast<unsigned long long>(seed));
        return 1;
    }
    const double s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("ok: %lld steps in %.1f s\n", steps, s);
    return 0;
}

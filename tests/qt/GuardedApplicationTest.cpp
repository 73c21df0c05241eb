// An exception escaping an event handler is reported and the program goes on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/GuardedApplication.h"

using namespace tw;

TEST(GuardedApplication, AFailureInAnEventIsReportedAndTheEventCountsAsHandled) {
    std::vector<std::string> reported;
    const FailureReport report = [&](const std::string& what) { reported.push_back(what); };

    EXPECT_FALSE(DeliverReportingFailures([] { return false; }, report));
    EXPECT_TRUE(reported.empty());

    EXPECT_TRUE(DeliverReportingFailures(
        []() -> bool { throw std::runtime_error("Option.dat を書き込めません"); }, report));
    EXPECT_TRUE(DeliverReportingFailures([]() -> bool { throw 42; }, report));
    EXPECT_EQ(reported, (std::vector<std::string>{"Option.dat を書き込めません", "unknown error"}));
}

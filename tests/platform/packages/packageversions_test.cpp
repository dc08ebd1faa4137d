// Debian's order of versions, and what apt's answer says of Kivo's package.
#include "platform/packages/debianversion.h"
#include "platform/packages/packageversions.h"

#include <gtest/gtest.h>

namespace kivo::platform {
namespace {

TEST(DebianVersions, OrderAsDpkgDoes) {
    // Each row: lower, higher (dpkg --compare-versions agrees).
    const std::pair<const char*, const char*> ordered[] = {
        {"0.1", "0.2"},           {"0.9", "0.10"},        {"1.0", "1.0.1"},     {"1.0~rc1", "1.0"},
        {"1.0~rc1", "1.0~rc2"},   {"1.0~~", "1.0~"},      {"1.0", "1.0a"},      {"1.0a", "1.0+b1"},
        {"1.0-1", "1.0-2"},       {"1.0-9", "1.0-10"},    {"1.0", "1.0-1"},     {"1.0-1~deb12u1", "1.0-1"},
        {"1.0~deb12", "1.0~deb13"}, {"9.9", "1:0.1"},     {"1:2.0", "2:1.0"},   {"1.0-1", "1.0.1-1"},
        {"2.0", "10.0"},          {"1.01", "1.2"},
    };
    for (const auto& [lower, higher] : ordered) {
        EXPECT_LT(CompareDebianVersions(lower, higher), 0) << lower << " < " << higher;
        EXPECT_GT(CompareDebianVersions(higher, lower), 0) << higher << " > " << lower;
    }
    for (const char* same : {"1.0", "1:1.0-1", "0.1~rc1+b2"}) {
        EXPECT_EQ(CompareDebianVersions(same, same), 0) << same;
    }
    EXPECT_EQ(CompareDebianVersions("1.0", "1.00"), 0) << "leading zeros do not count";
    EXPECT_EQ(CompareDebianVersions("0:1.0", "1.0"), 0) << "no epoch is epoch 0";
}

TEST(PackageVersions, ReadFromAptsPolicy) {
    const std::string upgradable = "kivo:\n  Installed: 0.1\n  Candidate: 0.2\n  Version table:\n"
                                   "     0.2 500\n        500 http://apt.example/kivo stable/main amd64 Packages\n"
                                   " *** 0.1 100\n        100 /var/lib/dpkg/status\n";
    auto versions = PackageVersions::FromPolicy(upgradable);
    EXPECT_EQ(versions.installed, "0.1");
    EXPECT_EQ(versions.available, "0.2");

    versions = PackageVersions::FromPolicy("kivo:\n  Installed: 0.2\n  Candidate: 0.2\n  Version table:\n");
    EXPECT_EQ(versions.installed, "0.2");
    EXPECT_EQ(versions.available, "") << "the installed one is the newest";

    versions = PackageVersions::FromPolicy("kivo:\n  Installed: 0.3~dev\n  Candidate: 0.2\n");
    EXPECT_EQ(versions.available, "") << "a source's older version is no update";

    versions = PackageVersions::FromPolicy("kivo:\n  Installed: (none)\n  Candidate: (none)\n  Version table:\n");
    EXPECT_EQ(versions.installed, "");
    EXPECT_EQ(versions.available, "");
    EXPECT_EQ(PackageVersions::FromPolicy(""), PackageVersions{}) << "apt does not know the package";
}

} // namespace
} // namespace kivo::platform

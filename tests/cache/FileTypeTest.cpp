// The routing table's edges: every ending and its letter case are the listing's and the run's tests.
#include <gtest/gtest.h>

#include "cache/FileType.h"

TEST(FileType, RoutesOnlyTheVeryEndingAlsoOfNamesShorterThanFour) {
    const std::pair<const char*, FileType> cases[] = {
        {"a.u", FileType::System}, {"u", FileType::Other}, {".ut2", FileType::Maps},
        {"Map.ut2.bak", FileType::Other}, {"Rock.utx ", FileType::Other},  // only the very end; no trim
    };
    for (const auto& [name, type] : cases) EXPECT_EQ(ClassifyFileName(name), type) << "name \"" << name << "\"";
}

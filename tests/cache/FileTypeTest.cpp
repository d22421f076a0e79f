// The routing table: which ending gives which type and destination sub-folder.
#include <gtest/gtest.h>

#include "cache/FileType.h"

TEST(FileType, RoutesEachEndingExactly) {
    using T = FileType;
    const std::pair<const char*, FileType> cases[] = {
        {"DM-Rankin.ut2", T::Maps}, {"DM-Rankin.UT2", T::Other}, {"Foo.U", T::Other},  // letter case counts
        {"XGame.u", T::System}, {"XGame.int", T::System}, {"a.u", T::System}, {".ut2", T::Maps},  // shorter than four
        {"u", T::Other}, {"Theme.ogg", T::Music}, {"Theme.umx", T::Music}, {"Rock.utx", T::Textures},
        {"Boom.uax", T::Sounds}, {"Crane.usx", T::StaticMeshes}, {"Game.uvx", T::Saves}, {"Rig.ukx", T::Animations},
        {"Setup.u2", T::Other}, {"Map.ut2.bak", T::Other}, {"Rock.utx ", T::Other},  // only the very end; no trim
    };
    for (const auto& [name, type] : cases) EXPECT_EQ(ClassifyFileName(name), type) << "name \"" << name << "\"";
}

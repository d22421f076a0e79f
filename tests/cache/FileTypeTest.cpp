// The routing table: which ending gives which type and destination sub-folder.
#include <gtest/gtest.h>

#include "cache/FileType.h"

TEST(FileType, RoutesEachEndingExactly) {
    using T = FileType;
    const std::pair<const char*, FileType> cases[] = {
        {"DM-Rankin.ut2", T::Maps}, {"DM-Rankin.UT2", T::Other}, {"Foo.U", T::Other},  // letter case counts
        {"XGame.u", T::System}, {"XGame.int", T::System}, {"a.u", T::System},  // shorter than four characters
        {".ut2", T::Maps}, {"u", T::Other}, {"", T::Other}, {"Theme.ogg", T::Music}, {"Theme.umx", T::Music},
        {"Rock.utx", T::Textures}, {"Boom.uax", T::Sounds}, {"Crane.usx", T::StaticMeshes}, {"Game.uvx", T::Saves},
        {"Rig.ukx", T::Animations}, {"Readme.txt", T::Other}, {"Setup.u2", T::Other},
        {"Map.ut2.bak", T::Other}, {"Rock.utx ", T::Other},  // only the very end matters; nothing is trimmed
    };
    for (const auto& [name, type] : cases) EXPECT_EQ(ClassifyFileName(name), type) << "name \"" << name << "\"";
}

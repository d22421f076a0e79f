// The routing table: which ending gives which type and destination sub-folder.
#include <gtest/gtest.h>

#include "cache/FileType.h"

TEST(FileType, RoutesEachEndingExactly) {
    struct Case {
        const char* name;
        FileType type;
    };
    const Case cases[] = {
        {"DM-Rankin.ut2", FileType::Maps},
        {"DM-Rankin.UT2", FileType::Other},     // letter case counts
        {"XGame.u", FileType::System},
        {"XGame.int", FileType::System},
        {"a.u", FileType::System},              // shorter than four characters
        {".ut2", FileType::Maps},               // only the extension
        {"u", FileType::Other},
        {"", FileType::Other},
        {"Theme.ogg", FileType::Music},
        {"Theme.umx", FileType::Music},
        {"Rock.utx", FileType::Textures},
        {"Boom.uax", FileType::Sounds},
        {"Crane.usx", FileType::StaticMeshes},
        {"Game.uvx", FileType::Saves},
        {"Rig.ukx", FileType::Animations},
        {"Readme.txt", FileType::Other},
        {"Pack.zip", FileType::Other},
        {"Setup.u2", FileType::Other},
        {"Map.ut2.bak", FileType::Other},       // only the end matters
        {"Rock.utx ", FileType::Other},         // nothing is trimmed
        {"Foo.U", FileType::Other},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyFileName(c.name), c.type) << "name \"" << c.name << "\"";
}

TEST(FileType, DestinationSubFoldersAreTheGamesOwnNames) {
    EXPECT_EQ(DestinationSubFolder(FileType::System), "\\System\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Maps), "\\Maps\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Textures), "\\Textures\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Sounds), "\\Sounds\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Music), "\\Music\\");
    EXPECT_EQ(DestinationSubFolder(FileType::StaticMeshes), "\\StaticMeshes\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Saves), "\\Saves\\");
    EXPECT_EQ(DestinationSubFolder(FileType::Animations), "\\Animations\\");
}

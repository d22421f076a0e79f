// What the overwrite question says about the two files: the kind of difference, then both sizes and dates.
#include <gtest/gtest.h>

#include <string>

#include "support/FakeFileSystem.h"
#include "support/Fakes.h"
#include "uncache/OverwriteDetails.h"

namespace {

// A package header of file version 119 with GUID byte `guid` and generation count `generation`,
// then `rest` (the package's other bytes).
std::string Package(char guid, char generation, const std::string& rest = "") {
    std::string h("\xC1\x83\x2A\x9E" "w\0\x1B\0", 8);  // signature, versions 119 and 27
    h += std::string(28, '\xEE') + std::string(15, '\x10') + guid + generation + std::string(3, '\0');
    return h + rest;
}

}  // namespace

TEST(OverwriteDetails, SayWhetherTheFileThereIsAnotherVersionTheSameVersionOrAnotherFile) {
    const std::string cached = "C:\\UT\\Cache\\K-1.uxx", there = "C:\\UT\\Maps\\DM-A.ut2";
    const std::tuple<std::string, std::string, const char*> cases[] = {  // cached bytes, bytes there, first line
        {Package('a', 1), Package('b', 1), "Another version of this package."},  // GUIDs differ by one byte
        {Package('a', 1), Package('a', 2), "Another version of this package."},  // saved once more
        {Package('a', 1, "x"), Package('a', 1, "y"), "The same package version, with other bytes."},
        {Package('a', 1), "OggS music", "A different file."},  // no identity on one side
        {"Readme", "Readme, older", "A different file."},
    };
    for (const auto& [mine, theirs, kind] : cases) {
        FakeFileSystem fs;
        fs.AddFile(cached, mine);
        fs.AddFile(there, theirs);
        fs.SetModified(cached, 111);
        fs.SetModified(there, 222);
        FakeSizes sizes;
        FakeDates dates;
        EXPECT_EQ(DescribeOverwrite(fs, sizes, dates, cached, there),
                  std::string(kind) + "\r\nCached: <" + std::to_string(mine.size()) + ">, [111]; there now: <" +
                      std::to_string(theirs.size()) + ">, [222]");
    }
    // A file that cannot be read is described as far as it can be.
    FakeFileSystem fs;
    fs.AddFile(cached, Package('a', 1));
    fs.AddFile(there, Package('b', 1));
    fs.FailOn(FsOp::ReadStart, there, "Locked.");
    fs.FailOn(FsOp::SizeOf, there, "Locked.");
    FakeSizes sizes;
    FakeDates dates;
    EXPECT_EQ(DescribeOverwrite(fs, sizes, dates, cached, there),
              "A different file.\r\nCached: <56>, [0]; there now: ?, ?");
}

// The zip export and the .uz2 compression against the in-memory file system: where each package
// goes, what is left out and why, replacing, and that no failure or cancel leaves part of a file.
// Each entry's flags, method and time, and the .uz2 chunks, are read back from a real disk by
// tools/check_exports.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <tuple>

#include "app/EveryFault.h"
#include "export/Export.h"
#include "support/Archives.h"
#include "support/FakeFileSystem.h"

using namespace std::string_literals;

namespace {

using Named = std::vector<std::pair<std::string, std::string>>;  // real name, bytes

const std::string Game = "C:\\Games\\UT2003", Out = "C:\\Out", Zip = Out + "\\Share.zip";

std::string Key(std::size_t n) { return std::string(31, '0') + static_cast<char>('A' + n); }
std::string CachedPath(std::size_t n) { return Game + "\\Cache\\" + Key(n) + "-1.uxx"; }

// Bytes that deflate well, as a package's names and code do.
std::string Compressible(std::size_t size) {
    std::string bytes;
    for (unsigned n = 0; bytes.size() < size; ++n) bytes += "Engine.Actor" + std::to_string(n % 977) + "\x01\x02";
    return bytes.substr(0, size);
}
// Bytes that do not, as an .ogg file's.
std::string Random(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : bytes) x ^= x << 13, x ^= x >> 17, x ^= x << 5, c = static_cast<char>(x >> 24);
    return bytes;
}

// A game folder whose cache holds the given packages (real name, bytes), an index naming them, and
// an empty folder for the exports.
struct GameCache {
    FakeFileSystem fs;
    std::vector<ExportPackage> packages;
    std::vector<std::string> bytes;
    ExportResult result;
    explicit GameCache(const Named& named) {
        std::string index = "[Cache]\r\n";
        for (const auto& [name, content] : named) {
            packages.push_back({name, Key(packages.size())});
            fs.AddFile(CachedPath(bytes.size()), content);
            bytes.push_back(content);
            index += packages.back().key + "=" + name + "\r\n";
        }
        fs.AddFile(Game + "\\Cache\\cache.ini", index);
        fs.AddFolder(Game + "\\Maps");
        fs.AddFolder(Out);
    }
    // Every file below the game folder; the exports must change none of them.
    std::vector<std::pair<std::string, std::string>> GameFiles() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& file : fs.Files())
            if (file.first.compare(0, Game.size(), Game) == 0) files.push_back(file);
        return files;
    }
    // Every file in the export folder, by name.
    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& file : fs.Files())
            if (file.first.compare(0, Out.size(), Out) == 0) names.push_back(file.first.substr(Out.size() + 1));
        return names;
    }
    ExportResult& Zip(std::string_view other = "Help", ExportCallbacks callbacks = {}) {
        return result = ExportZip(fs, Game, packages, other, ::Zip, callbacks);
    }
    ExportResult& Uz2(ExportCallbacks callbacks = {}) {
        return result = CompressForRedirect(fs, Game, packages, Out, callbacks);
    }
};

// "name=bytes-index" for each entry of the zip, or its error.
std::string Entries(const GameCache& s) {
    const ZipRead zip = ReadZip(s.fs.Bytes(Zip).value_or(""));
    if (!zip.error.empty()) return "<" + zip.error + ">";
    std::string text;
    for (const ZipRead::Item& item : zip.items) {
        std::size_t n = 0;
        while (n < s.bytes.size() && s.bytes[n] != item.bytes) ++n;
        text += item.name + "=" + (n < s.bytes.size() ? std::to_string(n) : "?") + " ";
    }
    return text;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace

TEST(Export, TheZipHoldsEachPackageInItsGameFolderAndLeavesOutNamesThatWouldNotInstallThere) {
    // The folder of every type is read back by check_exports.py; here, what is left out and why.
    GameCache s({
        {"DM-Foo.ut2", "map"}, {"DM-\xD0\x94\xD0\xBE\xD0\xBC.ut2", "cyrillic"},  // UTF-8 names as they are
        {"..\\Foo.u", "climbs"}, {"NUL.utx", "device"}, {"Bad.", "final dot"},
        {"dm-foo.ut2", "another DM-Foo"},  // the same name to Windows
    });
    s.packages.push_back({"Lost.utx", Key(99)});  // no cached file
    s.packages.push_back({"Com.utx", "COM1." + Key(98).substr(5)});  // a key whose cached file would be a device
    const auto before = s.GameFiles();
    s.Zip();

    EXPECT_EQ(Entries(s), "Maps/DM-Foo.ut2=0 Maps/DM-\xD0\x94\xD0\xBE\xD0\xBC.ut2=1 ");
    const std::string noFileName = " is left out: its name in cache.ini is not one that Windows allows for a file (a "
                                   "device name such as NUL or COM1, a name ending in a dot or a blank, or one holding "
                                   "a control character or one of < > \" | ? *).\n";
    EXPECT_EQ(Joined(s.result.skipped),
              "\"..\\Foo.u\" is left out: its name in cache.ini would place it outside your UT2003 folders.\n"
              "\"NUL.utx\"" + noFileName + "\"Bad.\"" + noFileName +
              "\"dm-foo.ut2\" is left out: the zip holds a package of its name already.\n\"Com.utx\"" + noFileName);
    EXPECT_EQ(Joined(s.result.failed), "\"Lost.utx\" is left out: its cached file " + Game + "\\Cache\\" + Key(99) +
                                           "-1.uxx could not be read: File not found.\n");
    EXPECT_EQ(s.result.summary, "Exported 2 packages to " + Zip + "; 5 skipped, 1 failed.");
    EXPECT_EQ(s.result.written, std::vector<std::string>{Zip});
    EXPECT_EQ(s.OutFiles(), std::vector<std::string>{"Share.zip"});
    EXPECT_EQ(s.GameFiles(), before);
}

TEST(Export, FilesOfOtherTypesGoToTheNamedFolderOrAreLeftOutWithTheReason) {
    const std::tuple<const char*, const char*, const char*> cases[] = {  // answer, zip entries, why left out
        // As the un-cache run takes it ("Help" alone is the share command's test).
        {".\\Help/Docs\\\\", "Help/Docs/Readme.txt=1 ", ""},
        {"", "", "no folder was named for files of its type."},
        {"..\\Help", "", "the folder for files of its type, \"..\\Help\", is not inside your UT2003 folder."},
        {"He?p", "", "the folder for files of its type, \"He?p\", is not a folder name that Windows allows."},
        {"cache\\x", "", "the folder for files of its type, \"cache\\x\", is in your UT2003 cache folder."},
    };
    for (const auto& [answer, entries, why] : cases) {
        SCOPED_TRACE(answer);
        GameCache s({{"DM-A.ut2", "map"}, {"Readme.txt", "text"}});
        EXPECT_TRUE(HasOtherTypes(s.packages));
        EXPECT_FALSE(HasOtherTypes({s.packages[0]})) << "the player is asked for no folder";
        s.Zip(answer);
        EXPECT_EQ(Entries(s), "Maps/DM-A.ut2=0 " + std::string(entries)) << "a typed file goes in all the same";
        EXPECT_EQ(Joined(s.result.skipped), *why ? "\"Readme.txt\" is left out: " + std::string(why) + "\n" : "");
    }
}

TEST(Export, PackagesAreReadAndWrittenInPiecesAndThoseThatDoNotDeflateAreStoredAsTheyAre) {
    // Larger than the pieces and the output buffer, so that a stored entry follows a header already
    // written, and a deflate that does not pay is cut from the file again.
    GameCache s({{"DM-Big.ut2", Compressible(3 << 20)}, {"Noise.ogg", Random(1300000)}, {"After.utx", "after"}});
    s.Zip();
    EXPECT_EQ(Entries(s), "Maps/DM-Big.ut2=0 Music/Noise.ogg=1 Textures/After.utx=2 ");
    EXPECT_LE(s.fs.largestRead, 256u * 1024) << "a package is never read whole";
    EXPECT_LE(s.fs.largestWrite, 1u << 20) << "the archive is written in pieces";
    EXPECT_LT(s.fs.Bytes(Zip)->size(), 1300000u + (3u << 20) / 4);
    EXPECT_EQ(s.fs.OpenFiles(), 0u);

    s.Uz2();
    EXPECT_LE(s.fs.largestRead, 256u * 1024);
    EXPECT_EQ(s.OutFiles(), (std::vector<std::string>{"After.utx.uz2", "DM-Big.ut2.uz2", "Noise.ogg.uz2", "Share.zip"}));
    EXPECT_EQ(Joined(s.result.notSmaller),
              Out + "\\Noise.ogg.uz2 is not smaller than its package (" +
                  std::to_string(s.fs.Bytes(Out + "\\Noise.ogg.uz2")->size()) + " bytes against 1300000).\n" + Out +
                  "\\After.utx.uz2 is not smaller than its package (21 bytes against 5).\n");
    EXPECT_EQ(s.result.summary, "Compressed 3 packages into " + Out + "; 2 not smaller.");
}

TEST(Export, APackageThatChangesWhileItIsReadIsLeftOutAndTheRestIsWritten) {
    for (const bool uz2 : {false, true}) {
        SCOPED_TRACE(uz2 ? ".uz2" : "zip");
        GameCache s({{"A.utx", "first"}, {"DM-Growing.ut2", Compressible(600000)}, {"C.utx", "last"}});
        ExportCallbacks callbacks;
        callbacks.progress = [&](const ExportProgress& p) {  // the game downloads into it meanwhile
            if (p.bytesDone > 5 && p.bytesDone < 600005) s.fs.AddFile(CachedPath(1), Compressible(700000));
            return true;
        };
        uz2 ? s.Uz2(callbacks) : s.Zip("Help", callbacks);
        EXPECT_EQ(Joined(s.result.failed), "\"DM-Growing.ut2\" is left out: its cached file " + CachedPath(1) +
                                               " could not be read: It changed while it was read (600000 bytes "
                                               "were expected).\n");
        if (uz2) {
            EXPECT_EQ(s.OutFiles(), (std::vector<std::string>{"A.utx.uz2", "C.utx.uz2"}));
        } else {
            EXPECT_EQ(Entries(s), "Textures/A.utx=0 Textures/C.utx=2 ");
        }
    }
}

TEST(Export, ATargetThereIsReplacedOnlyWithThePlayersYes) {
    // Whether the callback is set and what it answers; whether the target is replaced.
    const std::tuple<bool, bool, bool> cases[] = {{false, false, false}, {true, false, false}, {true, true, true}};
    for (const auto& [asks, yes, replaced] : cases) {
        for (const bool uz2 : {false, true}) {
            SCOPED_TRACE(std::string(uz2 ? ".uz2" : "zip") + (asks ? yes ? ", Yes" : ", No" : ", no question"));
            GameCache s(Named{{"DM-A.ut2", "map"}});
            const std::string target = uz2 ? Out + "\\DM-A.ut2.uz2" : Zip;
            s.fs.AddFile(target, "the player's own");
            s.fs.AddFile(target + ".part", "someone else's");  // not ours to remove: another name is taken
            std::vector<std::string> asked;
            ExportCallbacks callbacks;
            const bool answer = yes;
            if (asks) callbacks.mayReplace = [&](const std::string& t) { return asked.push_back(t), answer; };
            uz2 ? s.Uz2(callbacks) : s.Zip("Help", callbacks);
            EXPECT_EQ(asked, asks ? std::vector<std::string>{target} : std::vector<std::string>{});
            EXPECT_EQ(s.fs.Bytes(target) == "the player's own", !replaced);
            EXPECT_EQ(s.fs.Bytes(target + ".part"), "someone else's");
            EXPECT_FALSE(s.fs.Has(target + ".part2"));
            EXPECT_EQ(Joined(s.result.skipped), replaced ? "" : target + " is there already and was kept.\n");
            EXPECT_EQ(s.result.written, replaced ? std::vector<std::string>{target} : std::vector<std::string>{});
        }
    }
}

TEST(Export, NothingIsWrittenIntoTheCacheFolder) {
    for (const std::string& target : {Game + "\\Cache\\cache.ini", "c:/games/UT2003//CACHE/Share.zip"s, Game + "\\Cache"}) {
        SCOPED_TRACE(target);
        GameCache s({{"DM-A.ut2", "map"}, {"B.utx", "textures"}});
        const auto before = s.GameFiles();
        EXPECT_EQ(ExportZip(s.fs, Game, s.packages, "Help", target, {}).failed,
                  std::vector<std::string>{target + " is in your UT2003 cache folder, where Morvane writes nothing."});
        EXPECT_EQ(CompressForRedirect(s.fs, Game, s.packages, target, {}).written, std::vector<std::string>{});
        EXPECT_EQ(s.GameFiles(), before);
    }
    GameCache s({{"DM-A.ut2", "map"}, {"B.utx", "textures"}});  // a folder of another name beside it is fine
    EXPECT_EQ(ExportZip(s.fs, Game, s.packages, "Help", Game + "\\Cached.zip", {}).written.size(), 1u);
}

// Shared by the failure and the cancel tests: a small package, one that deflate does not make
// smaller, and another small one. For a zip, the second is larger than the output buffer, so that
// it is cut from the file and its header completed there; a .uz2 file has no such steps.
const Named& Three(bool zip) {
    static const Named zipped = {{"A.utx", "aaaa"}, {"Noise.ogg", Random(1100000)}, {"C.u", Compressible(3000)}},
                       uz2 = {{"A.utx", "aaaa"}, {"Noise.ogg", Random(300000)}, {"C.u", Compressible(3000)}};
    return zip ? zipped : uz2;
}

TEST(Export, AFailedFileOperationAtAnyStepLeavesNoPartOfAFileAndIsReported) {
    // Whether it is .uz2, and whether every later call alike fails too: that matters where a file is
    // read again, as a zip entry that is stored.
    const std::pair<bool, bool> runs[] = {{false, false}, {false, true}, {true, false}};
    for (const auto& run : runs) {
        const bool uz2 = run.first, alike = run.second;
        SCOPED_TRACE(std::string(uz2 ? ".uz2" : "zip") + (alike ? ", every later call alike fails too" : ""));
        const auto make = [&] { return std::make_unique<GameCache>(Three(!uz2)); };
        const auto act = [&](GameCache& s) { uz2 ? s.Uz2() : s.Zip(); };
        every_fault::ForEachFault(make, act, [&](GameCache& s, const GameCache& clean, std::size_t) {
            EXPECT_EQ(s.GameFiles(), clean.GameFiles()) << "the cache and the index stay as they were";
            EXPECT_EQ(s.fs.OpenFiles(), 0u);
            const std::string failed = Joined(s.result.failed);
            std::set<std::string> written;
            for (const std::string& name : s.OutFiles()) {
                EXPECT_EQ(name.find(".part"), std::string::npos) << name << " is left behind";
                written.insert(name);
            }
            EXPECT_EQ(s.result.written.size(), written.size());
            if (!uz2) {
                if (written.empty()) {
                    EXPECT_NE(failed.find(Zip + " was not written: Injected failure."), std::string::npos) << failed;
                    return;
                }
                // A complete zip, without the packages reported as left out only.
                std::string entries;
                const char* const names[] = {"Textures/A.utx", "Music/Noise.ogg", "System/C.u"};
                for (std::size_t n = 0; n < 3; ++n)
                    if (failed.find(s.packages[n].realName) == std::string::npos)
                        entries += names[n] + ("=" + std::to_string(n)) + " ";
                EXPECT_EQ(Entries(s), entries);
                return;
            }
            for (std::size_t n = 0; n < 3; ++n) {
                const std::string name = s.packages[n].realName + ".uz2";
                if (written.count(name) == 0) {
                    EXPECT_NE(failed.find(s.packages[n].realName), std::string::npos) << name << " unreported";
                    continue;
                }
                const Uz2Read read = ReadUz2(*s.fs.Bytes(Out + "\\" + name));
                EXPECT_TRUE(read.error.empty() && read.bytes == s.bytes[n]) << name << " is not whole";
            }
        }, alike);
    }
    // An unfinished file that cannot be removed is reported by name.
    GameCache s(Three(true));
    s.fs.FailOn(FsOp::Write, Zip + ".part", "There is not enough space on the disk.");
    s.fs.FailOn(FsOp::Remove, Zip + ".part", "Access denied.");
    s.Zip();
    EXPECT_EQ(Joined(s.result.failed), Zip + " was not written: There is not enough space on the disk.\nThe unfinished "
                                             "file " + Zip + ".part could not be removed: Access denied.\n");
    EXPECT_EQ(s.result.summary, Zip + " was not written; 2 failed.");
}

TEST(Export, CancelAtAnyReportLeavesNoPartOfAFile) {
    for (const bool uz2 : {false, true}) {
        // The reports of a run to its end: they rise to the totals.
        GameCache clean(Three(!uz2));
        std::vector<ExportProgress> reports;
        ExportCallbacks callbacks;
        callbacks.progress = [&](const ExportProgress& p) { return reports.push_back(p), true; };
        uz2 ? clean.Uz2(callbacks) : clean.Zip("Help", callbacks);
        ASSERT_GT(reports.size(), 6u);
        for (std::size_t i = 1; i < reports.size(); ++i)
            EXPECT_TRUE(reports[i].bytesDone >= reports[i - 1].bytesDone && reports[i].filesDone >= reports[i - 1].filesDone);
        EXPECT_EQ(reports.front().bytesDone, 0u);
        EXPECT_EQ(reports.back().filesDone, 3u);
        EXPECT_EQ(reports.back().filesChosen, 3u);
        EXPECT_EQ(reports.back().bytesDone, reports.back().bytesTotal);
        EXPECT_EQ(reports.back().bytesTotal, (uz2 ? 300000u : 1100000u) + 3000 + 4);

        for (std::size_t cancelAt = 0; cancelAt < reports.size(); ++cancelAt) {
            SCOPED_TRACE(std::string(uz2 ? ".uz2" : "zip") + ", cancelled at report " + std::to_string(cancelAt));
            GameCache s(Three(!uz2));
            std::size_t calls = 0;
            callbacks.progress = [&](const ExportProgress&) { return calls++ != cancelAt; };
            uz2 ? s.Uz2(callbacks) : s.Zip("Help", callbacks);
            EXPECT_TRUE(s.result.cancelled);
            EXPECT_EQ(calls, cancelAt + 1) << "nothing more is done after a cancel";
            // Only the .uz2 files finished before the cancel are there, each whole.
            std::vector<std::string> finished;
            for (std::size_t n = 0; uz2 && n < 3; ++n)
                if (reports[cancelAt].filesDone > n) finished.push_back(s.packages[n].realName + ".uz2");
            std::sort(finished.begin(), finished.end());
            EXPECT_EQ(s.OutFiles(), finished);
            EXPECT_EQ(s.fs.OpenFiles(), 0u);
        }
    }
}

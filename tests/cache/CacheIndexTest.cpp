// The cache index: both readings, both rewrites, their atomic replacement, and hostile input.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "cache/CacheIndex.h"
#include "platform/Failure.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

namespace {

FakeCodePage Cp;
const std::string Game = "C:\\Games\\UT2003", Index = Game + "\\Cache\\cache.ini";
const std::string Temp = Game + "\\Cache\\cache-new.ini";

// 32 characters; keys that differ only in their last character.
std::string K(char c) { return "0123456789abcdef0123456789abcde" + std::string(1, c); }

std::string Join(const std::vector<std::string>& lines, const std::string& end, bool lastEnd = true) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnd ? end : "");
    return text;
}

const std::vector<std::string> Mixed = {
    "[Cache]",
    K('1') + "=DM-Rankin.ut2",
    "   " + K('2') + "=Rock.utx   ",  // surrounding spaces
    K('3') + "XAB",                  // 35 characters, the 33rd is not "="
    K('4') + "=a", "  " + K('5') + "=b  ",  // 34 characters, also once trimmed
    "\t" + K('6') + "=Tab.utx",      // a tab is not a blank: it shifts the fixed-width reading by one
    "", "[Other]",                   // another section is not tracked
    K('7') + "=x=y.u",               // a second "="
    "abc=Short.ut2", "=NoKey.uax", " key = name ", "k=",
    K('8') + "=\xC4\xE9\xFF.ut2",   // bytes outside ASCII
    K('1') + "=Dup.ut2",             // the same key again
};

}  // namespace

TEST(CacheIndex, BothReadingsTakeKeysAndNamesExactlyWhateverTheLineEnds) {
    const std::vector<CacheEntry> fixed = {  // by position
        {K('1'), "DM-Rankin.ut2"}, {K('2'), "Rock.utx"}, {K('3'), "AB"}, {"\t" + K('6').substr(0, 31), "=Tab.utx"},
        {K('7'), "x=y.u"}, {K('8'), "\xC4\xE9\xFF.ut2"}, {K('1'), "Dup.ut2"}};
    const std::vector<CacheEntry> split = {  // at the first "="
        {K('1'), "DM-Rankin.ut2"}, {K('2'), "Rock.utx"}, {K('4'), "a"}, {K('5'), "b"}, {"\t" + K('6'), "Tab.utx"},
        {K('7'), "x=y.u"}, {"abc", "Short.ut2"}, {"", "NoKey.uax"}, {"key ", " name"}, {"k", ""},
        {K('8'), "\xC4\xE9\xFF.ut2"}, {K('1'), "Dup.ut2"}};
    for (const std::string& text :
         {Join(Mixed, "\r\n"), Join(Mixed, "\n"), Join(Mixed, "\r\n", false), Join(Mixed, "\n", false)}) {
        EXPECT_EQ(ParseIndexFixed(text, Cp), fixed) << "text:\n" << text;
        EXPECT_EQ(ParseIndexSplit(text, Cp), split) << "text:\n" << text;
    }
}

TEST(CacheIndex, BothRewritesWriteExactBytesInTheIndexsPlace) {
    const std::string upper8 = "0123456789ABCDEF0123456789ABCDE8";
    FakeFileSystem fs;
    fs.AddFile(Index, Join(Mixed, "\n", false));
    // Lines of 35 characters or more stay byte for byte unless their first 32 are a key to drop
    // (in its exact letter case); LF-only lines and the last line get CR LF.
    RewriteIndexFiltered(fs, Cp, Game, {K('1'), K('7'), upper8, "abc"});
    EXPECT_EQ(fs.Bytes(Index), "[Cache]\r\n   " + K('2') + "=Rock.utx   \r\n" + K('3') + "XAB\r\n  " + K('5') +
                                   "=b  \r\n\t" + K('6') + "=Tab.utx\r\n" + K('8') + "=\xC4\xE9\xFF.ut2\r\n");
    RewriteIndexRebuilt(fs, Game, {{K('1'), "A.ut2"}, {"abc", ""}, {K('1'), "A.ut2"}});
    EXPECT_EQ(fs.Bytes(Index), "[Cache]\r\n" + K('1') + "=A.ut2\r\nabc=\r\n" + K('1') + "=A.ut2\r\n");
    RewriteIndexRebuilt(fs, Game, {});
    EXPECT_EQ(fs.Bytes(Index), "[Cache]\r\n");
    EXPECT_FALSE(fs.Has(Temp)) << "temporary index left behind";
}

TEST(CacheIndex, AFailedRewriteLeavesTheOldIndexAsItWas) {
    const std::tuple<FsOp, std::string, bool> cases[] = {  // the failing call, its path, whether the clean-up fails
        {FsOp::ReadAll, Index, false},  // nothing may be written; the rebuilt rewrite reads nothing
        {FsOp::WriteNew, Temp, false},  // the fake leaves half a file, which must go
        {FsOp::Replace, Index, false},  // a complete temporary file must go too
        {FsOp::WriteNew, Temp, true},   // the half file stays, the index is untouched
        {FsOp::Replace, Temp, true},
    };
    const std::string old = "[Cache]\r\n" + K('1') + "=A.ut2\r\n  " + K('2') + "=B.utx \n";
    for (const auto& [op, path, removeFails] : cases) {
        for (bool rebuilt : {false, true}) {
            if (rebuilt && op == FsOp::ReadAll) continue;
            SCOPED_TRACE((rebuilt ? "rebuilt, " : "filtered, ") + path + (removeFails ? ", no clean-up" : ""));
            FakeFileSystem fs;
            fs.AddFile(Index, old);
            fs.FailOn(op, path, "Disk full.");
            if (removeFails) fs.FailOn(FsOp::Remove, Temp, "Sharing violation.");
            try {
                if (rebuilt) RewriteIndexRebuilt(fs, Game, {{K('3'), "C.u"}});
                else RewriteIndexFiltered(fs, Cp, Game, {K('1')});
                ADD_FAILURE() << "no Failure thrown";
            } catch (const Failure& f) {
                EXPECT_STREQ(f.what(), "Disk full.") << "the first failure is the one reported";
            }
            EXPECT_EQ(fs.Bytes(Index), old);
            EXPECT_EQ(fs.Has(Temp), removeFails) << "temporary index present";
            EXPECT_TRUE(op != FsOp::ReadAll || fs.Log().size() == 1u) << "a failed read went on";
        }
    }
}

// Random lines from a small pool of keys, spaces, "=", NUL and high bytes; every result must
// account for every line.
TEST(CacheIndex, FuzzedTextsKeepTheirInvariants) {
    std::mt19937 rng(20030101);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto noise = [&](int most) {
        std::string s;
        for (int n = pick(most + 1); n > 0; --n) s += "ab =.\xE9\xFF"[pick(8)];  // the eighth byte is the NUL
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines;
        for (int n = pick(30); n > 0; --n)  // blanks, maybe a key and "=", noise
            lines.push_back(std::string(static_cast<std::size_t>(pick(3)), ' ') +
                            (pick(3) ? K(static_cast<char>('0' + pick(6))) + (pick(3) ? "=" : "") : "") +
                            noise(pick(2) ? 6 : 50));
        std::unordered_set<std::string> keys;
        for (int n = pick(4); n > 0; --n) keys.insert(K(static_cast<char>('0' + pick(6))));
        const std::string text = Join(lines, pick(2) ? "\r\n" : "\n", pick(2) != 0);
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<CacheEntry> fixed, split;  // what each reading must give, from the lines alone
        std::string kept = "[Cache]";
        for (const std::string& line : lines) {
            const std::size_t b = line.find_first_not_of(' ');
            const std::string trimmed = b == line.npos ? "" : line.substr(b, line.find_last_not_of(' ') + 1 - b);
            if (trimmed.size() >= ShortestEntryLine) fixed.push_back({trimmed.substr(0, 32), trimmed.substr(33)});
            if (const std::size_t eq = trimmed.find('='); eq != std::string::npos)
                split.push_back({trimmed.substr(0, eq), trimmed.substr(eq + 1)});
            if (line.size() >= ShortestEntryLine && keys.count(line.substr(0, KeyLength)) == 0)
                kept += "\r\n" + line;
        }
        ASSERT_EQ(ParseIndexFixed(text, Cp), fixed) << text;
        ASSERT_EQ(ParseIndexSplit(text, Cp), split) << text;
        ASSERT_EQ(FilterIndexText(text, keys, Cp), kept + "\r\n") << text;
    }
}

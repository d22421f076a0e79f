// The cache index: both readings, both rewrites, their atomic replacement, and hostile input.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "cache/CacheIndex.h"
#include "platform/Failure.h"
#include "support/FakeFileSystem.h"

namespace {

const std::string Game = "C:\\Games\\UT2003";
const std::string Index = Game + "\\Cache\\cache.ini";
const std::string Temp = Game + "\\Cache\\cache-new.ini";

// 32 characters; keys that differ only in their last character.
std::string K(char c) { return "0123456789abcdef0123456789abcde" + std::string(1, c); }

std::string Join(const std::vector<std::string>& lines, const std::string& end, bool lastEnd = true) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnd ? end : "");
    return text;
}

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

const std::vector<std::string> Mixed = {
    "[Cache]",
    K('1') + "=DM-Rankin.ut2",
    "   " + K('2') + "=Rock.utx   ",   // surrounding spaces
    K('3') + "XAB",                   // 35 characters, the 33rd is not "="
    K('4') + "=a",                    // 34 characters
    "  " + K('5') + "=b  ",           // 34 once trimmed
    "\t" + K('6') + "=Tab.utx",       // a tab is not a blank
    "",
    "[Other]",                        // another section is not tracked
    K('7') + "=x=y.u",                // a second "="
    "abc=Short.ut2",
    "=NoKey.uax",
    " key = name ",
    "k=",
    K('8') + "=\xC4\xE9\xFF.ut2",    // bytes outside ASCII
    K('1') + "=Dup.ut2",              // the same key again
};

}  // namespace

TEST(CacheIndex, FixedWidthReadingTakesKeyAndNameByPosition) {
    const std::vector<CacheEntry> expected = {
        {K('1'), "DM-Rankin.ut2"}, {K('2'), "Rock.utx"}, {K('3'), "AB"},
        {"\t" + K('6').substr(0, 31), "=Tab.utx"},  // the tab shifts everything by one
        {K('7'), "x=y.u"}, {K('8'), "\xC4\xE9\xFF.ut2"}, {K('1'), "Dup.ut2"},
    };
    EXPECT_EQ(ParseIndexFixed(Join(Mixed, "\r\n")), expected);
}

TEST(CacheIndex, SplitReadingCutsAtTheFirstEqualsSign) {
    const std::vector<CacheEntry> expected = {
        {K('1'), "DM-Rankin.ut2"}, {K('2'), "Rock.utx"}, {K('4'), "a"}, {K('5'), "b"},
        {"\t" + K('6'), "Tab.utx"}, {K('7'), "x=y.u"}, {"abc", "Short.ut2"}, {"", "NoKey.uax"},
        {"key ", " name"}, {"k", ""}, {K('8'), "\xC4\xE9\xFF.ut2"}, {K('1'), "Dup.ut2"},
    };
    EXPECT_EQ(ParseIndexSplit(Join(Mixed, "\r\n")), expected);
}

TEST(CacheIndex, LfLineEndsAndAMissingLastLineEndReadLikeCrLf) {
    const std::string crlf = Join(Mixed, "\r\n");
    const std::string others[] = {Join(Mixed, "\n"), Join(Mixed, "\r\n", false), Join(Mixed, "\n", false)};
    for (const std::string& text : others) {
        EXPECT_EQ(ParseIndexFixed(text), ParseIndexFixed(crlf)) << "text:\n" << text;
        EXPECT_EQ(ParseIndexSplit(text), ParseIndexSplit(crlf)) << "text:\n" << text;
        EXPECT_EQ(FilterIndexText(text, {K('2')}), FilterIndexText(crlf, {K('2')})) << "text:\n" << text;
    }
}

TEST(CacheIndex, FilteredRewriteKeepsOtherLinesByteForByte) {
    std::string upper4 = K('4');
    for (char& c : upper4) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::vector<std::string> old = {
        "[Cache]",                                                 // dropped: short
        K('1') + "=A.ut2",                                         // kept
        "  " + K('2') + "=B.utx  ",                                // kept: its first 32 bytes are not K2
        K('2') + "=B2.utx",                                        // dropped
        K('3') + "=C.u",                                           // dropped
        K('3') + "=C-again.u",                                     // dropped: same key
        K('4') + "=D.uax",                                         // kept: the key to drop is upper case
        K('5') + "=e",                                             // dropped: 34 characters
        "",                                                        // dropped
        "; a comment line long enough to be kept as it stands",    // kept
        K('6') + "X\xE9\xFF\x01",                                  // kept
        K('7') + "=Last.ut2",                                      // kept, written with a line end
    };
    FakeFileSystem fs;
    fs.AddFile(Index, Join(old, "\r\n", false));
    RewriteIndexFiltered(fs, Game, {K('2'), K('3'), upper4, "abc"});
    EXPECT_EQ(fs.Bytes(Index).value_or("<none>"),
              "[Cache]\r\n" + K('1') + "=A.ut2\r\n  " + K('2') + "=B.utx  \r\n" + K('4') +
                  "=D.uax\r\n; a comment line long enough to be kept as it stands\r\n" + K('6') +
                  "X\xE9\xFF\x01\r\n" + K('7') + "=Last.ut2\r\n");
    EXPECT_FALSE(fs.Has(Temp)) << "temporary index left behind";
}

TEST(CacheIndex, RebuiltRewriteWritesEntriesUnderOneHeader) {
    FakeFileSystem fs;
    fs.AddFile(Index, "[Cache]\r\n" + K('9') + "=Old.ut2\r\n");
    RewriteIndexRebuilt(fs, Game, {{K('1'), "A.ut2"}, {"abc", ""}, {K('1'), "A.ut2"}});
    EXPECT_EQ(fs.Bytes(Index).value_or("<none>"),
              "[Cache]\r\n" + K('1') + "=A.ut2\r\nabc=\r\n" + K('1') + "=A.ut2\r\n");
    RewriteIndexRebuilt(fs, Game, {});
    EXPECT_EQ(fs.Bytes(Index).value_or("<none>"), "[Cache]\r\n");
    EXPECT_FALSE(fs.Has(Temp)) << "temporary index left behind";
}

TEST(CacheIndex, AFailedRewriteLeavesTheOldIndexAsItWas) {
    struct Case {
        bool rebuilt;
        FsOp op;
        std::string path;
        bool removeFails;  // the clean-up of the temporary file fails too
    };
    const Case cases[] = {
        {false, FsOp::ReadAll, Index, false},  // nothing may be written
        {false, FsOp::WriteAll, Temp, false},  // the fake leaves half a file, which must go
        {false, FsOp::Replace, Index, false},  // a complete temporary file must go too
        {false, FsOp::WriteAll, Temp, true},   // the half file stays, the index is untouched
        {false, FsOp::Replace, Temp, true},
        {true, FsOp::WriteAll, Temp, false},   // the same for the rebuilt rewrite
        {true, FsOp::Replace, Index, false},
        {true, FsOp::WriteAll, Temp, true},
        {true, FsOp::Replace, Temp, true},
    };
    const std::string old = "[Cache]\r\n" + K('1') + "=A.ut2\r\n  " + K('2') + "=B.utx \n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        FakeFileSystem fs;
        fs.AddFile(Index, old);
        fs.FailOn(c.op, c.path, "Disk full.");
        if (c.removeFails) fs.FailOn(FsOp::Remove, Temp, "Sharing violation.");
        try {
            if (c.rebuilt)
                RewriteIndexRebuilt(fs, Game, {{K('3'), "C.u"}});
            else
                RewriteIndexFiltered(fs, Game, {K('1')});
            ADD_FAILURE() << "no Failure thrown";
        } catch (const Failure& f) {
            EXPECT_STREQ(f.what(), "Disk full.") << "the first failure is the one reported";
        }
        EXPECT_EQ(fs.Bytes(Index).value_or("<none>"), old);
        EXPECT_EQ(fs.Has(Temp), c.removeFails) << "temporary index present";
        if (c.op == FsOp::ReadAll) {
            EXPECT_EQ(fs.Calls(FsOp::WriteAll), 0) << "a failed read wrote";
        }
    }
}

TEST(CacheIndex, HostileInputReadsExactly) {
    const std::string nul("\0", 1);
    const std::string key0 = K('a').substr(0, 10) + nul + K('a').substr(11);
    const std::string text = key0 + "=a" + nul + "b.ut2\r\n" + nul + nul + "\r\n";
    EXPECT_EQ(ParseIndexFixed(text), (std::vector<CacheEntry>{{key0, "a" + nul + "b.ut2"}}));
    EXPECT_EQ(ParseIndexSplit(text), (std::vector<CacheEntry>{{key0, "a" + nul + "b.ut2"}}));
    EXPECT_EQ(FilterIndexText(text, {}), "[Cache]\r\n" + key0 + "=a" + nul + "b.ut2\r\n");

    const std::string huge(1 << 20, 'n');
    EXPECT_EQ(ParseIndexFixed(K('1') + "=" + huge), (std::vector<CacheEntry>{{K('1'), huge}}));
    EXPECT_EQ(ParseIndexSplit(K('1') + "=" + huge), (std::vector<CacheEntry>{{K('1'), huge}}));
    EXPECT_EQ(FilterIndexText(K('1') + "=" + huge, {}), "[Cache]\r\n" + K('1') + "=" + huge + "\r\n");

    for (const char* empty : {"", "[Cache]", "[Cache]\r\n", "\r\n\n\r", "  [Cache]  \n"}) {
        EXPECT_TRUE(ParseIndexFixed(empty).empty()) << "text \"" << empty << "\"";
        EXPECT_TRUE(ParseIndexSplit(empty).empty()) << "text \"" << empty << "\"";
        EXPECT_EQ(FilterIndexText(empty, {}), "[Cache]\r\n") << "text \"" << empty << "\"";
    }
    EXPECT_EQ(ParseIndexFixed(K('1') + "=A.ut2"), (std::vector<CacheEntry>{{K('1'), "A.ut2"}})) << "no header";
}

TEST(CacheIndex, HundredThousandLines) {
    std::string text = "[Cache]\r\n", expected = "[Cache]";
    std::unordered_set<std::string> drop;
    for (int n = 0; n < 100000; ++n) {
        const std::string number = std::to_string(n), key = std::string(KeyLength - number.size(), '0') + number;
        text += key + "=File" + number + ".ut2\r\n";
        if (n % 3 == 0) drop.insert(key);
        else expected += "\r\n" + key + "=File" + number + ".ut2";
    }
    const std::vector<CacheEntry> fixed = ParseIndexFixed(text);
    ASSERT_EQ(fixed.size(), 100000u);
    EXPECT_EQ(fixed.back(), (CacheEntry{"00000000000000000000000000099999", "File99999.ut2"}));
    EXPECT_EQ(ParseIndexSplit(text), fixed);
    EXPECT_EQ(FilterIndexText(text, drop), expected + "\r\n");
}

// Random lines from a small pool of keys, spaces, "=", NUL and high bytes; every result must
// account for every line.
TEST(CacheIndex, FuzzedTextsKeepTheirInvariants) {
    std::mt19937 rng(20030101);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::string bytes = std::string("ab =.\xE9\xFF", 7) + std::string(1, '\0');
    auto noise = [&](int most) {
        std::string s(static_cast<std::size_t>(pick(most + 1)), ' ');
        for (char& c : s) c = bytes[static_cast<std::size_t>(pick(8))];
        return s;
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> lines;
        for (int n = pick(30); n > 0; --n) {
            const std::string key = K(static_cast<char>('0' + pick(6)));
            const int kind = pick(3);
            lines.push_back(kind == 0   ? key + "=" + noise(6)
                            : kind == 1 ? std::string(static_cast<std::size_t>(pick(3)), ' ') + key + noise(5)
                                        : noise(50));
        }
        std::unordered_set<std::string> keys;
        for (int n = pick(4); n > 0; --n) keys.insert(K(static_cast<char>('0' + pick(6))));
        const std::string text = Join(lines, pick(2) ? "\r\n" : "\n", pick(2) != 0);
        SCOPED_TRACE("round " + std::to_string(round));

        const std::vector<CacheEntry> fixed = ParseIndexFixed(text);
        const std::vector<CacheEntry> split = ParseIndexSplit(text);
        std::size_t f = 0, s = 0;
        std::string kept = "[Cache]";
        for (const std::string& line : lines) {
            const std::string trimmed = Trim(line);
            if (trimmed.size() >= ShortestEntryLine) {
                ASSERT_LT(f, fixed.size()) << "fixed-width reading lost line \"" << line << "\"";
                EXPECT_EQ(fixed[f].Key.size(), KeyLength);
                EXPECT_EQ(fixed[f].Key + trimmed[KeyLength] + fixed[f].RealName, trimmed);
                ++f;
            }
            if (trimmed.find('=') != std::string::npos) {
                ASSERT_LT(s, split.size()) << "split reading lost line \"" << line << "\"";
                EXPECT_EQ(split[s].Key.find('='), std::string::npos);
                EXPECT_EQ(split[s].Key + "=" + split[s].RealName, trimmed);
                ++s;
            }
            if (line.size() >= ShortestEntryLine && keys.count(line.substr(0, KeyLength)) == 0) kept += "\r\n" + line;
        }
        EXPECT_EQ(f, fixed.size()) << "fixed-width entries without a line";
        EXPECT_EQ(s, split.size()) << "split entries without a line";
        EXPECT_EQ(FilterIndexText(text, keys), kept + "\r\n");
    }
    for (int round = 0; round < 200; ++round) {  // raw bytes, line ends included
        std::string raw(static_cast<std::size_t>(pick(400)), ' ');
        for (char& c : raw) c = static_cast<char>(pick(256));
        for (const CacheEntry& e : ParseIndexFixed(raw)) EXPECT_EQ(e.Key.size(), KeyLength);
        const std::string out = FilterIndexText(raw, {});
        EXPECT_TRUE(out.compare(0, 7, "[Cache]") == 0 && out.compare(out.size() - 2, 2, "\r\n") == 0) << out;
    }
}

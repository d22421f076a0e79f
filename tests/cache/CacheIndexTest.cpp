// The cache index: what no invariant of the fuzz target can state (the readings and rewrites of any
// text in every encoding and line end are its job): characters beyond the code page, encodings
// refused, the repairs' edits, the atomic replacement, and the memory an index reserves.
#include <gtest/gtest.h>

#include <tuple>

#include "cache/CacheIndex.h"
#include "cache/IndexInvariants.h"
#include "support/FakeFileSystem.h"
#include "support/Fakes.h"

using namespace std::string_literals;

namespace {

FakeCodePage Cp;
const std::string Game = "C:\\UT", Index = Game + "\\Cache\\cache.ini", Temp = Game + "\\Cache\\cache-new.ini";

// 32 characters; keys that differ only in their last character.
std::string K(char c) { return "0123456789abcdef0123456789abcde" + std::string(1, c); }

}  // namespace

TEST(CacheIndex, AnIndexIsReadWholeOrNotAtAllWithoutReservingForBlankLinesAndAnUnreadableOneIsNeverRewritten) {
    const auto entry = [](Form form, const std::string& name) {  // the name in the form's own bytes
        return Mark(form) + Encoded("[Cache]\r\n" + K('1') + "=", form) + name + Encoded("\r\n", form);
    };
    const std::pair<std::string, const char*> cases[] = {  // the index, its entry's name in UTF-8 (none: unreadable)
        {entry(Form::Utf8, "\xC4\x80" "b"), "\xC4\x80" "b"},  // U+0100, which the code page lacks, stays itself
        // U+0D0A: a line end only to a reading that looks at one byte of each unit.
        {entry(Form::Utf16LE, "\x0A\x0D" "b\0"s), "\xE0\xB4\x8A" "b"}, {entry(Form::Utf16BE, "\x0D\x0A\0b"s), "\xE0\xB4\x8A" "b"},
        {entry(Form::Utf8, "\xE0\xA0\x80\xEF\xBF\xBF"), "\xE0\xA0\x80\xEF\xBF\xBF"},  // U+0800 and U+FFFF
        {entry(Form::Utf8, "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"), "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},  // U+10000, U+10FFFF
        {entry(Form::Utf16LE, "\x16\x04" "a\0"s), "\xD0\x96" "a"},  // "Жa", from UTF-16
        {entry(Form::Ansi, "\xE9" "b"), "\xC3\xA9" "b"},  // code page 1252's "é"
        {"\xFF\xFE\0\0[\0\0\0"s, nullptr}, {"\0\0\xFE\xFF\0\0\0["s, nullptr},  // UTF-32 marks
        {entry(Form::Utf16LE, "a"), nullptr}, {entry(Form::Utf16BENoMark, "a"), nullptr},  // UTF-16 of odd length
        {entry(Form::Utf8, "\x80" "a"), nullptr}, {entry(Form::Utf8, "a\xC3"), nullptr},  // a lone byte, one cut short
        {"\xEF\xBB\xBF[Cache]\r\n" + K('1') + "=\xC3", nullptr},                               // also at the very end
        {entry(Form::Utf8, "\xC0\xAF"), nullptr}, {entry(Form::Utf8, "\xE0\x9F\xBF"), nullptr},  // overlong forms,
        {entry(Form::Utf8, "\xF0\x8F\xBF\xBF"), nullptr}, {entry(Form::Utf8, "\xF8\x88\x80\x80\x80"), nullptr},  // five bytes
        {entry(Form::Utf8, "\xED\xA0\x80"), nullptr}, {entry(Form::Utf8, "\xF4\x90\x80\x80"), nullptr},  // no character
    };
    for (const auto& [text, name] : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        FakeFileSystem fs;
        fs.AddFile(Index, text);
        // The readings and the filtering agree on what is unreadable: the fuzz target's invariant.
        if (name != nullptr) {
            EXPECT_EQ(BuildIndexText(Owned(ParseIndexSplit(text, Cp))), "[Cache]\r\n" + K('1') + "=" + name + "\r\n");
            RewriteIndexFiltered(fs, Cp, Game, {});
        } else {
            EXPECT_THROW(RewriteIndexFiltered(fs, Cp, Game, {}), UnreadableIndex);
            EXPECT_EQ(fs.Log(), std::vector<std::string>{"ReadAll " + Index}) << "an unreadable index was rewritten";
        }
        EXPECT_EQ(fs.Bytes(Index), text) << "the rewrite changed the index's bytes";
    }
    const std::string blanks(1 << 20, '\n');  // one entry reserved per line end would take 64 MB
    EXPECT_LE(ParseIndexFixed(blanks, Cp).capacity(), blanks.size() / ShortestEntryLine);
}

// A repair drops exactly the lines it names and appends exactly one, in the index's own encoding;
// every other byte stays, characters beyond the code page, blanks and line ends included.
TEST(CacheIndex, ARepairEditsTheIndexAsItIsAndKeepsEveryOtherLineByteForByte) {
    const std::string zh = "DM-\xD0\x96" "ar.ut2";  // "DM-Жar.ut2"
    for (const Form form : AllForms) {
        SCOPED_TRACE(static_cast<int>(form));
        // Latin-1 lines are the same in every form; the name beyond the code page is written apart.
        const auto enc = [&](const std::string& latin1) { return Encoded(latin1, form); };
        const std::string nameBytes = form == Form::Ansi ? "" : form == Form::Utf8 ? zh :
            enc("DM-") + (form == Form::Utf16LE || form == Form::Utf16LENoMark ? "\x16\x04"s : "\x04\x16"s) + enc("ar.ut2");
        const std::string head = Mark(form) + enc("[Cache]\n  " + K('1') + "=Caf\xE9.ut2 \r");
        const std::string other = form == Form::Ansi ? "" : enc(K('2') + "=") + nameBytes + enc("\r\n");
        const std::string dropped = enc("abc=Gone.u\r\n"), tail = enc(K('3') + "=Last.u");  // the last line has no end
        FakeFileSystem fs;
        fs.AddFile(Index, head + other + dropped + tail);
        const CacheEntry added{K('4'), "New \xC3\xA9.ut2"};  // UTF-8 inside
        const auto drop = [](const IndexEntry& e) { return e.Key == "abc"; };
        EXPECT_EQ(RewriteIndexEdited(fs, Cp, Game, {drop, &added}), 1u);
        EXPECT_EQ(fs.Bytes(Index), head + other + tail + enc("\r\n" + K('4') + "=New \xE9.ut2\r\n"));
        // What the split reading gives of the kept line beyond the code page is the name itself.
        if (form != Form::Ansi) {
            EXPECT_EQ(Owned(ReadIndexSplit(fs, Cp, Index)).at(1).RealName, zh);
        }
        // Nothing to drop and nothing to add: the index is not even written again.
        const std::size_t calls = fs.Log().size();
        EXPECT_EQ(RewriteIndexEdited(fs, Cp, Game, {drop, nullptr}), 0u);
        EXPECT_EQ(fs.Log().size(), calls + 2) << "more than a lookup and a read";
        // A name the index's encoding cannot hold is refused, naming it; the index stays.
        const std::string before = *fs.Bytes(Index);
        const CacheEntry beyond{K('5'), zh};
        if (form == Form::Ansi) {
            try {
                RewriteIndexEdited(fs, Cp, Game, {nullptr, &beyond});
                ADD_FAILURE() << "a name beyond the code page was written";
            } catch (const Failure& f) {
                EXPECT_NE(std::string(f.what()).find("\"" + zh + "\""), std::string::npos) << f.what();
            }
            EXPECT_EQ(fs.Bytes(Index), before);
        }
    }
    // No index yet: a line to append makes one, in code-page text; nothing to append writes nothing.
    FakeFileSystem fs;
    fs.AddFolder(Game + "\\Cache");
    EXPECT_EQ(RewriteIndexEdited(fs, Cp, Game, {nullptr, nullptr}), 0u);
    EXPECT_FALSE(fs.Has(Index));
    const CacheEntry first{K('1'), "Caf\xC3\xA9.ut2"};
    RewriteIndexEdited(fs, Cp, Game, {nullptr, &first});
    EXPECT_EQ(fs.Bytes(Index), "[Cache]\r\n" + K('1') + "=Caf\xE9.ut2\r\n");
}

// Either rewrite puts its text in the index's place or leaves the old index byte for byte, and
// leaves behind no temporary file that it could remove.
TEST(CacheIndex, BothRewritesReplaceTheIndexAtomically) {
    const std::string t2 = Game + "\\Cache\\cache-new2.ini", t3 = Game + "\\Cache\\cache-new3.ini";
    const auto w = FsOp::WriteNew, r = FsOp::Remove;
    // Calls that fail with "Disk full."; the attributes of a cache-new.ini left by a run cut short
    // (~0: none); what was thrown | the index old or new | every other file. A failed replacement
    // alone is the fixer's and the un-cache run's test, which see a temporary file left behind.
    const std::tuple<std::vector<std::pair<FsOp, std::string>>, std::uint32_t, std::string> cases[] = {
        {{}, 0, "|new|"},                           // a leftover is cleared
        {{}, AttrReadOnly, "|new|cache-new.ini"},  // or, when it cannot be (read-only, a folder), passed by
        {{{FsOp::ReadAll, Index}}, ~0u, "Disk full.|old|"},  // nothing is written after a failed read
        {{{w, Temp}, {w, t2}, {w, t3}}, ~0u, "Disk full. (" + Temp + ")|old|"},  // the first failure is told
        {{{FsOp::Replace, Index}, {r, Temp}}, ~0u, "Disk full.|old|cache-new.ini"},  // its removal fails quietly
    };
    const std::string old = "[Cache]\r\n" + K('1') + "=A.ut2\r\n  " + K('2') + "=B.utx \n";
    const auto name = [](const std::string& path) { return path.substr(path.rfind('\\') + 1); };
    for (const auto& [faults, leftover, expected] : cases) {
        for (const bool rebuilt : {false, true}) {
            FakeFileSystem fs;
            fs.AddFile(Index, old);
            if (leftover != ~0u) fs.AddFile(Temp, "left", leftover);
            for (const auto& [op, path] : faults) fs.FailOn(op, path, "Disk full.", 0);
            std::string outcome;
            try {
                const CacheEntry added{K('3'), "C.u"};
                if (rebuilt) RewriteIndexEdited(fs, Cp, Game, {[](const IndexEntry&) { return true; }, &added});
                else RewriteIndexFiltered(fs, Cp, Game, {K('1')});
            } catch (const Failure& f) {
                outcome = f.what();
            }
            const std::string now =
                rebuilt ? "[Cache]\r\n" + K('3') + "=C.u\r\n" : "[Cache]\r\n  " + K('2') + "=B.utx \r\n";
            outcome += fs.Bytes(Index) == old ? "|old|" : fs.Bytes(Index) == now ? "|new|" : "|garbled|";
            for (const auto& file : fs.Files())
                if (file.first != Index) outcome += (outcome.back() == '|' ? "" : " ") + name(file.first);
            EXPECT_EQ(outcome, expected) << (rebuilt ? "rebuilt" : "filtered");
        }
    }
}

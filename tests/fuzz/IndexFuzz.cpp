// libFuzzer target: the index readings, the filtered rewrite and the name checks over any bytes.
// A broken invariant aborts with what broke, so that the fuzzer keeps the input that broke it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cache/GameFolder.h"
#include "cache/IndexInvariants.h"
#include "support/Fakes.h"

namespace {

FakeCodePage SingleByte, TwoByte;

void Require(bool holds, const std::string& what) {
    if (holds) return;
    std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
    std::abort();
}

// Every other key of the fixed reading, so that some lines go and some stay; none when it is
// unreadable, and the invariants then check that all three readings refuse it.
std::unordered_set<std::string> SomeKeys(std::string_view bytes) {
    std::unordered_set<std::string> keys;
    try {
        const std::vector<CacheEntry> entries = ParseIndexFixed(bytes, SingleByte);
        for (std::size_t i = 0; i < entries.size(); i += 2) keys.insert(entries[i].Key);
    } catch (const UnreadableIndex&) {
    }
    return keys;
}

// The input's lines as the text of an index, after a "[Cache]" line, to be written in `form`.
IndexLines LinesOf(std::string_view text, Form form) {
    IndexLines index{form, {"[Cache]"}, {"\r\n"}};
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::size_t endLength = text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size() ? 1 : 0;
        index.lines.emplace_back(text.substr(start, end - start));
        index.ends.emplace_back(text.substr(end, endLength));
        start = end + endLength;
    }
    return index;
}

bool IsCache(std::string_view s) {
    return s.size() == 5 && std::equal(s.begin(), s.end(), "cache", [](char a, char b) { return (a | 0x20) == b; });
}

void CheckName(std::string_view name) {
    std::string shown(name);  // each control character a "?"
    for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    Require(Printable(name) == shown, "Printable changed more than the control characters");
    const NameFault file = CheckFileName(name, SingleByte), folder = CheckSubFolder(name, SingleByte);
    const NameFault twoByteFile = CheckFileName(name, TwoByte), twoByteFolder = CheckSubFolder(name, TwoByte);
    const auto lead = [](char c) { return TwoByte.IsLeadByte(static_cast<unsigned char>(c)); };
    if (std::none_of(name.begin(), name.end(), lead))
        Require(twoByteFile == file && twoByteFolder == folder, "the code pages disagree on a name without lead bytes");
    if (file == NameFault::None) {
        Require(!name.empty() && shown == name && name.find_first_of("\\/:<>\"|?*") == std::string_view::npos &&
                    name.back() != '.' && name.back() != ' ',
                "a file name Windows cannot take passed");
        Require(twoByteFile == NameFault::None, "a two-byte code page refused a name a single-byte one takes");
        Require(folder == (IsCache(name) ? NameFault::CacheFolder : NameFault::None), "a file name is another sub-folder");
    }
    if (folder == NameFault::None) {
        // Relative, and every part of it stays where it is and is a name Windows takes.
        Require(name.front() != '\\' && name.front() != '/', "a sub-folder from the root passed");
        bool first = true;
        for (std::size_t start = 0; start <= name.size();) {
            const std::size_t end = std::min(name.find_first_of("\\/", start), name.size());
            const std::string_view part = name.substr(start, end - start);
            if (!part.empty() && part != ".") {
                Require(CheckFileName(part, SingleByte) == NameFault::None, "a sub-folder with a bad part passed");
                Require(!(first && IsCache(part)), "the cache folder passed as a sub-folder");
                first = false;
            }
            start = end + 1;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TwoByte.twoByte = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string broken = BrokenIndexInvariant(input, SomeKeys(input), SingleByte);
    Require(broken.empty(), broken);
    // The same lines written in one of the encodings, where every result is known beforehand.
    const IndexLines lines = LinesOf(input, AllForms[size % 6]);
    const std::string bytes = IndexBytes(lines);
    broken = BrokenIndexInvariant(bytes, SomeKeys(bytes), SingleByte, &lines);
    Require(broken.empty(), broken);
    CheckName(input);
    return 0;
}

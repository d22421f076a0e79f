// libFuzzer target: the index readings, the filtered rewrite and the file name check over any bytes.
// What a sub-folder answer may hold is the game folder test's table: each of its refusals has a row.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cache/GameFolder.h"
#include "cache/IndexInvariants.h"
#include "support/Fakes.h"

namespace {

FakeCodePage SingleByte;  // two-byte code pages are the game folder test's too

// The input's lines as the text of an index, after a "[Cache]" line, to be written in `form`.
IndexLines LinesOf(std::string_view text, Form form) {
    IndexLines index{form, {"[Cache]"}, Mark(form) + Encoded("[Cache]\r\n", form)};
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : std::min(end + 1, text.size());
        index.lines.emplace_back(text.substr(start, end - start));
        index.bytes += Encoded(text.substr(start, next - start), form);
        start = next;
    }
    return index;
}

// The first invariant of the name checks that `name` breaks, or "".
std::string BrokenNameInvariant(std::string_view name) {
    std::string shown(name);  // each control character a "?"
    for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    if (Printable(name) != shown) return "Printable changed more than the control characters";
    if (CheckFileName(name, SingleByte) == NameFault::None &&
        (name.empty() || shown != name || name.find_first_of("\\/:<>\"|?*") != std::string_view::npos ||
         name.back() == '.' || name.back() == ' '))
        return "a file name Windows cannot take passed";
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The same lines written in one of the encodings, where every result is known beforehand;
    // every other line's key is to go, so that some lines go and some stay.
    const IndexLines lines = LinesOf(input, AllForms[size % 6]);
    std::unordered_set<std::string> keys;
    for (std::size_t i = 1; i < lines.lines.size(); i += 2) keys.insert(lines.lines[i].substr(0, KeyLength));
    // A broken invariant aborts with what broke, so that the fuzzer keeps the input that broke it.
    for (const std::string& broken : {BrokenIndexInvariant(input, keys, SingleByte),
                                      BrokenIndexInvariant(lines.bytes, keys, SingleByte, &lines),
                                      BrokenNameInvariant(input)}) {
        if (broken.empty()) continue;
        std::fprintf(stderr, "broken invariant: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}

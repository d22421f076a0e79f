// libFuzzer target: the index readings, the filtered rewrite, the file name check, the text
// conversions and the package header reading over any bytes.
// What a sub-folder answer may hold is the game folder test's table: each of its refusals has a row.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "cache/GameFolder.h"
#include "cache/IndexInvariants.h"
#include "cache/PackageIdentity.h"
#include "platform/Utf.h"
#include "support/Fakes.h"

namespace {

FakeCodePage SingleByte;

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

// The first invariant of the text conversions that the input breaks, or "": UTF-8 read as UTF-16
// and back, and any UTF-16 (the input's byte pairs) as UTF-8 and back, give every name as it was.
std::string BrokenConversionInvariant(std::string_view input) {
    std::u16string units;
    if (Utf16FromUtf8(input, units) && Utf8FromUtf16(units) != input) return "a UTF-8 name changed on its way back";
    if (IsUtf8(input, true) && !IsUtf8(input)) return "strict UTF-8 is not UTF-8";
    std::u16string pairs;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2)
        pairs += static_cast<char16_t>(static_cast<unsigned char>(input[i]) | static_cast<unsigned char>(input[i + 1]) << 8);
    std::u16string back;
    if (!Utf16FromUtf8(Utf8FromUtf16(pairs), back) || back != pairs) return "a UTF-16 name changed on its way back";
    return "";
}

// The first invariant of the name checks that `name` breaks, or "".
std::string BrokenNameInvariant(std::string_view name) {
    std::string shown(name);  // each control character a "?"
    for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    if (Printable(name) != shown) return "Printable changed more than the control characters";
    if (CheckFileName(name) == NameFault::None &&
        (name.empty() || shown != name || name.find_first_of("\\/:<>\"|?*") != std::string_view::npos ||
         name.back() == '.' || name.back() == ' '))
        return "a file name Windows cannot take passed";
    return "";
}

// The first invariant of the package header reading that the input breaks, or "". Reading past the
// input is AddressSanitizer's to catch: the input's buffer ends where it does.
std::string BrokenIdentityInvariant(std::string_view input) {
    const std::optional<PackageIdentity> whole = ReadPackageIdentity(input);
    if (input.size() >= PackageIdentityBytes && ReadPackageIdentity(input.substr(0, PackageIdentityBytes)) != whole)
        return "the bytes past the header changed the identity";
    if (!whole) return "";
    if (input.compare(0, 4, "\xC1\x83\x2A\x9E") != 0) return "an identity without the package signature";
    // An old header needs its tables' counts and offsets (36 bytes), a newer one its GUID and count too.
    const std::size_t needs = whole->fileVersion < FirstVersionWithGuid ? 36 : PackageIdentityBytes;
    if (ReadPackageIdentity(input.substr(0, needs - 1))) return "an identity from a header cut short";
    if (!SamePackageVersion(*whole, *whole)) return "an identity unlike itself";
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The same lines written in one of the encodings, where every result is known beforehand;
    // every other line's key is to go, so that some lines go and some stay.
    const IndexLines lines = LinesOf(input, AllForms[size % 6]);
    std::unordered_set<std::string> keys;
    for (std::size_t i = 1; i < lines.lines.size(); i += 2)
        keys.insert(Encoded(lines.lines[i].substr(0, KeyLength), Form::Utf8));  // keys are UTF-8 text
    // A broken invariant aborts with what broke, so that the fuzzer keeps the input that broke it.
    for (const std::string& broken : {BrokenIndexInvariant(input, keys, SingleByte),
                                      BrokenIndexInvariant(lines.bytes, keys, SingleByte, &lines),
                                      BrokenNameInvariant(input), BrokenConversionInvariant(input),
                                      BrokenIdentityInvariant(input)}) {
        if (broken.empty()) continue;
        std::fprintf(stderr, "broken invariant: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}

// Package identities read from headers, and when two of them are one build of a package.
#include <gtest/gtest.h>

#include <string>

#include "cache/PackageIdentity.h"

namespace {

// A package's first `size` bytes (56 when 0): signature, versions, then a header whose bytes 8 to 35
// are filled with 0xEE, the GUID 0x10, 0x11... (its first byte `guid0`), and the generation count.
std::string Header(std::uint16_t version, std::uint16_t licensee, std::uint32_t generations = 1,
                   unsigned char guid0 = 0x10, std::size_t size = 0) {
    std::string h = "\xC1\x83\x2A\x9E";
    for (const std::uint32_t v : {std::uint32_t{version}, std::uint32_t{licensee}}) h += {char(v & 0xFF), char(v >> 8)};
    h += std::string(28, '\xEE');
    for (int i = 0; i < 16; ++i) h += char(i == 0 ? guid0 : 0x10 + i);
    for (int i = 0; i < 4; ++i) h += char(generations >> (8 * i) & 0xFF);
    h += std::string(40, '\0');  // what follows: the generations' table...
    return h.substr(0, size == 0 ? PackageIdentityBytes : size);
}

std::string Shown(const std::optional<PackageIdentity>& id) {
    if (!id) return "none";
    std::string s = std::to_string(id->fileVersion) + "/" + std::to_string(id->licenseeVersion) + " guid";
    for (const std::uint8_t b : id->guid) s += " " + std::to_string(b);
    return s + " gen " + std::to_string(id->generations);
}

}  // namespace

TEST(PackageIdentity, ReadsTheFieldsItsVersionHasAndNothingElse) {
    const std::string guid = " guid 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31";
    const std::string noGuid = " guid 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 gen 0";
    const std::pair<std::string, std::string> cases[] = {
        {Header(119, 27, 0x01020304), "119/27" + guid + " gen 16909060"},  // UT2003's own version, 32-bit count
        {Header(0x1234, 0xABCD, 7), "4660/43981" + guid + " gen 7"},       // both versions little-endian
        {Header(68, 0), "68/0" + guid + " gen 1"},                         // the first version with a GUID
        {Header(67, 0), "67/0" + noGuid},                                  // the last without: GUID bytes ignored
        {Header(61, 0, 1, 0x10, 36), "61/0" + noGuid},                     // old header: 36 bytes are enough
        {Header(61, 0, 1, 0x10, 35), "none"},                              // cut inside the tables' offsets
        {Header(119, 27, 1, 0x10, 55), "none"},                            // cut inside the generation count
        {Header(119, 27, 1, 0x10, 52), "none"},                            // GUID whole, no count
        {Header(119, 27).replace(0, 1, "\xC0"), "none"},                   // signature one bit off
        {Header(119, 27).replace(0, 4, "\x9E\x2A\x83\xC1"), "none"},      // signature big-endian
        {"OggS" + std::string(60, '\0'), "none"},                          // music
        {"[Cache]\r\n" + std::string(60, 'x'), "none"},                    // text
        {"", "none"},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(Shown(ReadPackageIdentity(bytes)), expected) << "header of " << bytes.size() << " bytes";
}

TEST(PackageIdentity, OneBuildOnlyWhenVersionsGuidAndGenerationsAgree) {
    const PackageIdentity base = *ReadPackageIdentity(Header(119, 27, 3));
    const std::pair<std::string, bool> cases[] = {
        {Header(119, 27, 3) + "rest of another file", true},  // only the header counts
        {Header(119, 27, 4), false},                          // saved once more
        {Header(119, 27, 3, 0x11), false},                    // another GUID, by one byte
        {Header(119, 28, 3), false},                          // another licensee's build
        {Header(120, 27, 3), false},                          // another file version
    };
    for (const auto& [bytes, same] : cases) {
        const PackageIdentity other = *ReadPackageIdentity(bytes);
        EXPECT_EQ(SamePackageVersion(base, other), same) << Shown(other);
        EXPECT_EQ(SamePackageVersion(other, base), same) << Shown(other) << ", compared the other way round";
    }
    // Without a GUID, the versions are all there is to compare.
    const PackageIdentity old = *ReadPackageIdentity(Header(61, 0, 1, 0x10));
    EXPECT_TRUE(SamePackageVersion(old, *ReadPackageIdentity(Header(61, 0, 9, 0x99))));
    EXPECT_FALSE(SamePackageVersion(old, *ReadPackageIdentity(Header(62, 0))));
}

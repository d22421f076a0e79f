// Package identities read from headers, and when two of them are one build of a package.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "cache/PackageIdentity.h"

namespace {

// A header's first `size` bytes: signature, versions, 28 bytes of tables, the GUID 0x10, 0x11...
// (its first byte `guid0`), the generation count, and more of the header.
std::string Header(std::uint16_t version, std::uint16_t licensee, std::uint32_t generations = 1,
                   char guid0 = 0x10, std::size_t size = 64) {
    std::string h = "\xC1\x83\x2A\x9E";
    for (const std::uint32_t v : {std::uint32_t{version}, std::uint32_t{licensee}}) h += {char(v & 0xFF), char(v >> 8)};
    h += std::string(28, '\xEE') + guid0;
    for (char b = 0x11; b < 0x20; ++b) h += b;
    for (int i = 0; i < 4; ++i) h += char(generations >> (8 * i) & 0xFF);
    return (h + std::string(8, '\xEE')).substr(0, size);
}

std::string Shown(const std::optional<PackageIdentity>& id) {
    if (!id) return "none";
    return std::to_string(id->fileVersion) + "/" + std::to_string(id->licenseeVersion) + " guid " +
           std::to_string(id->guid[0]) + ".." + std::to_string(id->guid[15]) + " gen " +
           std::to_string(id->generations);
}

}  // namespace

TEST(PackageIdentity, ReadsTheFieldsItsVersionHasFromAsManyBytesAsItNeeds) {
    const std::pair<std::string, const char*> cases[] = {
        {Header(0x1234, 0xABCD, 0x01020304), "4660/43981 guid 16..31 gen 16909060"},  // all little-endian
        {Header(68, 0), "68/0 guid 16..31 gen 1"},                     // the first version with a GUID
        {Header(67, 0), "67/0 guid 0..0 gen 0"},                       // the last without: those bytes are not one
        {Header(61, 0, 1, 0x10, 36), "61/0 guid 0..0 gen 0"},          // an old header needs its tables only
        {Header(61, 0, 1, 0x10, 35), "none"},                          // cut inside the tables' offsets
        {Header(119, 27, 1, 0x10, 55), "none"},                        // cut inside the generation count
        {Header(119, 27).replace(0, 1, "\xC0"), "none"},               // signature one bit off
        {"OggS" + std::string(60, '\0'), "none"},                      // music
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(Shown(ReadPackageIdentity(bytes)), expected) << "header of " << bytes.size() << " bytes";
}

TEST(PackageIdentity, OneBuildOnlyWhenVersionsGuidAndGenerationsAgree) {
    const std::string base = Header(119, 27, 3), old = Header(61, 0, 3);
    const std::tuple<std::string, std::string, bool> cases[] = {
        {base, base + "and the rest", true},         // only the header counts
        {base, Header(119, 27, 4), false},           // saved once more
        {base, Header(119, 27, 3, 0x11), false},     // another GUID, by one byte
        {base, Header(119, 28, 3), false},           // another licensee's build
        {old, Header(61, 0, 9, 0x11), true},         // without GUIDs, equal versions are all there is
        {old, Header(62, 0, 3), false},              // but they must be equal
    };
    for (const auto& [a, b, same] : cases) {
        const PackageIdentity one = *ReadPackageIdentity(a), other = *ReadPackageIdentity(b);
        EXPECT_EQ(SamePackageVersion(one, other), same) << Shown(one) << " against " << Shown(other);
    }
}

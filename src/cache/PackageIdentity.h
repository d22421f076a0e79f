// Which build of an Unreal package a file is, read from its header: two files with one name can then
// be told apart as the same package version or another one without comparing their bytes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

struct PackageIdentity {
    std::uint16_t fileVersion = 0;
    std::uint16_t licenseeVersion = 0;
    // From file version 68 on, a package carries the GUID its maker gave it and counts how often it
    // was saved again; older headers have neither, and both stay zero here.
    std::array<std::uint8_t, 16> guid{};
    std::uint32_t generations = 0;

    bool operator==(const PackageIdentity& o) const {
        return fileVersion == o.fileVersion && licenseeVersion == o.licenseeVersion && guid == o.guid &&
               generations == o.generations;
    }
    bool operator!=(const PackageIdentity& o) const { return !(*this == o); }
};

constexpr std::uint16_t FirstVersionWithGuid = 68;
// How many of a file's first bytes hold the identity of any package version.
constexpr std::size_t PackageIdentityBytes = 56;

// The identity of the package whose first bytes are given (as many as the file has, up to
// PackageIdentityBytes or more); none for a file that is no package (another signature: music,
// text) or whose header is cut short. Nothing past firstBytes is read.
std::optional<PackageIdentity> ReadPackageIdentity(std::string_view firstBytes);

// True when both are one build of a package: same file and licensee versions, and from version 68
// on the same GUID and generation count. Packages older than 68 carry no GUID, so two of them with
// equal versions count as the same even when their contents differ: the header cannot say more.
bool SamePackageVersion(const PackageIdentity& a, const PackageIdentity& b);

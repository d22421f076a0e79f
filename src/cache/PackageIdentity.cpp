// The identity fields of an Unreal package header (little-endian).
#include "cache/PackageIdentity.h"

namespace {

constexpr std::uint32_t PackageSignature = 0x9E2A83C1;
// Every version's header holds its flags and the counts and offsets of its name, export and import
// tables up to here; a file shorter than that is a damaged package whatever its version says.
constexpr std::size_t CommonHeaderBytes = 36;
constexpr std::size_t GuidAt = 36, GenerationsAt = 52;

std::uint32_t Le(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

std::optional<PackageIdentity> ReadPackageIdentity(std::string_view bytes) {
    if (bytes.size() < CommonHeaderBytes || Le(bytes, 0, 4) != PackageSignature) return std::nullopt;
    PackageIdentity id;
    id.fileVersion = static_cast<std::uint16_t>(Le(bytes, 4, 2));
    id.licenseeVersion = static_cast<std::uint16_t>(Le(bytes, 6, 2));
    if (id.fileVersion < FirstVersionWithGuid) return id;
    if (bytes.size() < PackageIdentityBytes) return std::nullopt;
    for (std::size_t i = 0; i < id.guid.size(); ++i) id.guid[i] = static_cast<std::uint8_t>(bytes[GuidAt + i]);
    id.generations = Le(bytes, GenerationsAt, 4);
    return id;
}

bool SamePackageVersion(const PackageIdentity& a, const PackageIdentity& b) {
    // Below version 68 both GUIDs and generation counts are zero, so the versions alone decide.
    return a == b;
}

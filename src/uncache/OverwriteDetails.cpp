// The overwrite question's description of the two files.
#include "uncache/OverwriteDetails.h"

#include <optional>

#include "cache/PackageIdentity.h"
#include "platform/DateFormatter.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

namespace {

std::optional<PackageIdentity> IdentityOf(FileSystem& fs, std::string_view path) {
    try {
        return ReadPackageIdentity(fs.ReadStart(path, PackageIdentityBytes));
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// "1.50 KB, 3/5/2024"; "?" for what cannot be read.
std::string SizeAndDate(FileSystem& fs, SizeFormatter& sizes, DateFormatter& dates, std::string_view path) {
    std::string size = "?", date = "?";
    try {
        size = sizes.FormatByteSize(fs.SizeOf(path));
        date = dates.FormatFileDate(fs.LastModified(path));
    } catch (const Failure&) {
    }
    return size + ", " + date;
}

}  // namespace

std::string DescribeOverwrite(FileSystem& fs, SizeFormatter& sizes, DateFormatter& dates, std::string_view cached,
                              std::string_view there) {
    const std::optional<PackageIdentity> a = IdentityOf(fs, cached), b = IdentityOf(fs, there);
    std::string text = !a || !b ? "A different file."
                       : SamePackageVersion(*a, *b) ? "The same package version, with other bytes."
                                                    : "Another version of this package.";
    return text + "\r\nCached: " + SizeAndDate(fs, sizes, dates, cached) +
           "; there now: " + SizeAndDate(fs, sizes, dates, there);
}

// What the overwrite question says under its path: what the file there is, next to the cached one.
#pragma once
#include <string>
#include <string_view>

class DateFormatter;
class FileSystem;
class SizeFormatter;

// Two lines: whether the file there is another version of the same package (their identities
// differ), the same package version with other bytes, or just a different file (either is no
// package); then the size and date of the cached file and of the file there now. What cannot be
// read shows as "?". Short enough for the prompt's two lines under its path.
std::string DescribeOverwrite(FileSystem& fs, SizeFormatter& sizes, DateFormatter& dates, std::string_view cached,
                              std::string_view there);

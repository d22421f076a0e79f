// The sorted listing of one folder's files (no sub-folders), for the index fixer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

class FileSystem;
class Prompts;

namespace MFiles {

// Slot 0 of `names` is always empty; slots 1..n hold the files' bare names, sorted by their
// lower-cased names. Sub-folders are skipped; hidden, system and read-only files are listed.
// When the folder cannot be searched, "Invalid filename!" is shown and `names` is {"", ""}.
void ListFiles(FileSystem& fs, Prompts& prompts, std::string_view folder, std::vector<std::string>& names);
// Sorts slots first..last in place by lower-cased name; 0 stands for the array's lower bound
// (first) and upper bound (last). Both bounds may be changed.
void SortNames(std::vector<std::string>& names, long& first, long& last);

}  // namespace MFiles

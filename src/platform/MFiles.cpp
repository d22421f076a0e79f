// Folder listing and the quicksort by lower-cased name.
#include "platform/MFiles.h"

#include <cctype>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The quicksort by lower-cased name, over the names and their lower-cased keys together.
void Quicksort(std::vector<std::string>& names, std::vector<std::string>& keys, long first, long last) {
    long i = first, j = last;
    const std::string pivot = keys[static_cast<std::size_t>((first + last) / 2)];
    for (;;) {
        while (keys[static_cast<std::size_t>(i)] < pivot) ++i;
        while (pivot < keys[static_cast<std::size_t>(j)]) --j;
        if (i > j) break;
        std::swap(names[static_cast<std::size_t>(i)], names[static_cast<std::size_t>(j)]);
        std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
        ++i;
        --j;
        if (i > j) break;
    }
    if (first < j) Quicksort(names, keys, first, j);
    if (i < last) Quicksort(names, keys, i, last);
}

}  // namespace

namespace MFiles {

void ListFiles(FileSystem& fs, Prompts& prompts, std::string_view folder, std::vector<std::string>& names) {
    names.assign(2, std::string());
    std::string pattern(folder);
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    std::vector<FoundFile> found;
    try {
        found = fs.List(pattern);
    } catch (const Failure&) {
        prompts.Message("Invalid filename!", ProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    names.resize(1);
    for (FoundFile& f : found) {
        if ((f.attributes & AttrFolder) == 0) names.push_back(std::move(f.name));
    }
    long first = 0, last = 0;
    if (names.size() > 1) SortNames(names, first, last);
}

void SortNames(std::vector<std::string>& names, long& first, long& last) {
    if (names.empty()) return;  // no bounds, no pivot
    if (last == 0) last = static_cast<long>(names.size()) - 1;
    // Each name is lower-cased once, not on every comparison; the keys move with their names.
    std::vector<std::string> keys(names.size());
    for (long i = first; i <= last; ++i) keys[static_cast<std::size_t>(i)] = Lower(names[static_cast<std::size_t>(i)]);
    Quicksort(names, keys, first, last);
}

}  // namespace MFiles

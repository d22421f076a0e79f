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
    long i = first, j = last;
    const std::string pivot = Lower(names[static_cast<std::size_t>((first + last) / 2)]);
    for (;;) {
        while (Lower(names[static_cast<std::size_t>(i)]) < pivot) ++i;
        while (pivot < Lower(names[static_cast<std::size_t>(j)])) --j;
        if (i > j) break;
        std::swap(names[static_cast<std::size_t>(i)], names[static_cast<std::size_t>(j)]);
        ++i;
        --j;
        if (i > j) break;
    }
    if (first < j) SortNames(names, first, j);
    if (i < last) SortNames(names, i, last);
}

}  // namespace MFiles

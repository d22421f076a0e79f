// Install marks from one listing of each destination folder.
#include "app/InstallMarks.h"

#include <utility>

#include "cache/AsciiCase.h"
#include "cache/FileType.h"
#include "platform/Failure.h"

namespace {

constexpr std::size_t DestinationTypes = static_cast<std::size_t>(FileType::Other);

}  // namespace

InstallMarks::InstallMarks(FileSystem& fs, std::string gameFolder)
    : fs_(fs), gameFolder_(std::move(gameFolder)), folders_(DestinationTypes) {}

// An open-addressing table of positions in `found`: no allocation per name, and the names stay as
// the disk spells them. Windows matches names without letter case, but only ASCII letters are
// folded here: beyond ASCII the volume's own case table decides, which a listing cannot
// reproduce, so such names match exactly. A name spelt in other accented capitals is then marked
// New when it is in fact there; un-caching still finds it and asks before replacing it, so the
// mark costs nothing worse than a question.
void InstallMarks::Folder::Fill(std::vector<FoundFile> entries) {
    found = std::move(entries);
    std::size_t size = 16;
    while (size < 2 * found.size()) size *= 2;
    slots.assign(size, 0);
    next.assign(found.size(), 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = found.size(); i-- > 0;) {  // backwards, so that each chain runs in listing order
        const std::string& name = found[i].name;
        if (name == "." || name == "..") continue;
        std::size_t at = HashIgnoringAsciiCase(name) & mask;
        while (slots[at] != 0 && !SameIgnoringAsciiCase(found[slots[at] - 1].name, name)) at = (at + 1) & mask;
        next[i] = slots[at];
        slots[at] = static_cast<std::uint32_t>(i + 1);
    }
}

const FoundFile* InstallMarks::Folder::Find(std::string_view name) const {
    if (slots.empty()) return nullptr;
    const std::size_t mask = slots.size() - 1;
    std::size_t at = HashIgnoringAsciiCase(name) & mask;
    while (slots[at] != 0 && !SameIgnoringAsciiCase(found[slots[at] - 1].name, name)) at = (at + 1) & mask;
    if (slots[at] == 0) return nullptr;
    // Names that differ only in letter case can share a folder under Wine (or in a folder Windows
    // keeps case-sensitive): the one spelt exactly is the one a copy would reach, else the first.
    for (std::uint32_t i = slots[at]; i != 0; i = next[i - 1])
        if (found[i - 1].name == name) return &found[i - 1];
    return &found[slots[at] - 1];
}

InstallMark InstallMarks::Of(std::string_view realName, std::uint64_t size, std::uint64_t modified) {
    const FileType type = ClassifyFileName(realName);
    if (type == FileType::Other) return InstallMark::Unmarked;
    Folder& folder = folders_[static_cast<std::size_t>(type)];
    if (!folder.read) {
        folder.read = true;
        try {
            folder.Fill(fs_.List(gameFolder_ + std::string(DestinationSubFolder(type)) + "*"));
        } catch (const Failure&) {
            // A folder that cannot be listed (mostly: not there yet) holds nothing un-cached before.
        }
    }
    const FoundFile* there = folder.Find(realName);
    if (there == nullptr) return InstallMark::NotInstalled;
    // A hidden or system file counts like any other: the game loads it, and Windows refuses to copy
    // over it, so its name is taken. A folder of that name makes any copy there fail: it is never
    // this file, so Different is the honest mark.
    if (there->attributes & AttrFolder) return InstallMark::Different;
    // Copying and moving keep a file's last-write time, and the cache and the destination folders
    // lie in one game folder on one volume, with one time resolution: equal times are exact.
    return there->size == size && there->modified == modified ? InstallMark::SameFile : InstallMark::Different;
}

void MarkCounts::Add(InstallMark mark) {
    switch (mark) {
        case InstallMark::NotInstalled: ++notInstalled; break;
        case InstallMark::SameFile: ++sameFile; break;
        case InstallMark::Different: ++different; break;
        case InstallMark::Unmarked: ++unmarked; break;
    }
}

MarkCounts CountMarks(const std::vector<InstallMark>& marks) {
    MarkCounts counts;
    for (const InstallMark mark : marks) counts.Add(mark);
    return counts;
}

std::string_view MarkText(InstallMark mark) {
    switch (mark) {
        case InstallMark::NotInstalled: return "New";
        case InstallMark::SameFile: return "Installed";
        case InstallMark::Different: return "Other version";
        case InstallMark::Unmarked: break;
    }
    return {};
}

std::string_view MarkSymbol(InstallMark mark) {
    switch (mark) {
        case InstallMark::NotInstalled: return "+";
        case InstallMark::SameFile: return "=";
        case InstallMark::Different: return "*";
        case InstallMark::Unmarked: break;
    }
    return {};
}

std::string MarkLegend(const MarkCounts& counts) {
    const std::string dot = "   ";
    const auto part = [](InstallMark mark, std::uint32_t count) {
        return std::string(MarkSymbol(mark)) + " " + std::string(MarkText(mark)) + ": " + std::to_string(count);
    };
    return part(InstallMark::NotInstalled, counts.notInstalled) + dot + part(InstallMark::SameFile, counts.sameFile) +
           dot + part(InstallMark::Different, counts.different);
}

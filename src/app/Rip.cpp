// The main window's folder check and cache listing.
#include "app/Rip.h"

#include <algorithm>
#include <stdexcept>

#include "app/CacheDeletion.h"
#include "app/ShareSelected.h"
#include "cache/CacheFolder.h"
#include "cache/CacheIndex.h"
#include "cache/ErrorReport.h"
#include "cache/FileType.h"
#include "cache/GameFolder.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "uncache/UncacheRun.h"

namespace {

struct Category {
    RipLabel label;
    const char* prefix;
};

// In the order in which the labels are written after a load.
constexpr Category Categories[] = {
    {RipLabel::Sys, "System files (*.u, *.int) : "}, {RipLabel::Maps, "Maps (*.ut2) : "},
    {RipLabel::Anim, "Animations (*.ukx) : "},       {RipLabel::StatM, "Static Meshes (*.usx) : "},
    {RipLabel::Textures, "Textures (*.utx) : "},     {RipLabel::Sounds, "Sounds (*.uax) : "},
    {RipLabel::Music, "Music files (*.umx, *.ogg) : "}, {RipLabel::Save, "Save files (*.uvx) : "},
    {RipLabel::Unknown, "Unknown (other) : "},
};

RipLabel CategoryOf(std::string_view rowText) {
    switch (ClassifyFileName(rowText)) {
        case FileType::System: return RipLabel::Sys;
        case FileType::Maps: return RipLabel::Maps;
        case FileType::Textures: return RipLabel::Textures;
        case FileType::Sounds: return RipLabel::Sounds;
        case FileType::Music: return RipLabel::Music;
        case FileType::StaticMeshes: return RipLabel::StatM;
        case FileType::Saves: return RipLabel::Save;
        case FileType::Animations: return RipLabel::Anim;
        case FileType::Other: break;
    }
    return RipLabel::Unknown;
}

// The total divided by the count, rounded to the nearest whole number, halves to even.
std::uint64_t RoundedAverage(std::uint64_t total, std::uint64_t count) {
    const std::uint64_t q = total / count, r = total % count;
    if (r * 2 > count || (r * 2 == count && (q % 2) == 1)) return q + 1;
    return q;
}

}  // namespace

std::string Rip::KeyOfRow(int row) {
    const int slot = view_.RowData(row);
    if (slot < 1 || static_cast<std::size_t>(slot) >= CacheKeys.size())
        throw std::logic_error("list row without a key slot");
    return std::string(CacheKeys[static_cast<std::size_t>(slot)]);
}

void Rip::LocateFolder() {
    const std::string cleaned = CleanPathText(LocateGameFolder(ports_.registry));
    view_.SetPathText(cleaned);
    ValidPath = IsGameFolder(ports_.files, cleaned);
}

void Rip::CheckPath() {
    const std::string cleaned = CleanPathText(view_.PathText());
    view_.SetPathText(cleaned);
    ValidPath = IsGameFolder(ports_.files, cleaned);
    // Off before the message, so that one departure from the path box never shows it twice.
    view_.StopPathTimer();
    if (!ValidPath) {
        ports_.prompts.Message("Invalid path!", ProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        view_.SelectWholePathText();
        view_.FocusPath();
    }
}

void Rip::LoadCache() {
    CheckPath();
    if (!ValidPath) {
        ports_.prompts.Message("Please enter a valid path!", ProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        view_.SelectWholePathText();
        view_.FocusPath();
        return;
    }
    const std::string folder = GameFolder();
    FileSystem& fs = ports_.files;
    view_.SetLabel(RipLabel::Summary, "");
    // Whatever happens while the rows go in (memory running out included, or no index at all), the
    // list is redrawn, every row it holds has its key in CacheKeys, and the counts and the size
    // line describe exactly those rows.
    struct Tally {
        Rip& rip;
        std::uint32_t counts[std::size(Categories)] = {};
        std::uint64_t total = 0;
        int rows = 0;
        MarkCounts marks;
        ~Tally() {
            try {
                rip.ShowCounts(counts, total, rows);
                rip.view_.SetLabel(RipLabel::Legend, rows == 0 ? std::string() : MarkLegend(marks));
            } catch (...) {
                // A label that cannot be set keeps its text; the failure in hand is the one told.
            }
            rip.view_.EndRows();
        }
    } tally{*this, {}, 0, 0, {}};
    view_.BeginRows();
    CacheKeys.assign(2, std::string_view());
    Marks.assign(2, InstallMark::Unmarked);
    listed_ = IndexEntries();  // the old keys' text goes before the new is read

    bool indexThere = false;
    try {
        indexThere = fs.Exists(IndexPath(folder));
    } catch (const Failure&) {
    }
    if (!indexThere) return;

    try {
        listed_ = ReadIndexFixed(fs, ports_.codePage, IndexPath(folder));
    } catch (const Failure&) {
        // Nothing could be read: the listing is what was read so far, which is nothing.
    }
    CacheKeys.reserve(listed_.size() + 2);
    Marks.reserve(listed_.size() + 2);
    CacheFolder cache(fs, folder, listed_);
    InstallMarks installed(fs, folder);
    for (std::size_t i = 0; i < listed_.size(); ++i) {
        const IndexEntry entry = listed_[i];
        std::uint64_t size = 0, modified = 0;
        if (!cache.SizeAndDateOf(i, size, modified)) continue;  // no cached file: not listed, not counted
        const InstallMark mark = installed.Of(entry.RealName, size, modified);
        CacheKeys.push_back(entry.Key);
        Marks.push_back(mark);
        try {
            view_.AddRow(entry.RealName, static_cast<int>(CacheKeys.size() - 1), mark);
        } catch (...) {
            CacheKeys.pop_back();
            Marks.pop_back();
            throw;
        }
        tally.marks.Add(mark);
        tally.total += size;
        ++tally.rows;
        const RipLabel label = CategoryOf(entry.RealName);
        for (std::size_t i = 0; i < std::size(Categories); ++i) {
            if (Categories[i].label == label) ++tally.counts[i];
        }
    }
}

void Rip::ShowCounts(const std::uint32_t* counts, std::uint64_t total, int rows) {
    for (std::size_t i = 0; i < std::size(Categories); ++i)
        view_.SetLabel(Categories[i].label, Categories[i].prefix + std::to_string(counts[i]));
    SizeFormatter& sizes = ports_.sizes;
    const std::uint64_t average = rows == 0 ? 0 : RoundedAverage(total, static_cast<std::uint64_t>(rows));
    view_.SetLabel(RipLabel::MB, "Cache size:  " + sizes.FormatByteSize(total) + " / " + std::to_string(rows) +
                                     " files  =  " + sizes.FormatByteSize(average) + " / file");
}

void Rip::cmdFind_Click() {
    try {
        LocateFolder();
    } catch (const std::exception& e) {
        ReportUnexpectedError(ports_.prompts, ports_.clipboard, ReportSite::Find, e.what());
    }
}

void Rip::cmdRefresh_Click() {
    if (!busy_) LoadCache();
}

void Rip::cmdSelAll_Click() {
    try {
        std::vector<int> rows(static_cast<std::size_t>(std::max(view_.RowCount(), 0)));
        for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = static_cast<int>(r);
        view_.SelectRows(rows);
    } catch (const std::exception& e) {
        ReportUnexpectedError(ports_.prompts, ports_.clipboard, ReportSite::SelAll, e.what());
    }
}

void Rip::mnuSelNew_Click() {
    if (busy_) return;
    view_.ClearSelection();
    const int rows = view_.RowCount();
    std::vector<int> fresh;
    for (int r = 0; r < rows; ++r) {
        const auto slot = static_cast<std::size_t>(view_.RowData(r));
        if (slot < Marks.size() && Marks[slot] == InstallMark::NotInstalled) fresh.push_back(r);
    }
    view_.SelectRows(fresh);
}

void Rip::cmdUncache_Click() {
    if (busy_) return;
    BusyGuard guard(*this);
    Uncache(*this);
}

void Rip::mnuExportZip_Click() {
    if (busy_) return;
    BusyGuard guard(*this);
    ExportSelectedAsZip(*this);
}

void Rip::mnuCompressUz2_Click() {
    if (busy_) return;
    BusyGuard guard(*this);
    CompressSelectedForRedirect(*this);
}

void Rip::cmdDelete_Click() {
    if (busy_) return;
    BusyGuard guard(*this);
    DeleteSelectedCachedFiles(*this);
}

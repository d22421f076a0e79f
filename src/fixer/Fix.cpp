// The fixer's scan, its inspection of entries and files, and its repairs of cache.ini.
#include "fixer/Fix.h"

#include "cache/ErrorReport.h"
#include "fixer/ConsistencyScan.h"
#include "fixer/FixerHost.h"
#include "platform/DateFormatter.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MFiles.h"
#include "platform/Prompts.h"

namespace {

// The user answered No to the scan's error report: the scan ends where it is.
struct ScanEnded {};

std::size_t Slot(FixList list) { return static_cast<std::size_t>(list); }

std::string CachedName(const IndexEntry& entry) { return std::string(entry.Key) + "-1.uxx"; }

}  // namespace

// A step of the scan that may fail. The failure is reported; Yes goes on with the next step.
template <typename Action>
void Fix::Step(Action action) {
    try {
        action();
    } catch (const Failure& f) {
        if (!ReportUnexpectedError(ports_.prompts, ports_.clipboard, ReportSite::FixRefreshLists, f.what()))
            throw ScanEnded{};
    }
}

void Fix::RefreshLists() {
    if (!host_.IsPathValid()) {
        ports_.prompts.Message("Please enter a valid path in main window!", "Stoopid user", MsgIcon::Critical,
                               MsgButtons::Ok);
        // Rows of an earlier scan, or a summary of none, would describe a folder not scanned.
        view_.BeginRows();
        for (auto& rows : rows_) rows.clear();
        view_.EndRows();
        view_.EnableDelHex(false);
        view_.SetLabel(FixLabel::Info, "Not scanned: the path in the main window is not a valid UT2003 folder.");
        return;
    }
    // However the scan ends, the lists are redrawn with the rows they received.
    struct RowsGuard {
        FixView& view;
        ~RowsGuard() { view.EndRows(); }
    } rowsGuard{view_};
    view_.BeginRows();
    for (auto& rows : rows_) rows.clear();
    view_.EnableDelHex(false);
    view_.SetFilenameText("");
    view_.SetLabel(FixLabel::Size, "");
    view_.SetLabel(FixLabel::Modif, "");
    ini_ = IndexEntries();
    cacheFiles_.clear();

    const std::string folder = host_.GameFolder();
    try {
        Step([&] { ReadIndex(folder); });
        Step([&] { MFiles::ListFiles(ports_.files, ports_.prompts, folder + "\\Cache\\", cacheFiles_); });
        Step([&] { FillLists(); });
        Step([&] {
            const std::size_t unreferenced = rows_[Slot(FixList::Files)].size();
            view_.SetLabel(FixLabel::Info, ScanSummary(unreferenced, rows_[Slot(FixList::Cache)].size()));
        });
    } catch (const ScanEnded&) {
        // The lists keep what they received.
    }
}

void Fix::ReadIndex(const std::string& folder) {
    if (!ports_.files.Exists(IndexPath(folder))) {
        ports_.prompts.Message("No cache.ini file in " + folder + "\\Cache", ProgramTitle, MsgIcon::None,
                               MsgButtons::Ok);
        return;
    }
    try {
        ini_ = ReadIndexSplit(ports_.files, ports_.codePage, IndexPath(folder));
    } catch (const UnreadableIndex&) {
        Warn(UnreadableIndexMessage(folder), ProgramTitle);
    }
}

void Fix::FillLists() {
    const ScanRows scan = CompareIndexWithFolder(ini_, cacheFiles_);
    for (std::size_t k : scan.ok) AddRow(FixList::OK, k, ini_[k - 1].RealName);
    for (std::size_t k : scan.missing) AddRow(FixList::Cache, k, ini_[k - 1].RealName);
    for (std::size_t i : scan.unreferenced) AddRow(FixList::Files, i, cacheFiles_[i]);
    for (std::size_t i : scan.physical) AddRow(FixList::Hex, i, cacheFiles_[i]);
}

// A row goes into the window first: a row the window refused stands for nothing.
void Fix::AddRow(FixList list, std::size_t stands, std::string_view text) {
    view_.AddRow(list, text);
    rows_[Slot(list)].push_back(stands);
}

// What the selected row of `list` stands for; 0 when no row is selected.
std::size_t Fix::Selected(FixList list) {
    const int row = view_.SelectedRow(list);
    const std::vector<std::size_t>& rows = rows_[Slot(list)];
    return row >= 0 && static_cast<std::size_t>(row) < rows.size() ? rows[static_cast<std::size_t>(row)] : 0;
}

bool Fix::Shows(FixList list, const std::string& realName) const {
    for (std::size_t k : rows_[Slot(list)]) {
        if (ini_[k - 1].RealName == realName) return true;
    }
    return false;
}

// Selects the first row of cmbHex that shows `file`, with what choosing it enables; cmbHex keeps
// its selection when no row shows it. The caller shows the file's details.
void Fix::SelectHex(const std::string& file) {
    const std::vector<std::size_t>& rows = rows_[Slot(FixList::Hex)];
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (cacheFiles_[rows[r]] != file) continue;
        view_.SelectRow(FixList::Hex, static_cast<int>(r));
        view_.EnableDelHex(true);
        return;
    }
}

void Fix::ShowDetails(const std::string& file) {
    const std::string path = host_.GameFolder() + "\\Cache\\" + file;
    std::uint64_t size = 0, modified = 0;
    try {
        size = ports_.files.SizeOf(path);
        modified = ports_.files.LastModified(path);
    } catch (const Failure& f) {
        // Gone or locked since the scan: the user learns why, and a fresh scan shows what is there.
        Warn("Morvane cannot read the size and date of \"" + path + "\":\r\n" + f.what(), ProgramTitle);
        RefreshLists();
        return;
    }
    view_.SetLabel(FixLabel::Size, ports_.sizes.FormatByteSize(size) + " (" + std::to_string(size) + " bytes)");
    view_.SetLabel(FixLabel::Modif, ports_.dates.FormatFileTime(modified));
}

void Fix::cmbHex_Change() {
    const std::size_t slot = Selected(FixList::Hex);
    view_.EnableDelHex(slot != 0);
    if (slot != 0) ShowDetails(cacheFiles_[slot]);
}

void Fix::lstOK_Click() {
    const std::size_t k = Selected(FixList::OK);
    if (k == 0) return;
    view_.SelectRow(FixList::Cache, -1);
    view_.SelectRow(FixList::Files, -1);
    const std::string file = CachedName(ini_[k - 1]);
    SelectHex(file);
    view_.SetFilenameText(ini_[k - 1].RealName);
    ShowDetails(file);
}

void Fix::lstFiles_Click() {
    const std::size_t i = Selected(FixList::Files);
    if (i == 0) return;
    view_.SelectRow(FixList::Cache, -1);
    view_.SelectRow(FixList::OK, -1);
    const std::string file = cacheFiles_[i];
    SelectHex(file);
    view_.SetFilenameText("");  // for the user to type the real name
    ShowDetails(file);
}

void Fix::lstCache_Click() {
    const std::size_t k = Selected(FixList::Cache);
    if (k == 0) return;
    view_.SelectRow(FixList::OK, -1);
    view_.SelectRow(FixList::Files, -1);
    view_.SetFilenameText(ini_[k - 1].RealName);
    view_.SetLabel(FixLabel::Size, "???");
    view_.SetLabel(FixLabel::Modif, "???");
    view_.SelectRow(FixList::Hex, -1);
    cmbHex_Change();
}

// The game finds a cached file by its line's key followed by "-1.uxx", and a line is read back
// without the blanks around it, its key up to the first "=". So a file is bound only when its key
// names that very file and the line written for it reads back as the same key and name.
bool Fix::CanBind(const std::string& file, const std::string& key, const std::string& name) {
    const auto readBack = [&](const std::string& k, const std::string& n) {
        const IndexEntries back =
            ParseIndexSplit("\xEF\xBB\xBF" + BuildIndexText({{k, n}}), ports_.codePage);  // UTF-8, as written
        if (back.size() != 1) return CacheEntry{"?", "?"};  // "?" is in no file name
        return CacheEntry{std::string(back[0].Key), std::string(back[0].RealName)};
    };
    if (key + "-1.uxx" != file || readBack(key, "x").Key != key) {
        Warn("\"" + file + "\" cannot be bound to a real filename: the game looks for a cached file under its "
             "cache.ini key followed by \"-1.uxx\", so a line for this file would name another file or none. "
             "cache.ini is left as it is.", ProgramTitle);
        return false;
    }
    if (readBack(key, name).RealName != name) {
        Warn("\"" + name + "\" cannot be written to cache.ini as it is: blanks at the end of a name and line breaks "
             "are lost when cache.ini is read. Please enter the real filename without them.", ProgramTitle);
        return false;
    }
    return true;
}

bool Fix::AskReplace(const char* why) {
    return ports_.prompts.Message(std::string(why) + "\r\nDo you want to replace it?", "Replace file?",
                                  MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

void Fix::cmdSave_Click() {
    const std::size_t slot = Selected(FixList::Hex);
    if (slot == 0) return Warn("Please select an existing physical file!", "No file selected");
    const std::string file = cacheFiles_[slot], name = view_.FilenameText();
    if (name.empty()) return Warn("You have not entered a name for this file!", "No filename inputted");
    const std::string key = file.substr(0, file.find('-'));
    if (!CanBind(file, key, name)) return;
    for (std::size_t k : rows_[Slot(FixList::OK)]) {
        if (file == CachedName(ini_[k - 1]) && !AskReplace("This cached file is already referenced in cache.ini."))
            return;
        if (name == ini_[k - 1].RealName &&
            !AskReplace("This filename is already referenced as a valid file in cache.ini."))
            return;
    }
    const std::string path = host_.GameFolder() + "\\Cache\\" + file;
    try {
        ports_.files.SizeOf(path);
    } catch (const Failure& f) {
        Warn("\"" + path + "\" is no longer there, so cache.ini stays as it is:\r\n" + f.what(), ProgramTitle);
        return RefreshLists();
    }
    // Every line of the same key or the same name goes, asked about or not; the new one comes last.
    const CacheEntry line{key, name};
    Edit({[&](const IndexEntry& e) { return e.Key == key || e.RealName == name; }, &line});
    RefreshLists();
}

void Fix::cmdDelCache_Click() {
    const std::string name = view_.FilenameText();
    if (name.empty()) return Warn("Please enter a cache.ini reference to delete!", ProgramTitle);
    const char* question = nullptr;
    if (Shows(FixList::OK, name)) question = "This is a VALID file, are you really sure you want to delete it?";
    else if (Shows(FixList::Cache, name)) question = "Are you really sure you want to delete this file?";
    if (question == nullptr) return Warn("File isn't referenced in cache.ini!", "Invalid filename!");
    if (ports_.prompts.Message(question, name, MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes) return;
    // The cached file stays: the next scan lists it as unreferenced.
    if (Edit({[&](const IndexEntry& e) { return e.RealName == name; }, nullptr}) == 0) {
        Warn("cache.ini no longer references \"" + name + "\", so it stays as it is. The lists now show cache.ini "
             "as it is.", ProgramTitle);
    }
    RefreshLists();
}

void Fix::cmdDelHex_Click() {
    const std::size_t slot = Selected(FixList::Hex);
    if (slot == 0) return Warn("Please select a file to delete!", "Select a file, dummy!");
    const std::string file = cacheFiles_[slot];
    if (ports_.prompts.Message("Are you sure you want to delete " + file + " ?", "Confirm file deletion",
                               MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes)
        return;
    // cache.ini stays: the next scan lists an entry of the deleted file as one whose file is missing.
    const std::string path = host_.GameFolder() + "\\Cache\\" + file;
    try {
        ports_.files.Remove(path);
    } catch (const Failure& f) {
        Warn("Morvane could not delete \"" + path + "\":\r\n" + f.what(), ProgramTitle);
    }
    RefreshLists();
}

// Edits cache.ini as it is now, not as the last scan read it: a line the game has added since stays.
// How many lines went; -1 when it could not be rewritten (the user has been told).
long Fix::Edit(const IndexEdit& edit) {
    const std::string folder = host_.GameFolder();
    try {
        return static_cast<long>(RewriteIndexEdited(ports_.files, ports_.codePage, folder, edit));
    } catch (const Failure& f) {
        // The rewrite is all or nothing: the old index is still there, byte for byte.
        Warn("Morvane could not rewrite \"" + IndexPath(folder) + "\", which stays as it was:\r\n" + f.what(),
             ProgramTitle);
        return -1;
    }
}

void Fix::Form_QueryUnload() { host_.LoadCache(); }

void Fix::Warn(const std::string& text, const char* title) {
    ports_.prompts.Message(text, title, MsgIcon::Exclamation, MsgButtons::Ok);
}

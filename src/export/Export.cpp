// The zip export and the .uz2 compression, step by step: each selected package checked and sized,
// the target asked about when it is there, then written under a temporary name and put in place.
#include "export/Export.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "cache/CacheIndex.h"
#include "cache/FileType.h"
#include "cache/GameFolder.h"
#include "export/PackageSource.h"
#include "export/PendingFile.h"
#include "export/Uz2Writer.h"
#include "export/ZipWriter.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Utf.h"

namespace {

// Thrown from the progress callback's "cancel": the file being written goes, the run ends.
struct Cancelled {};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

// Backslashes for slashes, no doubled ones, lower case: paths as Windows compares them.
std::string Folded(std::string_view path) {
    std::string folded;
    for (char c : Lower(path)) {
        if (c == '/') c = '\\';
        if (c == '\\' && !folded.empty() && folded.back() == '\\') continue;
        folded += c;
    }
    return folded;
}

// Whether the path lies in the game's cache folder, where a file of ours would stand beside the
// cached files, or even take the index's place. Only the path's text is compared.
bool InCacheFolder(std::string_view gameFolder, std::string_view path) {
    std::string cache = Folded(gameFolder);
    while (!cache.empty() && cache.back() == '\\') cache.pop_back();
    cache += "\\cache\\";
    return Folded(std::string(path) + "\\").compare(0, cache.size(), cache) == 0;
}

std::string LeftOut(const ExportPackage& p, std::string_view why) {
    return "\"" + Printable(p.realName) + "\" is left out: " + std::string(why);
}

// Why the package's name in cache.ini cannot be used, or "".
std::string NameRefusal(const ExportPackage& p) {
    NameFault fault = CheckFileName(p.realName);
    if (fault == NameFault::None) fault = CheckFileName(p.key + "-1.uxx");
    switch (fault) {
        case NameFault::None: return "";
        case NameFault::LeavesFolder: return "its name in cache.ini would place it outside your UT2003 folders.";
        case NameFault::NotAFileName:
        case NameFault::CacheFolder: break;
    }
    return "its name in cache.ini is not one that Windows allows for a file (a device name such as NUL or COM1, a "
           "name ending in a dot or a blank, or one holding a control character or one of < > \" | ? *).";
}

struct Planned {
    const ExportPackage* package;
    std::string name;    // in the zip, or the .uz2 file's path
    std::string source;  // the cached file
    std::uint64_t size = 0;
};

// What both exports share: the plan of the packages, the progress and its cancel, the notes.
class ExportRun {
public:
    ExportRun(FileSystem& fs, std::string_view gameFolder, const ExportCallbacks& callbacks, ExportResult& result)
        : fs_(fs), gameFolder_(gameFolder), callbacks_(callbacks), result_(result) {}

    // The packages that can be written, in their order, under the name `nameOf` gives them (where
    // it gives a reason instead, the package is left out for it). A later package of a name taken
    // already (compared as Windows does, without letter case) is left out too: it would replace the
    // first one when the player unpacks or serves them.
    template <typename NameOf>
    std::vector<Planned> Plan(const std::vector<ExportPackage>& packages, const NameOf& nameOf, const char* taken) {
        progress_.filesChosen = packages.size();
        std::vector<Planned> plan;
        std::unordered_set<std::string> names;
        for (const ExportPackage& p : packages) {
            std::string why = NameRefusal(p);
            Planned planned{&p, {}, CachedFilePath(gameFolder_, p.key)};
            if (why.empty()) nameOf(p, planned.name, why);
            if (why.empty() && !names.insert(Folded(planned.name)).second) why = taken;
            if (!why.empty()) {
                result_.skipped.push_back(LeftOut(p, why));
                ++progress_.filesDone;
                continue;
            }
            try {
                planned.size = fs_.SizeOf(planned.source);
            } catch (const Failure& f) {
                result_.failed.push_back(Unreadable(planned, f.what()));
                ++progress_.filesDone;
                continue;
            }
            progress_.bytesTotal += planned.size;
            plan.push_back(std::move(planned));
        }
        return plan;
    }

    // Tells the caller how far the run is; a "cancel" ends it.
    void Report() {
        if (callbacks_.progress && !callbacks_.progress(progress_)) throw Cancelled{};
    }
    // After each piece of a file: `read` of its bytes so far, on top of the files before it.
    // A zip entry that does not deflate is read a second time: the bar stays where the first reading left it.
    void Report(std::uint64_t before, std::uint64_t read) {
        progress_.bytesDone = std::max(progress_.bytesDone, before + read);
        Report();
    }
    // After each file, written or not.
    void Done(std::uint64_t before, const Planned& p) {
        ++progress_.filesDone;
        Report(before, p.size);
    }
    std::uint64_t BytesDone() const { return progress_.bytesDone; }

    enum class Target { Free, Replaced, Kept };
    // Whether the target is there, and then whether the player lets it be replaced (a file kept is
    // noted); a failed look-up throws.
    Target Ask(const std::string& target) {
        if (!fs_.Exists(target)) return Target::Free;
        if (callbacks_.mayReplace && callbacks_.mayReplace(target)) return Target::Replaced;
        result_.skipped.push_back(target + " is there already and was kept.");
        return Target::Kept;
    }

    std::string Unreadable(const Planned& p, std::string_view why) const {
        return LeftOut(*p.package, "its cached file " + p.source + " could not be read: " + std::string(why));
    }

    // Removes an unfinished file; a failure to do so is a failure of its own.
    void Discard(PendingFile& file) {
        const std::string why = file.Discard();
        if (!why.empty())
            result_.failed.push_back("The unfinished file " + file.Temporary() + " could not be removed: " + why);
    }

    // "; 1 not smaller, 2 skipped, 1 failed." without the parts that are none.
    std::string Tally() const {
        std::string text;
        const std::pair<std::size_t, const char*> parts[] = {
            {result_.notSmaller.size(), " not smaller"}, {result_.skipped.size(), " skipped"},
            {result_.failed.size(), " failed"}};
        for (const auto& [count, what] : parts)
            if (count != 0) text += (text.empty() ? "; " : ", ") + std::to_string(count) + what;
        return text + ".";
    }

private:
    FileSystem& fs_;
    const std::string gameFolder_;
    const ExportCallbacks& callbacks_;
    ExportResult& result_;
    ExportProgress progress_;
};

std::string Packages(std::size_t n) { return std::to_string(n) + (n == 1 ? " package" : " packages"); }

// The zip's folder for files of other types ("Help/Docs/"), or the reason there is none.
std::string OtherFolder(std::string_view answer, std::string& why) {
    const std::string shown = "\"" + Printable(answer) + "\"";
    switch (answer.empty() ? NameFault::LeavesFolder : CheckSubFolder(answer)) {
        case NameFault::None: break;
        case NameFault::LeavesFolder:
            why = answer.empty() ? "no folder was named for files of its type."
                                 : "the folder for files of its type, " + shown + ", is not inside your UT2003 folder.";
            return "";
        case NameFault::NotAFileName:
            why = "the folder for files of its type, " + shown + ", is not a folder name that Windows allows.";
            return "";
        case NameFault::CacheFolder:
            why = "the folder for files of its type, " + shown + ", is in your UT2003 cache folder.";
            return "";
    }
    std::string folder, part;
    for (std::size_t at = 0; at <= answer.size(); ++at) {
        if (at < answer.size() && answer[at] != '\\' && answer[at] != '/') {
            part += answer[at];
            continue;
        }
        if (!part.empty() && part != ".") folder += part + "/";
        part.clear();
    }
    return folder;
}

}  // namespace

bool HasOtherTypes(const std::vector<ExportPackage>& packages) {
    for (const ExportPackage& p : packages)
        if (ClassifyFileName(p.realName) == FileType::Other) return true;
    return false;
}

ExportResult ExportZip(FileSystem& fs, std::string_view gameFolder, const std::vector<ExportPackage>& packages,
                       std::string_view otherFolder, const std::string& zipPath, const ExportCallbacks& callbacks) {
    ExportResult result;
    ExportRun run(fs, gameFolder, callbacks, result);
    const auto notWritten = [&] { result.summary = zipPath + " was not written" + run.Tally(); };
    if (InCacheFolder(gameFolder, zipPath)) {
        result.failed.push_back(zipPath + " is in your UT2003 cache folder, where Morvane writes nothing.");
        notWritten();
        return result;
    }
    std::string otherWhy;
    const std::string other = OtherFolder(otherFolder, otherWhy);
    const std::vector<Planned> plan = run.Plan(
        packages,
        [&](const ExportPackage& p, std::string& name, std::string& why) {
            const FileType type = ClassifyFileName(p.realName);
            if (type == FileType::Other && other.empty()) {
                why = otherWhy;
                return;
            }
            if (type == FileType::Other) name = other + p.realName;
            else name = std::string(DestinationSubFolder(type).substr(1)) + p.realName;
            for (char& c : name) c = c == '\\' ? '/' : c;
            // The names are flagged as UTF-8, which a half of a UTF-16 pair is not; the format
            // gives a name at most 65,535 bytes.
            if (!IsUtf8(name, true) || name.size() > 0xFFFF) why = "its name cannot be written in a zip.";
        },
        "the zip holds a package of its name already.");

    std::optional<PendingFile> file;
    try {
        run.Report();
        if (plan.empty()) {
            notWritten();
            return result;
        }
        const ExportRun::Target target = run.Ask(zipPath);
        if (target == ExportRun::Target::Kept) {
            notWritten();
            return result;
        }
        file.emplace(fs, zipPath);
        ZipWriter zip(file->Out(), ExportLevel);
        for (const Planned& p : plan) {
            const std::uint64_t before = run.BytesDone();
            std::uint64_t modified = 0;  // unknown: the zip says 1980
            try {
                modified = fs.LastModified(p.source);
            } catch (const Failure&) {
            }
            try {
                zip.Add(fs, p.source, p.size, modified, p.name, [&](std::uint64_t read) { run.Report(before, read); });
                ++result.packages;
            } catch (const SourceFailure& f) {
                result.failed.push_back(run.Unreadable(p, f.what()));
            }
            run.Done(before, p);
        }
        if (zip.Entries() == 0) {
            run.Discard(*file);
            notWritten();
            return result;
        }
        zip.Close();
        file->PutInPlace(target == ExportRun::Target::Replaced);
        result.written.push_back(zipPath);
        result.summary = "Exported " + Packages(result.packages) + " to " + zipPath + run.Tally();
        return result;
    } catch (const Cancelled&) {
        if (file) run.Discard(*file);
        result.cancelled = true;
        result.packages = 0;
        result.summary = "The export to " + zipPath + " was cancelled; nothing was written.";
    } catch (const Failure& f) {
        result.failed.push_back(zipPath + " was not written: " + f.what());
        if (file) run.Discard(*file);
        result.packages = 0;
        notWritten();
    }
    return result;
}

ExportResult CompressForRedirect(FileSystem& fs, std::string_view gameFolder,
                                 const std::vector<ExportPackage>& packages, const std::string& folder,
                                 const ExportCallbacks& callbacks) {
    ExportResult result;
    ExportRun run(fs, gameFolder, callbacks, result);
    if (InCacheFolder(gameFolder, folder)) {
        result.failed.push_back(folder + " is in your UT2003 cache folder, where Morvane writes nothing.");
        result.summary = "Nothing was compressed" + run.Tally();
        return result;
    }
    std::string into = folder;
    while (!into.empty() && (into.back() == '\\' || into.back() == '/')) into.pop_back();
    const std::vector<Planned> plan = run.Plan(
        packages,
        [&](const ExportPackage& p, std::string& name, std::string&) { name = into + "\\" + p.realName + ".uz2"; },
        "a package of its name is compressed already.");

    Uz2Writer uz2(ExportLevel);
    try {
        run.Report();
        for (const Planned& p : plan) {
            const std::uint64_t before = run.BytesDone();
            std::optional<PendingFile> file;
            try {
                const ExportRun::Target target = run.Ask(p.name);
                if (target != ExportRun::Target::Kept) {
                    PackageSource source(fs, p.source, p.size);
                    file.emplace(fs, p.name);
                    const std::uint64_t size = uz2.Write(source, file->Out(), [&](std::uint64_t read) {
                        run.Report(before, read);
                    });
                    file->PutInPlace(target == ExportRun::Target::Replaced);
                    result.written.push_back(p.name);
                    ++result.packages;
                    if (size >= p.size)
                        result.notSmaller.push_back(p.name + " is not smaller than its package (" +
                                                    std::to_string(size) + " bytes against " +
                                                    std::to_string(p.size) + ").");
                }
            } catch (const SourceFailure& f) {
                result.failed.push_back(run.Unreadable(p, f.what()));
            } catch (const Failure& f) {
                result.failed.push_back(p.name + " was not written: " + f.what());
            } catch (const Cancelled&) {
                if (file) run.Discard(*file);
                throw;
            }
            if (file) run.Discard(*file);
            run.Done(before, p);
        }
    } catch (const Cancelled&) {
        result.cancelled = true;
    }
    const std::string where = result.packages == 0 ? "Nothing was compressed"
                                                    : "Compressed " + Packages(result.packages) + " into " + into;
    result.summary = where + (result.cancelled ? " before the run was cancelled" : "") + run.Tally();
    return result;
}

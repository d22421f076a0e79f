// Sharing cached packages with other players: the selected ones as one zip that unpacks into a
// UT2003 folder, or each as a .uz2 file for a server's redirect. Neither changes the cache, its
// index or the game's folders, and each file is written under a temporary name that takes the
// target's only when the file is complete: a failure or a cancel leaves no part of it behind.
// Both run on the caller's thread; the window keeps itself alive from the progress callback: it
// collects the selected rows, asks for the folder of other types only when HasOtherTypes says so,
// asks where to write, then calls one of these with a progress callback that updates its bar,
// pumps its messages and returns false once Cancel is pressed.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class FileSystem;

// zlib's default level: level 9 saves a few per cent more for three to four times the time.
constexpr int ExportLevel = 6;

// A selected row of the listing.
struct ExportPackage {
    std::string realName;  // its text
    std::string key;       // Rip::KeyOfRow
};

struct ExportProgress {
    std::size_t filesDone = 0, filesChosen = 0;   // packages dealt with (written, left out, failed) of those selected
    std::uint64_t bytesDone = 0, bytesTotal = 0;  // of the cached files to be written
};

struct ExportCallbacks {
    // Called at the start, after each piece of a file and after each file; false cancels at once.
    // Unset: the export runs to its end.
    std::function<bool(const ExportProgress&)> progress;
    // Asked, before anything is written, about a target that is there already; true replaces it.
    // Unset: nothing is replaced.
    std::function<bool(const std::string& target)> mayReplace;
};

struct ExportResult {
    std::vector<std::string> written;     // the files put in place: the zip, or each .uz2 file
    std::size_t packages = 0;             // packages in them
    std::vector<std::string> skipped;     // a sentence for each package or target left alone on purpose
    std::vector<std::string> failed;      // a sentence for each failure, naming its file and the reason
    std::vector<std::string> notSmaller;  // a sentence for each .uz2 file no smaller than its package
    bool cancelled = false;
    std::string summary;                  // one line for the window
};

// Whether a zip of the packages needs the folder for files of other types: the window asks the
// player for one only then.
bool HasOtherTypes(const std::vector<ExportPackage>& packages);

// One zip at `zipPath` holding each package under its real name in the folder where the game keeps
// files of its type ("Maps/DM-Foo.ut2"), files of other types in `otherFolder` (the player's answer,
// such as "Help" or "Help\Docs"). Packages whose name would leave the game folder or is no file name
// Windows allows, and later packages of a name already in the zip, are left out and listed.
ExportResult ExportZip(FileSystem& fs, std::string_view gameFolder, const std::vector<ExportPackage>& packages,
                       std::string_view otherFolder, const std::string& zipPath, const ExportCallbacks& callbacks);

// Each package as "<real name>.uz2" in `folder`. One that does not get smaller is written all the
// same and listed in notSmaller.
ExportResult CompressForRedirect(FileSystem& fs, std::string_view gameFolder,
                                 const std::vector<ExportPackage>& packages, const std::string& folder,
                                 const ExportCallbacks& callbacks);

// The game folder: where the game's installer records it, and how a typed folder text is cleaned
// and recognised as a game folder.
#pragma once
#include <string>
#include <string_view>

class FileSystem;
class Registry;

constexpr const char* GameKeyPath = "Software\\Unreal Technology\\Installed Apps\\UT2003";
constexpr const char* GameFolderValue = "Folder";

// The game's own record of its folder, or the empty text when there is none.
std::string LocateGameFolder(Registry& registry);
// Leading and trailing blanks removed, then one trailing backslash.
std::string CleanPathText(std::string_view text);
// Whether the folder's index (IndexPath) is a file with default attributes; every failure of the
// lookup counts as not found.
bool IsGameFolder(FileSystem& fs, std::string_view folder);
// What keeps a name from being used as a file or folder name inside the game folder.
enum class NameFault {
    None,
    // Empty, "." or "..", or holding "\", "/" or ":": it could reach outside its folder.
    LeavesFolder,
    // A name Windows reserves for a device (NUL, CON, COM1, LPT1... with any extension), one
    // ending in a dot or a blank, or one holding a control character or one of < > " | ? *.
    // Windows would write such a "file" into a device, or to another name, or not at all.
    NotAFileName,
    // A sub-folder answer naming the cache folder or a folder below it.
    CacheFolder,
};

// A name taken from the index (a real file name, or a cached file's name), as one file name. Names
// are UTF-8, where no byte of a character beyond ASCII can be taken for "\", "." or the like.
NameFault CheckFileName(std::string_view name);
// A user's sub-folder answer: relative, without a drive or UNC prefix, every component a valid
// name that climbs nowhere, and outside the cache folder. Deeper paths such as Help\Docs are fine.
NameFault CheckSubFolder(std::string_view answer);
// The name as a message can show it: each control character (a NUL above all, which would end
// the message there) becomes "?".
std::string Printable(std::string_view name);

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
// Whether `folder` & "\Cache\Cache.ini" is a file with default attributes; every failure of the
// lookup counts as not found.
bool IsGameFolder(FileSystem& fs, std::string_view folder);
// Whether a name taken from the index may be used as a file name inside a folder: not empty, not
// "." or "..", and without "\", "/" or ":", any of which could reach outside that folder.
bool IsPlainFileName(std::string_view name);
// Whether a user's answer names a folder below the game folder: relative, without a drive, UNC
// prefix or ".." component. Deeper paths such as Help\Docs are allowed.
bool IsRelativeSubFolder(std::string_view answer);

// Routing of a cached file by the ending of its real name: its type and destination sub-folder.
#pragma once
#include <string_view>

enum class FileType { System, Maps, Textures, Sounds, Music, StaticMeshes, Saves, Animations, Other };

FileType ClassifyFileName(std::string_view realName);
// The sub-folder literal ("\Maps\" ...) of a known type; Other has none (the user names one).
std::string_view DestinationSubFolder(FileType type);

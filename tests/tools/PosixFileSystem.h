// The file system port on Linux, for the tool that writes the exports to a real disk natively.
#pragma once
#include <memory>

#include "platform/FileSystem.h"

std::unique_ptr<FileSystem> DiskFileSystem();

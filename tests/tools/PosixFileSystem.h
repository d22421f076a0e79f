// The file system port on Linux, for the tools that write the exports to a real disk natively: the
// program's backslashes become slashes, names are used as they are (letter case counts). Only what
// the exports use is there; every other operation fails.
#pragma once
#include "platform/FileSystem.h"

class PosixFileSystem final : public FileSystem {
public:
    bool Exists(std::string_view path) override;
    std::uint64_t SizeOf(std::string_view path) override;
    std::uint64_t LastModified(std::string_view path) override;
    std::unique_ptr<ReadStream> OpenRead(std::string_view path) override;
    std::unique_ptr<WriteStream> CreateNew(std::string_view path) override;
    void Move(std::string_view from, std::string_view to, bool replace) override;
    void Remove(std::string_view path) override;

    std::string ReadAll(std::string_view) override { Unused(); }
    void WriteNew(std::string_view, std::string_view) override { Unused(); }
    std::uint64_t Flush(std::string_view) override { Unused(); }
    void Replace(std::string_view, std::string_view) override { Unused(); }
    void Copy(std::string_view, std::string_view) override { Unused(); }
    bool CopyWithProgress(std::string_view, std::string_view, const CopyProgress&) override { Unused(); }
    bool SameBytes(std::string_view, std::string_view) override { Unused(); }
    void Recycle(std::string_view) override { Unused(); }
    std::string ReadStart(std::string_view, std::size_t) override { Unused(); }
    void MakeFolder(std::string_view) override { Unused(); }
    void Rename(std::string_view, std::string_view) override { Unused(); }
    void ForEachFound(std::string_view, const std::function<void(const FoundFile&)>&) override { Unused(); }

private:
    [[noreturn]] static void Unused();
};

// The file system port over the Win32 file functions, on exact UTF-16 paths.
#pragma once
#include "platform/FileSystem.h"

class Win32FileSystem final : public FileSystem {
public:
    bool Exists(std::string_view path) override;
    std::uint64_t SizeOf(std::string_view path) override;
    std::string ReadAll(std::string_view path) override;
    void WriteNew(std::string_view path, std::string_view bytes) override;
    std::uint64_t Flush(std::string_view path) override;
    void Replace(std::string_view from, std::string_view onto) override;
    void Copy(std::string_view from, std::string_view to) override;
    bool CopyWithProgress(std::string_view from, std::string_view to, const CopyProgress& progress) override;
    void Move(std::string_view from, std::string_view to, bool replace) override;
    using FileSystem::SameBytes;
    bool SameBytes(std::string_view a, std::string_view b, const CompareProgress& shown) override;
    void Remove(std::string_view path) override;
    void Recycle(std::string_view path) override;
    std::string ReadStart(std::string_view path, std::size_t count) override;
    void MakeFolder(std::string_view path) override;
    void Rename(std::string_view from, std::string_view to) override;
    void ForEachFound(std::string_view pattern, const std::function<void(const FoundFile&)>& each) override;
    std::unique_ptr<ReadStream> OpenRead(std::string_view path) override;
    std::unique_ptr<WriteStream> CreateNew(std::string_view path) override;
    std::uint64_t LastModified(std::string_view path) override;
};

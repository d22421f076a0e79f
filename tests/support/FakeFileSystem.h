// An in-memory file system for the core's tests: names compare without letter case, files carry
// attributes, every call is logged, and any single operation on any path can be made to fail.
#pragma once
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

enum class FsOp { Exists, SizeOf, ReadAll, WriteAll, Replace, Copy, Remove, MakeFolder, Rename, List };

class FakeFileSystem final : public FileSystem {
public:
    // Setting up the world.
    void AddFolder(std::string_view path);  // with every missing parent
    void AddFile(std::string_view path, std::string_view bytes, std::uint32_t attributes = 0);
    void SetAttributes(std::string_view path, std::uint32_t attributes);
    // The `occurrence`-th call of `op` that names `path` (either path of Copy, Replace and Rename)
    // fails with `description`; occurrence 0 makes every such call fail.
    void FailOn(FsOp op, std::string_view path, std::string description = "Access denied.", int occurrence = 1);

    // Reading the world back.
    std::optional<std::string> Bytes(std::string_view path) const;
    bool Has(std::string_view path) const;
    bool IsFolder(std::string_view path) const;
    // Every file and folder path in its stored spelling, sorted without letter case.
    std::vector<std::string> Paths() const;
    const std::vector<std::string>& Log() const { return log_; }
    int Calls(FsOp op) const;

    bool Exists(std::string_view path) override;
    std::uint64_t SizeOf(std::string_view path) override;
    std::string ReadAll(std::string_view path) override;
    void WriteAll(std::string_view path, std::string_view bytes) override;
    void Replace(std::string_view from, std::string_view onto) override;
    void Copy(std::string_view from, std::string_view to) override;
    void Remove(std::string_view path) override;
    void MakeFolder(std::string_view path) override;
    void Rename(std::string_view from, std::string_view to) override;
    std::vector<FoundFile> List(std::string_view pattern) override;

private:
    struct Node {
        std::string spelling;
        bool folder = false;
        std::string bytes;
        std::uint32_t attributes = 0;
    };
    struct Fault {
        FsOp op;
        std::string key;
        std::string description;
        int remaining;  // calls to let pass before failing; -1 = every call fails
    };
    static std::string KeyOf(std::string_view path);
    static std::string ParentKey(const std::string& key);
    void Enter(FsOp op, std::initializer_list<std::string_view> paths, const std::string& text);
    const Node* Find(std::string_view path) const;
    Node* Find(std::string_view path);
    const Node& FileOrThrow(std::string_view path) const;
    void RequireParent(std::string_view path) const;

    std::map<std::string, Node> nodes_;
    std::vector<Fault> faults_;
    std::vector<std::string> log_;
    std::map<FsOp, int> calls_;
};

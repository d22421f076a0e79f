// An in-memory file system for the core's tests: names compare without letter case, files carry
// attributes, every call is logged, and any single operation on any path can be made to fail.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "platform/FileSystem.h"

enum class FsOp {
    Exists, SizeOf, ReadAll, WriteNew, Flush, Replace, Copy, Remove, MakeFolder, Rename, List, LastModified, Move,
    SameBytes, Recycle, ReadStart, OpenRead, Read, CreateNew, Write, WriteAt, Truncate, Finish
};

class FakeFileSystem final : public FileSystem {
public:
    void AddFolder(std::string_view path);  // with every missing parent
    void AddFile(std::string_view path, std::string_view bytes, std::uint32_t attributes = 0);
    // The `occurrence`-th call of `op` that names `path` (either path of Copy, Replace and Rename)
    // fails with `description`; occurrence 0 makes every such call fail. A failed WriteNew leaves
    // half of its bytes behind.
    void FailOn(FsOp op, std::string_view path, std::string description = "Access denied.", int occurrence = 1);
    // The call that will be Log()[n] fails; with `alike`, so does every later one of its operation
    // that names its first path.
    void FailCall(std::size_t n, bool alike) {
        failCall_ = n;
        failAlike_ = alike;
    }
    // Copies onto `path` report success but leave only half of the bytes there.
    void ShortCopiesTo(std::string_view path) { shortCopies_.push_back(KeyOf(path)); }
    std::size_t copyPiece = 4;  // the bytes CopyWithProgress copies, or SameBytes compares, between two reports
    // The time LastModified reports for a file (0 until set).
    void SetModified(std::string_view path, std::uint64_t ticks) { nodes_.at(KeyOf(path)).modified = ticks; }

    std::optional<std::string> Bytes(std::string_view path) const;  // of a file
    bool Has(std::string_view path) const { return Find(path) != nullptr; }
    // Every file's stored spelling and bytes, ordered by name without letter case.
    std::vector<std::pair<std::string, std::string>> Files() const;
    // Every file put in the Recycle Bin: its spelling and bytes.
    std::vector<std::pair<std::string, std::string>> recycled;
    // "Op path", or "Op from -> to", for every call.
    const std::vector<std::string>& Log() const { return log_; }
    // The most bytes one call of a stream asked to read, or gave to write: what a caller held at once.
    std::size_t largestRead = 0, largestWrite = 0;
    // Files open through a stream now; Windows refuses to rename or delete them.
    std::size_t OpenFiles() const { return open_.size(); }

    bool Exists(std::string_view path) override {
        Enter(FsOp::Exists, path);
        const Node* n = Find(path);
        return n != nullptr && (n->attributes & (AttrFolder | AttrHidden | AttrSystem)) == 0;
    }
    std::uint64_t SizeOf(std::string_view path) override {
        Enter(FsOp::SizeOf, path);
        return FileOrThrow(path).bytes.size();
    }
    std::string ReadAll(std::string_view path) override {
        Enter(FsOp::ReadAll, path);
        return FileOrThrow(path).bytes;
    }
    void WriteNew(std::string_view path, std::string_view bytes) override;
    std::uint64_t Flush(std::string_view path) override {
        Enter(FsOp::Flush, path);
        return FileOrThrow(path).bytes.size();
    }
    void Replace(std::string_view from, std::string_view onto) override {
        Enter(FsOp::Replace, from, onto);
        Relocate(from, onto, true);
    }
    void Copy(std::string_view from, std::string_view to) override;
    // In pieces of `copyPiece` bytes, as a Copy.
    bool CopyWithProgress(std::string_view from, std::string_view to, const CopyProgress& progress) override;
    void Move(std::string_view from, std::string_view to, bool replace) override {
        Enter(FsOp::Move, from, to);
        Relocate(from, to, replace);
    }
    using FileSystem::SameBytes;
    // Files of one size are compared `copyPiece` bytes at a time, as their progress shows.
    bool SameBytes(std::string_view a, std::string_view b, const CompareProgress& shown) override;
    void Remove(std::string_view path) override {
        Enter(FsOp::Remove, path);
        RequireClosed(path);
        if (FileOrThrow(path).attributes & AttrReadOnly) throw Failure("Access denied.");
        nodes_.erase(KeyOf(path));
    }
    // The file goes to `recycled`, as the Recycle Bin keeps it.
    void Recycle(std::string_view path) override {
        Enter(FsOp::Recycle, path);
        RequireClosed(path);
        const Node& file = FileOrThrow(path);
        if (file.attributes & AttrReadOnly) throw Failure("Access denied.");
        recycled.emplace_back(file.spelling, file.bytes);
        nodes_.erase(KeyOf(path));
    }
    std::string ReadStart(std::string_view path, std::size_t count) override {
        Enter(FsOp::ReadStart, path);
        return FileOrThrow(path).bytes.substr(0, count);
    }
    void MakeFolder(std::string_view path) override {
        Enter(FsOp::MakeFolder, path);
        if (Find(path) != nullptr) throw Failure("File exists.");
        RequireParent(path);
        AddFolder(path);
    }
    void Rename(std::string_view from, std::string_view to) override {
        Enter(FsOp::Rename, from, to);
        Relocate(from, to, false);
    }
    void ForEachFound(std::string_view pattern, const std::function<void(const FoundFile&)>& each) override;
    std::uint64_t LastModified(std::string_view path) override {
        Enter(FsOp::LastModified, path);
        return FileOrThrow(path).modified;
    }
    // A read stream sees the file as it is at each read; a write stream writes into it at once, so
    // that whatever a failure leaves behind stays visible.
    std::unique_ptr<ReadStream> OpenRead(std::string_view path) override;
    std::unique_ptr<WriteStream> CreateNew(std::string_view path) override;

private:
    struct Node {
        std::string spelling, bytes;
        bool folder = false;
        std::uint32_t attributes = 0;
        std::uint64_t modified = 0;
    };
    struct Fault {
        FsOp op;
        std::string key, description;
        int left;    // matching calls up to the failing one
        bool every;  // every matching call fails
    };
    static std::string KeyOf(std::string_view path);
    void Enter(FsOp op, std::string_view path, std::string_view other = {});
    const Node* Find(std::string_view path) const;
    const Node& FileOrThrow(std::string_view path) const;
    void RequireParent(std::string_view path) const;
    void Put(std::string_view path, Node file);
    void Relocate(std::string_view from, std::string_view to, bool replace);
    void RequireClosed(std::string_view path) const;
    class Reader;
    class Writer;

    std::map<std::string, Node> nodes_;
    std::vector<Fault> faults_;
    std::vector<std::string> shortCopies_;
    std::vector<std::string> log_;
    std::map<std::string, int> open_;  // by key: how many streams hold the file
    std::set<std::string> writing_;    // the keys of those open for writing
    std::size_t failCall_ = static_cast<std::size_t>(-1);
    bool failAlike_ = false;
};

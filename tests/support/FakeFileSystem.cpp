// The in-memory file system.
#include "support/FakeFileSystem.h"

#include <algorithm>

#include "platform/Failure.h"

static std::string ParentKey(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

// Lower case, doubled backslashes folded, no trailing backslash: as Windows resolves names.
std::string FakeFileSystem::KeyOf(std::string_view path) {
    std::string key;
    for (char c : path) {
        if (c == '\\' && !key.empty() && key.back() == '\\') continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    while (key.size() > 1 && key.back() == '\\') key.pop_back();
    return key;
}

void FakeFileSystem::AddFolder(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.empty() || Find(path) != nullptr) return;
    if (const std::size_t slash = path.rfind('\\'); slash != std::string_view::npos) AddFolder(path.substr(0, slash));
    nodes_[KeyOf(path)] = {std::string(path), {}, true, AttrFolder};
}

void FakeFileSystem::AddFile(std::string_view path, std::string_view bytes, std::uint32_t attributes) {
    if (const std::size_t slash = path.rfind('\\'); slash != std::string_view::npos) AddFolder(path.substr(0, slash));
    nodes_[KeyOf(path)] = {std::string(path), std::string(bytes), false, attributes};
}

void FakeFileSystem::FailOn(FsOp op, std::string_view path, std::string description, int occurrence) {
    faults_.push_back({op, KeyOf(path), std::move(description), occurrence, occurrence <= 0});
}

std::optional<std::string> FakeFileSystem::Bytes(std::string_view path) const {
    const Node* n = Find(path);
    return n != nullptr && !n->folder ? std::optional<std::string>(n->bytes) : std::nullopt;
}

std::vector<std::pair<std::string, std::string>> FakeFileSystem::Files() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [key, node] : nodes_)
        if (!node.folder) files.emplace_back(node.spelling, node.bytes);
    return files;
}

void FakeFileSystem::Enter(FsOp op, std::string_view path, std::string_view other) {
    static constexpr const char* names[] = {"Exists", "SizeOf", "ReadAll", "WriteNew", "Flush", "Replace", "Copy",
        "Remove", "MakeFolder", "Rename", "List", "LastModified", "Move", "SameBytes", "Recycle", "ReadStart",
        "OpenRead", "Read", "CreateNew", "Write", "WriteAt", "Truncate", "Finish"};  // FsOp's order
    log_.push_back(names[static_cast<int>(op)] + (" " + std::string(path)) +
                   (other.empty() ? "" : " -> " + std::string(other)));
    // As on Windows, where the ANSI functions would cut the path at the NUL and act on another file.
    if (path.find('\0') != std::string_view::npos || other.find('\0') != std::string_view::npos)
        throw Failure("The filename, directory name, or volume label syntax is incorrect.");
    if (log_.size() - 1 == failCall_) {
        if (failAlike_) FailOn(op, path, "Injected failure.", 0);
        throw Failure("Injected failure.");
    }
    for (Fault& f : faults_) {
        if (f.op != op || (f.key != KeyOf(path) && (other.empty() || f.key != KeyOf(other)))) continue;
        if (f.every || --f.left == 0) throw Failure(f.description);
    }
}

const FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) const {
    auto it = nodes_.find(KeyOf(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node& FakeFileSystem::FileOrThrow(std::string_view path) const {
    const Node* n = Find(path);
    if (n != nullptr && !n->folder) return *n;
    RequireParent(path);
    throw Failure("File not found.");
}

void FakeFileSystem::RequireParent(std::string_view path) const {
    const std::string parent = ParentKey(KeyOf(path));
    const auto it = nodes_.find(parent);
    if (!parent.empty() && (it == nodes_.end() || !it->second.folder)) throw Failure("Path not found.");
}

// Writes a file where one may be written, keeping the spelling of the one it replaces.
void FakeFileSystem::Put(std::string_view path, Node file) {
    RequireParent(path);
    const Node* old = Find(path);
    if (old != nullptr && (old->folder || (old->attributes & AttrReadOnly))) throw Failure("Access denied.");
    file.spelling = old != nullptr ? old->spelling : std::string(path);
    nodes_[KeyOf(path)] = std::move(file);
}

// The file takes its new name with its attributes and time, as with MoveFileExA, which replaces a
// file at `to` only when asked.
void FakeFileSystem::Relocate(std::string_view from, std::string_view to, bool replace) {
    RequireClosed(from);
    RequireClosed(to);
    const Node file = FileOrThrow(from);
    if (!replace && Find(to) != nullptr) throw Failure("Cannot create a file when that file already exists.");
    Put(to, file);
    if (KeyOf(from) != KeyOf(to)) nodes_.erase(KeyOf(from));
}

void FakeFileSystem::WriteNew(std::string_view path, std::string_view bytes) {
    try {
        Enter(FsOp::WriteNew, path);
    } catch (const Failure&) {
        if (Find(path) == nullptr) Put(path, {{}, std::string(bytes.substr(0, bytes.size() / 2))});  // half way
        throw;
    }
    if (Find(path) != nullptr) throw Failure("The file exists.");
    Put(path, {{}, std::string(bytes)});
}

void FakeFileSystem::Copy(std::string_view from, std::string_view to) {
    if (!CopyWithProgress(from, to, [](std::uint64_t, std::uint64_t) { return true; }))
        throw std::logic_error("a copy that nothing stops stopped");
}

bool FakeFileSystem::SameBytes(std::string_view a, std::string_view b, const CompareProgress& shown) {
    Enter(FsOp::SameBytes, a, b);
    const std::string &first = FileOrThrow(a).bytes, &second = FileOrThrow(b).bytes;
    if (first.size() != second.size()) return false;
    for (std::size_t compared = 0; compared < first.size();) {
        const std::size_t piece = std::min(copyPiece, first.size() - compared);
        if (first.compare(compared, piece, second, compared, piece) != 0) return false;
        shown(compared += piece, first.size());
    }
    return true;
}

bool FakeFileSystem::CopyWithProgress(std::string_view from, std::string_view to, const CopyProgress& progress) {
    Enter(FsOp::Copy, from, to);
    Node copy = FileOrThrow(from);
    if (std::find(shortCopies_.begin(), shortCopies_.end(), KeyOf(to)) != shortCopies_.end())
        copy.bytes.resize(copy.bytes.size() / 2);
    copy.attributes &= ~AttrReadOnly;
    const std::string whole = copy.bytes;
    copy.bytes.clear();
    Put(to, copy);  // the destination grows as the copy goes
    for (std::size_t done = 0;; done += copyPiece) {
        const std::size_t copied = std::min(done, whole.size());
        nodes_[KeyOf(to)].bytes = whole.substr(0, copied);
        if (!progress(copied, whole.size())) {
            nodes_.erase(KeyOf(to));
            return false;
        }
        if (copied == whole.size()) return true;
    }
}

void FakeFileSystem::ForEachFound(std::string_view pattern, const std::function<void(const FoundFile&)>& each) {
    Enter(FsOp::List, pattern);
    const std::string_view folder = pattern.substr(0, pattern.rfind('\\'));  // MFiles asks for "folder\*"
    if (const Node* dir = Find(folder); dir == nullptr || !dir->folder) throw Failure("Path not found.");
    if (pattern.substr(folder.size()) != "\\*") {  // a name without wildcards: that entry alone
        const Node* n = Find(pattern);
        if (n == nullptr) throw Failure("File not found.");
        each({n->spelling.substr(n->spelling.rfind('\\') + 1), n->attributes, n->bytes.size(), n->modified});
        return;
    }
    // Found first, passed on after: `each` may change the files.
    std::vector<FoundFile> found{{".", AttrFolder, 0, 0}, {"..", AttrFolder, 0, 0}};
    const std::string parent = KeyOf(folder);
    for (const auto& [key, node] : nodes_) {
        const std::string& s = node.spelling;
        if (ParentKey(key) == parent)
            found.push_back({s.substr(s.rfind('\\') + 1), node.attributes, node.bytes.size(), node.modified});
    }
    for (const FoundFile& f : found) each(f);
}


void FakeFileSystem::RequireClosed(std::string_view path) const {
    if (open_.count(KeyOf(path)) != 0)
        throw Failure("The process cannot access the file because it is being used by another process.");
}

// Holds its file open from its creation to its destruction.
class FakeFileSystem::Reader final : public ReadStream {
public:
    Reader(FakeFileSystem& fs, std::string_view path) : fs_(fs), path_(path), key_(KeyOf(path)) { ++fs_.open_[key_]; }
    ~Reader() override {
        if (--fs_.open_[key_] == 0) fs_.open_.erase(key_);
    }
    std::size_t Read(char* into, std::size_t size) override {
        fs_.Enter(FsOp::Read, path_);
        fs_.largestRead = std::max(fs_.largestRead, size);
        const std::string& bytes = fs_.FileOrThrow(path_).bytes;
        const std::size_t got = at_ < bytes.size() ? bytes.copy(into, size, at_) : 0;
        at_ += got;
        return got;
    }

private:
    FakeFileSystem& fs_;
    const std::string path_, key_;
    std::size_t at_ = 0;
};

class FakeFileSystem::Writer final : public WriteStream {
public:
    Writer(FakeFileSystem& fs, std::string_view path) : fs_(fs), path_(path), key_(KeyOf(path)) {
        ++fs_.open_[key_];
        fs_.writing_.insert(key_);
    }
    ~Writer() override { Close(); }
    // A failed write leaves half of its bytes behind, as a full disk would.
    void Write(std::string_view bytes) override {
        fs_.largestWrite = std::max(fs_.largestWrite, bytes.size());
        try {
            Enter(FsOp::Write);
        } catch (const Failure&) {
            File().append(bytes.substr(0, bytes.size() / 2));
            throw;
        }
        File().append(bytes);
    }
    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        Enter(FsOp::WriteAt);
        std::string& file = File();
        if (offset + bytes.size() > file.size()) throw Failure("WriteAt past the end of the file.");  // a caller's slip
        file.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
    }
    void Truncate(std::uint64_t offset) override {
        Enter(FsOp::Truncate);
        std::string& file = File();
        if (offset < file.size()) file.resize(static_cast<std::size_t>(offset));
    }
    void Finish() override {
        Enter(FsOp::Finish);
        Close();
    }

private:
    void Enter(FsOp op) {
        if (closed_) throw Failure("The handle is invalid.");  // a caller's slip
        fs_.Enter(op, path_);
    }
    std::string& File() { return fs_.nodes_.at(key_).bytes; }
    void Close() {
        if (closed_) return;
        closed_ = true;
        fs_.writing_.erase(key_);
        if (--fs_.open_[key_] == 0) fs_.open_.erase(key_);
    }

    FakeFileSystem& fs_;
    const std::string path_, key_;
    bool closed_ = false;
};

std::unique_ptr<ReadStream> FakeFileSystem::OpenRead(std::string_view path) {
    Enter(FsOp::OpenRead, path);
    FileOrThrow(path);
    if (writing_.count(KeyOf(path)) != 0) throw Failure("The process cannot access the file because it is being used by another process.");
    return std::make_unique<Reader>(*this, path);
}

std::unique_ptr<WriteStream> FakeFileSystem::CreateNew(std::string_view path) {
    Enter(FsOp::CreateNew, path);
    if (Find(path) != nullptr) throw Failure("The file exists.");
    Put(path, {});
    return std::make_unique<Writer>(*this, path);
}

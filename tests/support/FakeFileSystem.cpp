// The in-memory file system.
#include "support/FakeFileSystem.h"

#include <algorithm>

#include "platform/Failure.h"

namespace {

const char* OpName(FsOp op) {
    switch (op) {
        case FsOp::Exists: return "Exists";
        case FsOp::SizeOf: return "SizeOf";
        case FsOp::ReadAll: return "ReadAll";
        case FsOp::WriteAll: return "WriteAll";
        case FsOp::Replace: return "Replace";
        case FsOp::Copy: return "Copy";
        case FsOp::Remove: return "Remove";
        case FsOp::MakeFolder: return "MakeFolder";
        case FsOp::Rename: return "Rename";
        case FsOp::List: return "List";
    }
    return "?";
}

}  // namespace

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

std::string FakeFileSystem::ParentKey(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

void FakeFileSystem::AddFolder(std::string_view path) {
    std::string key = KeyOf(path);
    std::string spelling(path);
    while (!spelling.empty() && spelling.back() == '\\') spelling.pop_back();
    while (!key.empty()) {
        auto& node = nodes_[key];
        if (node.spelling.empty()) node = {spelling, true, {}, AttrFolder};
        key = ParentKey(key);
        spelling = spelling.substr(0, std::min(spelling.size(), spelling.rfind('\\')));
    }
}

void FakeFileSystem::AddFile(std::string_view path, std::string_view bytes, std::uint32_t attributes) {
    const std::string key = KeyOf(path);
    const std::string spelling(path);
    if (const std::size_t slash = spelling.rfind('\\'); slash != std::string::npos) AddFolder(spelling.substr(0, slash));
    nodes_[key] = {spelling, false, std::string(bytes), attributes};
}

void FakeFileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
    if (Node* n = Find(path)) n->attributes = attributes | (n->folder ? static_cast<std::uint32_t>(AttrFolder) : 0u);
}

void FakeFileSystem::FailOn(FsOp op, std::string_view path, std::string description, int occurrence) {
    faults_.push_back({op, KeyOf(path), std::move(description), occurrence <= 0 ? -1 : occurrence - 1});
}

std::optional<std::string> FakeFileSystem::Bytes(std::string_view path) const {
    const Node* n = Find(path);
    if (n == nullptr || n->folder) return std::nullopt;
    return n->bytes;
}

bool FakeFileSystem::Has(std::string_view path) const { return Find(path) != nullptr; }

bool FakeFileSystem::IsFolder(std::string_view path) const {
    const Node* n = Find(path);
    return n != nullptr && n->folder;
}

std::vector<std::string> FakeFileSystem::Paths() const {
    std::vector<std::string> out;
    for (const auto& [key, node] : nodes_) out.push_back(node.spelling);
    return out;
}

int FakeFileSystem::Calls(FsOp op) const {
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

void FakeFileSystem::Enter(FsOp op, std::initializer_list<std::string_view> paths, const std::string& text) {
    log_.push_back(std::string(OpName(op)) + " " + text);
    ++calls_[op];
    for (Fault& f : faults_) {
        if (f.op != op) continue;
        bool named = false;
        for (std::string_view p : paths) named = named || KeyOf(p) == f.key;
        if (!named) continue;
        if (f.remaining == -1) throw Failure(f.description);
        if (f.remaining-- == 0) {
            f.remaining = -2;  // spent
            throw Failure(f.description);
        }
    }
}

const FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) const {
    auto it = nodes_.find(KeyOf(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) {
    auto it = nodes_.find(KeyOf(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

const FakeFileSystem::Node& FakeFileSystem::FileOrThrow(std::string_view path) const {
    const Node* n = Find(path);
    if (n == nullptr || n->folder) {
        RequireParent(path);
        throw Failure("File not found.");
    }
    return *n;
}

void FakeFileSystem::RequireParent(std::string_view path) const {
    const std::string parent = ParentKey(KeyOf(path));
    if (parent.empty()) return;
    auto it = nodes_.find(parent);
    if (it == nodes_.end() || !it->second.folder) throw Failure("Path not found.");
}

bool FakeFileSystem::Exists(std::string_view path) {
    Enter(FsOp::Exists, {path}, std::string(path));
    const Node* n = Find(path);
    return n != nullptr && (n->attributes & (AttrFolder | AttrHidden | AttrSystem)) == 0;
}

std::uint64_t FakeFileSystem::SizeOf(std::string_view path) {
    Enter(FsOp::SizeOf, {path}, std::string(path));
    return FileOrThrow(path).bytes.size();
}

std::string FakeFileSystem::ReadAll(std::string_view path) {
    Enter(FsOp::ReadAll, {path}, std::string(path));
    return FileOrThrow(path).bytes;
}

void FakeFileSystem::WriteAll(std::string_view path, std::string_view bytes) {
    const std::string key = KeyOf(path);
    try {
        Enter(FsOp::WriteAll, {path}, std::string(path));
    } catch (const Failure&) {
        // A write that fails half way leaves half a file behind.
        if (const Node* n = Find(path); n == nullptr || !n->folder) {
            RequireParent(path);
            nodes_[key] = {n != nullptr ? n->spelling : std::string(path), false,
                           std::string(bytes.substr(0, bytes.size() / 2)), 0};
        }
        throw;
    }
    RequireParent(path);
    Node* n = Find(path);
    if (n != nullptr && (n->folder || (n->attributes & AttrReadOnly))) throw Failure("Access denied.");
    nodes_[key] = {n != nullptr ? n->spelling : std::string(path), false, std::string(bytes),
                   n != nullptr ? n->attributes : 0};
}

void FakeFileSystem::Replace(std::string_view from, std::string_view onto) {
    Enter(FsOp::Replace, {from, onto}, std::string(from) + " -> " + std::string(onto));
    Node source = FileOrThrow(from);
    RequireParent(onto);
    const Node* target = Find(onto);
    if (target != nullptr && (target->folder || (target->attributes & AttrReadOnly))) throw Failure("Access denied.");
    source.spelling = target != nullptr ? target->spelling : std::string(onto);
    nodes_.erase(KeyOf(from));
    nodes_[KeyOf(onto)] = source;
}

void FakeFileSystem::Copy(std::string_view from, std::string_view to) {
    Enter(FsOp::Copy, {from, to}, std::string(from) + " -> " + std::string(to));
    const Node source = FileOrThrow(from);
    RequireParent(to);
    const Node* target = Find(to);
    if (target != nullptr && (target->folder || (target->attributes & AttrReadOnly))) throw Failure("Access denied.");
    nodes_[KeyOf(to)] = {target != nullptr ? target->spelling : std::string(to), false, source.bytes,
                         source.attributes & ~AttrReadOnly};
}

void FakeFileSystem::Remove(std::string_view path) {
    Enter(FsOp::Remove, {path}, std::string(path));
    const Node& n = FileOrThrow(path);
    if (n.attributes & AttrReadOnly) throw Failure("Access denied.");
    nodes_.erase(KeyOf(path));
}

void FakeFileSystem::MakeFolder(std::string_view path) {
    Enter(FsOp::MakeFolder, {path}, std::string(path));
    if (Find(path) != nullptr) throw Failure("File exists.");
    RequireParent(path);
    std::string spelling(path);
    while (!spelling.empty() && spelling.back() == '\\') spelling.pop_back();
    nodes_[KeyOf(path)] = {spelling, true, {}, AttrFolder};
}

void FakeFileSystem::Rename(std::string_view from, std::string_view to) {
    Enter(FsOp::Rename, {from, to}, std::string(from) + " -> " + std::string(to));
    const Node* source = Find(from);
    if (source == nullptr) throw Failure("File not found.");
    RequireParent(to);
    if (Find(to) != nullptr) throw Failure("File exists.");
    Node moved = *source;
    moved.spelling = std::string(to);
    nodes_.erase(KeyOf(from));
    nodes_[KeyOf(to)] = moved;
}

std::vector<FoundFile> FakeFileSystem::List(std::string_view pattern) {
    Enter(FsOp::List, {pattern}, std::string(pattern));
    std::string folder(pattern);
    if (folder.size() < 2 || folder.substr(folder.size() - 2) != "\\*") throw Failure("Invalid name.");
    folder.resize(folder.size() - 2);
    const Node* dir = Find(folder);
    if (dir == nullptr || !dir->folder) throw Failure("Path not found.");
    const std::string key = KeyOf(folder);
    std::vector<FoundFile> found{{".", AttrFolder}, {"..", AttrFolder}};
    for (const auto& [k, node] : nodes_) {
        if (ParentKey(k) == key && k != key) {
            found.push_back({node.spelling.substr(node.spelling.rfind('\\') + 1), node.attributes});
        }
    }
    return found;
}

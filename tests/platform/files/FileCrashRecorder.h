// Crash states of a session of file changes. A recorder watches every
// change the file service makes under a folder (creations, writes, size
// changes, flushes, renames, removals); the folder is then rebuilt as a
// crash at every cut point of the session would leave it, under two
// models:
//  Process crash: every change before the cut reached the disk.
//  Power loss: of the changes before the cut, those made durable by a
//  later flush before the cut (a file's bytes by flushing the file, names
//  by flushing their folder) reached it; of the others none, each leading
//  run of them in order, or each one alone.
// Each distinct state is written to a folder of its own and handed to the
// test's check.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/files/FileOps.h"

namespace filecrash {

using Bytes = std::vector<uint8_t>;

struct Op {
    enum Kind { Link, Write, Resize, SyncData, Rename, Exchange, Remove, SyncNames, MakeFolder } kind = Write;
    int file = -1;         // Link (the new file), Write, Resize, SyncData
    std::string path, to;  // relative to the root; SyncNames: the folder ("" the root)
    uint64_t offset = 0;   // Write: where; Resize: the new size
    Bytes bytes;
};

inline std::string FolderOf(const std::string& rel)
{
    const size_t slash = rel.rfind('/');
    return slash == std::string::npos ? "" : rel.substr(0, slash);
}

// The names of a folder tree and the files they lead to.
struct Image {
    std::map<std::string, int> names;
    std::set<std::string> folders;
    std::vector<Bytes> files;

    void Apply(const Op& op)
    {
        switch (op.kind) {
        case Op::Link:
            names[op.path] = op.file;
            break;
        case Op::Write: {
            Bytes& f = files[size_t(op.file)];
            if (f.size() < op.offset + op.bytes.size()) f.resize(size_t(op.offset + op.bytes.size()), 0);
            std::copy(op.bytes.begin(), op.bytes.end(), f.begin() + int64_t(op.offset));
            break;
        }
        case Op::Resize:
            files[size_t(op.file)].resize(size_t(op.offset), 0);
            break;
        case Op::Rename: {
            // A rename whose source never landed changes nothing.
            const auto it = names.find(op.path);
            if (it == names.end()) break;
            const int file = it->second;
            names.erase(it);
            names[op.to] = file;
            break;
        }
        case Op::Exchange: {
            // Both names hold a file, or the exchange failed and was not
            // recorded.
            const auto a = names.find(op.path), b = names.find(op.to);
            if (a != names.end() && b != names.end()) std::swap(a->second, b->second);
            break;
        }
        case Op::Remove:
            if (!names.erase(op.path)) folders.erase(op.path);
            break;
        case Op::MakeFolder:
            folders.insert(op.path);
            break;
        case Op::SyncData:
        case Op::SyncNames:
            break;
        }
    }

    std::map<std::string, Bytes> Files() const
    {
        std::map<std::string, Bytes> out;
        for (const auto& [name, file] : names) out[name] = files[size_t(file)];
        return out;
    }

    void WriteTo(const std::filesystem::path& root) const
    {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        for (const std::string& f : folders) std::filesystem::create_directories(root / f);
        for (const auto& [name, bytes] : Files()) {
            std::filesystem::create_directories((root / name).parent_path());
            FILE* out = std::fopen((root / name).c_str(), "wb");
            ASSERT_NE(out, nullptr) << name;
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }
};

class Recorder : public platform::FileOpObserver {
public:
    explicit Recorder(const std::filesystem::path& root) : root_(std::filesystem::weakly_canonical(root).string())
    {
        for (const auto& e : std::filesystem::recursive_directory_iterator(root_)) {
            const std::string rel = Rel(e.path().string());
            if (e.is_directory()) {
                base_.folders.insert(rel);
            } else if (e.is_regular_file()) {
                FILE* in = std::fopen(e.path().c_str(), "rb");
                Bytes b(size_t(e.file_size()));
                if (in && !b.empty() && std::fread(b.data(), 1, b.size(), in) != b.size()) b.clear();
                if (in) std::fclose(in);
                base_.names[rel] = int(base_.files.size());
                base_.files.push_back(std::move(b));
            }
        }
        live_ = base_;
        platform::SetFileOpObserver(this);
    }
    ~Recorder() override { Stop(); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Stop() { platform::SetFileOpObserver(nullptr); }
    const std::vector<Op>& Ops() const { return ops_; }
    const Image& Before() const { return base_; }
    const Image& After() const { return live_; }

    // Every distinct crash state of the session, with the models and cut
    // that give it first; `check` answers what is wrong, empty when none.
    // Answers the number of states that failed (the first few reported).
    size_t CheckEveryCut(const std::filesystem::path& scratch,
                         const std::function<std::string(const std::filesystem::path&)>& check)
    {
        std::unordered_set<std::string> seen;
        size_t failures = 0;
        auto one = [&](const Image& image, const char* model, size_t cut) {
            std::string key;
            for (const auto& [name, bytes] : image.Files()) {
                key += name;
                key.push_back('\0');
                key.append(bytes.begin(), bytes.end());
                key.push_back('\0');
            }
            for (const std::string& f : image.folders) key += "/" + f;
            if (!seen.insert(key).second) return;
            ++states_;
            image.WriteTo(scratch);
            const std::string wrong = check(scratch);
            if (wrong.empty()) return;
            if (++failures <= 5) ADD_FAILURE() << model << " at change " << cut << ": " << wrong;
        };
        // Where each change is made durable (past the end: never).
        std::vector<size_t> flushedAt(ops_.size(), ops_.size() + 1);
        for (size_t i = 0; i < ops_.size(); ++i)
            for (size_t j = i + 1; j < ops_.size() && flushedAt[i] > ops_.size(); ++j)
                if (Flushes(ops_[j], ops_[i])) flushedAt[i] = j;
        auto landed = [&](const std::set<size_t>& extra, size_t cut) {
            Image image = base_;
            for (size_t i = 0; i < cut; ++i)
                if (flushedAt[i] < cut || extra.count(i)) image.Apply(ops_[i]);
            return image;
        };
        for (size_t cut = 0; cut <= ops_.size(); ++cut) {
            Image all = base_;
            std::vector<size_t> pending;
            for (size_t i = 0; i < cut; ++i) {
                all.Apply(ops_[i]);
                if (flushedAt[i] >= cut && Changes(ops_[i])) pending.push_back(i);
            }
            one(all, "process crash", cut);
            one(landed({}, cut), "power loss, nothing unflushed", cut);
            for (size_t k = 1; k < pending.size(); ++k)
                one(landed(std::set<size_t>(pending.begin(), pending.begin() + int64_t(k)), cut),
                    "power loss, the first unflushed changes", cut);
            for (size_t p : pending) one(landed({p}, cut), "power loss, one change alone", cut);
        }
        return failures;
    }
    size_t StatesChecked() const { return states_; }

    // platform::FileOpObserver
    void Opened(int fd, const std::string& path, bool created) override
    {
        std::string rel;
        if (!Inside(path, &rel)) return;
        const auto it = live_.names.find(rel);
        int file;
        if (created || it == live_.names.end()) {
            file = int(live_.files.size());
            live_.files.emplace_back();
            base_.files.emplace_back();  // unreached in the base: the same numbering
            Record(Op{Op::Link, file, rel, "", 0, {}});
        } else {
            file = it->second;
        }
        fds_[fd] = file;
    }
    void Wrote(int fd, uint64_t offset, const void* data, size_t size) override
    {
        const int file = FileOf(fd);
        if (file < 0) return;
        const auto* p = static_cast<const uint8_t*>(data);
        Record(Op{Op::Write, file, "", "", offset, Bytes(p, p + size)});
    }
    void Resized(int fd, uint64_t size) override
    {
        const int file = FileOf(fd);
        if (file >= 0) Record(Op{Op::Resize, file, "", "", size, {}});
    }
    void Synced(int fd) override
    {
        const int file = FileOf(fd);
        if (file >= 0) Record(Op{Op::SyncData, file, "", "", 0, {}});
    }
    void Closed(int fd) override { fds_.erase(fd); }
    void Renamed(const std::string& from, const std::string& to) override
    {
        std::string a, b;
        if (Inside(from, &a) && Inside(to, &b)) Record(Op{Op::Rename, -1, a, b, 0, {}});
    }
    void Exchanged(const std::string& one, const std::string& other) override
    {
        std::string a, b;
        if (Inside(one, &a) && Inside(other, &b)) Record(Op{Op::Exchange, -1, a, b, 0, {}});
    }
    void Removed(const std::string& path) override
    {
        std::string rel;
        if (Inside(path, &rel)) Record(Op{Op::Remove, -1, rel, "", 0, {}});
    }
    void SyncedFolder(const std::string& path) override
    {
        std::string rel;
        if (Inside(path, &rel)) Record(Op{Op::SyncNames, -1, rel, "", 0, {}});
    }
    void MadeFolder(const std::string& path) override
    {
        std::string rel;
        if (Inside(path, &rel)) Record(Op{Op::MakeFolder, -1, rel, "", 0, {}});
    }

private:
    std::string Rel(const std::string& path) const
    {
        return path.size() > root_.size() ? path.substr(root_.size() + 1) : std::string();
    }
    bool Inside(const std::string& path, std::string* rel) const
    {
        const std::string p = std::filesystem::weakly_canonical(path).string();
        if (p == root_) {
            rel->clear();
            return true;
        }
        if (p.compare(0, root_.size() + 1, root_ + "/") != 0) return false;
        *rel = p.substr(root_.size() + 1);
        return true;
    }
    // The file behind a descriptor, also one opened before the recording
    // began (asked of the system); -1 when outside the folder.
    int FileOf(int fd)
    {
        const auto it = fds_.find(fd);
        if (it != fds_.end()) return it->second;
        std::error_code ec;
        const std::string path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).string();
        std::string rel;
        if (ec || !Inside(path, &rel)) return -1;
        const auto named = live_.names.find(rel);
        if (named == live_.names.end()) return -1;
        return fds_[fd] = named->second;
    }
    void Record(Op op)
    {
        live_.Apply(op);
        ops_.push_back(std::move(op));
    }
    static bool Changes(const Op& op) { return op.kind != Op::SyncData && op.kind != Op::SyncNames; }
    // Whether flush `f` makes change `op` durable.
    static bool Flushes(const Op& f, const Op& op)
    {
        switch (op.kind) {
        case Op::Write:
        case Op::Resize:
            return f.kind == Op::SyncData && f.file == op.file;
        case Op::Link:
        case Op::Remove:
        case Op::MakeFolder:
            return f.kind == Op::SyncNames && f.path == FolderOf(op.path);
        case Op::Rename:
        case Op::Exchange:
            // Both names must be on the disk; here they share a folder.
            return f.kind == Op::SyncNames && f.path == FolderOf(op.path) && f.path == FolderOf(op.to);
        default:
            return false;
        }
    }

    std::string root_;
    Image base_, live_;
    std::vector<Op> ops_;
    std::map<int, int> fds_;
    size_t states_ = 0;
};

}  // namespace filecrash

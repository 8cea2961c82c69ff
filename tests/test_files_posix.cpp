#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "file_platform.h"
#include "test_files.h"

namespace {

std::string Native(const ByteText& path) { return PlatformPathString(path); }

void RemoveTree(const std::string& path) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return;
    if (S_ISDIR(status.st_mode)) {
        chmod(path.c_str(), 0755);
        if (DIR* dir = opendir(path.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") RemoveTree(path + "/" + name);
            }
            closedir(dir);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

}  // namespace

TestFolder::TestFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/moxtrel-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = ByteText(pattern);
}

TestFolder::TestFolder(const ByteText& parent) {
    std::string pattern = Native(parent) + "/moxtrel-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = ConcatTexts({parent, "\\", ByteText(pattern.substr(pattern.size() - 19))});
}

TestFolder::~TestFolder() { RemoveTree(Native(path_)); }

ByteText TestFolder::operator/(const std::string& name) const { return ConcatTexts({path_, "\\", ByteText(name)}); }

std::vector<std::string> TestFolder::Names() const {
    std::vector<std::string> names;
    if (DIR* dir = opendir(Native(path_).c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileBytes(const ByteText& path, const std::string& bytes) {
    std::ofstream out(Native(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write fixture " + Native(path));
}

std::optional<std::string> ReadFileBytes(const ByteText& path) {
    std::ifstream in(Native(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool PathExists(const ByteText& path) {
    struct stat status;
    return lstat(Native(path).c_str(), &status) == 0;
}

void MakeFolder(const ByteText& path) { mkdir(Native(path).c_str(), 0755); }

void SetReadOnly(const ByteText& path, bool readOnly) { chmod(Native(path).c_str(), readOnly ? 0444 : 0644); }

bool MakeSparseFile(const ByteText& path, long long length) {
    const int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const bool ok = ftruncate(fd, static_cast<off_t>(length)) == 0;
    close(fd);
    return ok;
}

bool ChangeFileShared(const ByteText& path, const std::string& bytes) {
    const int fd = open(Native(path).c_str(), O_WRONLY);
    if (fd < 0) return false;
    const bool ok = ftruncate(fd, 0) == 0 &&
                    pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    return close(fd) == 0 && ok;
}

FileHolder::FileHolder(const ByteText&, Sharing) {}

FileHolder::~FileHolder() {}

bool NamesAreRawBytes() { return true; }

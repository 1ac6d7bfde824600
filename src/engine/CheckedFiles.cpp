#include "CheckedFiles.h"

#include <cstdint>
#include <map>
#include <optional>
#include <sys/stat.h>

namespace jt::engine::checkedFiles {
namespace {

struct FileStamp {
    std::uint64_t device = 0, inode = 0;
    qint64 size = 0, mtimeNs = 0, ctimeNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::map<QString, FileStamp>& files() {
    static std::map<QString, FileStamp> checked;
    return checked;
}

std::optional<FileStamp> stampOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return FileStamp{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

} // namespace

bool unchangedSinceChecked(const QString& path, int fd) {
    const auto it = files().find(path);
    const auto stamp = stampOf(fd);
    return it != files().end() && stamp && *stamp == it->second;
}

void remember(const QString& path, int fd) {
    if (const auto stamp = stampOf(fd))
        files()[path] = *stamp;
    else
        files().erase(path);
}

} // namespace jt::engine::checkedFiles

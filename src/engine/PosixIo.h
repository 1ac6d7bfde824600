#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QByteArray;

namespace jt::engine {

class EngineError;

// What the file layer does to the disk, for tests that check the order of writes and
// syncs or make one of them fail.
struct IoEvent {
    enum class Kind { Write, Sync, Rename, Unlink };
    Kind kind = Kind::Write;
    QString path; // the file written or synced; for a rename, the destination
    qint64 offset = 0;
    qint64 length = 0;
};
// Returns 0 to let the operation go ahead, or an errno value to make it fail.
using IoObserver = std::function<int(const IoEvent&)>;

// The operating-system calls of the file layer, each retried on EINTR and each failure
// thrown as an EngineError that names the file.
namespace posix {

void setIoObserver(IoObserver observer);
// Asks the test observer whether the operation may go ahead; 0 means yes.
int observe(IoEvent::Kind kind, const QString& path, qint64 offset = 0, qint64 length = 0);

// "Cannot <what> <path>: <reason>", of kind Io.
EngineError ioError(const QString& what, const QString& path, int error);
EngineError inUse(const QString& path);

// Opens (with O_CREAT: creates, mode 0644) a file; any failure is "Cannot <what> ...".
int openFile(const QString& path, int flags, const QString& what);
// Opens a file that may well be missing or be refused; -1 when it cannot be opened.
int openQuietly(const QString& path, int flags);
// Opens a table file. A missing file is "Table does not exist", of kind NotFound; any
// other failure is "Cannot <what> ...".
int openTable(const QString& path, int flags, const QString& what);
// Takes a shared or exclusive lock on an open table. A process that is closing a table
// holds it alone for a moment to tidy up, so a lock that is taken is tried again for a
// short while before the table is reported in use.
void lockTable(int fd, bool exclusive, const QString& path);
// Waits for the lock (the journal's, which serialises the posts of several processes).
void lockBlocking(int fd, int how);

struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};
FileId fileId(int fd, const QString& path);
qint64 fileSize(int fd, const QString& path);
// The file's birth time (0 where the file system keeps none) tells a table from a later
// one that got the same inode number.
std::uint64_t birthTimeNs(int fd);

// The whole file, refused as too large past limit bytes.
QByteArray readAll(int fd, const QString& path, qint64 limit);
// Up to length bytes from the start of the file.
QByteArray readHead(int fd, const QString& path, qint64 length);
void writeAll(int fd, const char* bytes, qint64 length, qint64 offset, const QString& path);
void truncate(int fd, qint64 length, const QString& path);
void sync(int fd, const QString& path);
// Removes the file, quietly: what is removed is only ever a file that would be ignored.
void unlinkQuietly(const QString& path);
// Syncs the folder of path so that a rename or a new file in it survives a power cut.
void syncDirectoryOf(const QString& path);

// An open descriptor, closed when it goes.
class Descriptor final {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            m_fd = other.release();
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int m_fd = -1;
};

} // namespace posix
} // namespace jt::engine

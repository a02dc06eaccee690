#include "zip/zip_extract_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace zip {

namespace {

std::atomic<bool> g_unnamedAllowed{true};

// Without /proc an unnamed file could not be given a name.
bool UnnamedFilesUsable() {
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted && g_unnamedAllowed;
}

}  // namespace

void ExtractTarget::SetUnnamedFiles(bool allowed) {
    g_unnamedAllowed = allowed;
}

ExtractTarget::ExtractTarget(int folder, const char* name) : m_folder(folder), m_name(name) {}

ExtractTarget::~ExtractTarget() {
    if (m_unnamed && m_fd >= 0)
        ::close(m_fd);
}

// 0666 so that the mask of the process decides, as for any new file.
bool ExtractTarget::Create() {
    if (UnnamedFilesUsable()) {
        m_fd = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        m_unnamed = m_fd >= 0;
        if (m_unnamed)
            return true;
    }
    m_fd = m_stage.Begin(m_folder) ? m_stage.Create() : -1;
    return m_fd >= 0;
}

bool ExtractTarget::MoveFromStage(const std::string& staged) {
    const bool moved = !staged.empty() && m_stage.Move(staged, m_folder, m_name);
    m_stage.End();
    return moved;
}

bool ExtractTarget::Commit() {
    if (!m_unnamed) {
        m_fd = -1;
        return MoveFromStage(m_stage.Keep());
    }
    if (LinkOpenFile(m_fd, m_folder, m_name)) {
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        // A file whose last writes failed to land is no whole file.
        if (!closed)
            ::unlinkat(m_folder, m_name, 0);
        return closed;
    }
    // A file is there: the new one takes a name in a stage for the rename over it.
    if (errno != EEXIST || !m_stage.Begin(m_folder))
        return false;
    const std::string staged = m_stage.Adopt(m_fd);
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    return closed ? MoveFromStage(staged) : (m_stage.End(), false);
}

}  // namespace zip

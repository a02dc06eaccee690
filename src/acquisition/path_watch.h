#pragma once
// Whether what a path names may have changed since it was looked at, heard from the system
// (inotify) instead of asked before every use: the path's folder is watched for whatever happens
// under the path's name (made, removed, renamed, written, its times or mode changed), and the
// file, once it is open, for what happens to it under any name. Only local file systems are
// watched: a network or user-space one may change without the system hearing of it, and there
// the caller looks for itself, as it does wherever no watch can be had. A folder above the
// path's own that is moved or replaced is not heard of.

#include <string>

namespace acquisition {

class PathWatch {
public:
    PathWatch() = default;
    ~PathWatch() { Stop(); }
    PathWatch(const PathWatch&) = delete;
    PathWatch& operator=(const PathWatch&) = delete;

    // Watches `path`'s folder for its name, ending the watch before; false, and nothing
    // watched, where the system cannot watch it. Called before the path is looked at, so that
    // nothing done to it afterwards goes unheard.
    bool Watch(const std::string& path);
    // Watches also the file open as `fd`, the one the path named; the whole watch ends when it
    // cannot.
    void AddFile(int fd);
    void Stop();
    bool IsWatching() const { return m_fd >= 0; }
    // Whether anything that touches the path or its file was heard of since Watch; true when
    // nothing is watched.
    bool HeardOfChange();

private:
    int m_fd = -1;
    int m_folderWatch = -1;
    int m_fileWatch = -1;
    std::string m_name;
    bool m_changed = false;
};

}  // namespace acquisition

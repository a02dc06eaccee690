#pragma once
// Whether what some paths name may have changed since they were looked at, heard from the system
// (inotify) instead of asked again before every use: the paths' folders are watched for whatever
// happens under the paths' names (made, removed, renamed, written, their times or mode changed),
// and the files they name, once looked at, for what happens to them under any name. Only local
// file systems are watched: a network or user-space one may change without this system hearing
// of it, and there, as wherever no watch can be had, the caller looks for itself. A folder above
// a path's own that is moved or replaced is not heard of, nor a write through a shared mapping.
//
// One inotify descriptor serves the object's whole life, whatever paths it is given in turn:
// closing one makes the kernel wait for a grace period (milliseconds on a loaded machine), while
// dropping a watch does not. Its closing at the end is left to a thread of its own.

#include <string>
#include <vector>

namespace acquisition {

class PathWatch {
public:
    PathWatch() = default;
    ~PathWatch();
    PathWatch(const PathWatch&) = delete;
    PathWatch& operator=(const PathWatch&) = delete;

    // Watches the folders of `paths` (empty ones left out) for their names, instead of what was
    // watched before; false, and nothing watched, where one of them cannot be. Called before the
    // paths are looked at, so that nothing done to them afterwards goes unheard.
    bool Watch(const std::vector<std::string>& paths);
    // Watches also the files the paths name now, once the caller has opened them; nothing is
    // watched any more when one that is there cannot be.
    void AddFiles();
    void Stop();
    bool IsWatching() const { return m_watching; }
    // Whether `path` is one of those given to Watch, watched or found unwatchable.
    bool Covers(const std::string& path) const;
    // Whether anything that touches the paths or their files was heard of since Watch; true when
    // nothing is watched.
    bool HeardOfChange();

private:
    // Nothing watched, the paths kept.
    void Refuse();
    // Every watch held, each once.
    std::vector<int> Watches() const;
    // Drops the watches of `dropped` that are not among `kept`: the kernel gives a watch that
    // exists on a folder again when asked for it, so a folder shared by the paths before and
    // after keeps its one watch.
    void Drop(const std::vector<int>& dropped, const std::vector<int>& kept = {});
    // Throws away what is queued: events of the watches before, a dropped watch's included,
    // whose number the kernel may give to a new one.
    void DiscardEvents();

    struct Watched {
        std::string path;
        std::string name;
        int folderWatch = -1;
    };

    int m_fd = -1;
    bool m_watching = false;
    std::vector<Watched> m_paths;
    std::vector<int> m_fileWatches;
    bool m_changed = false;
};

}  // namespace acquisition

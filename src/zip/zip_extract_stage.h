#pragma once
// The temporaries of extraction and their clean-up. Files extracted but not yet given their names
// wait in a hidden folder of their own inside the folder they go to, a stage (".<pid>-<n>.part",
// locked while it is used, its files named by number), and are moved to their names from there:
// a whole archive's entries once every one was written, a single file once it is whole. A stage
// carries a mark naming its own inode, written once it is locked, so that the clean-up, which
// removes the stages of killed extractions, tells them from a user's files of that name and
// from a stage still being made.

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zip {

class ExtractStage {
public:
    ExtractStage() = default;
    ~ExtractStage() { End(); }
    ExtractStage(const ExtractStage&) = delete;
    ExtractStage& operator=(const ExtractStage&) = delete;

    // Makes the stage inside the folder `folderFd` has open (`folder` is its path, kept for the
    // caller); false when it cannot be made.
    bool Begin(int folderFd, const std::string& folder = {});
    bool IsBegun() const { return m_fd >= 0; }
    const std::string& Folder() const { return m_folder; }
    std::string Path() const;

    // A new file in the stage, open for writing; -1 when none can be made. One at a time.
    int Create();
    // The permissions the first file made in the stage got (mode 0666 through the process's mask
    // or the folder's default ACL), the same for every later one; nullopt when it cannot be told.
    std::optional<mode_t> NewFileMode();
    // Closes the file Create() gave and returns its name in the stage; empty, and the file gone,
    // when its last writes did not land.
    std::string Keep();
    // Removes the file Create() gave.
    void Drop();
    // Gives `fd`, an open file without a name (O_TMPFILE), a name in the stage; empty when it
    // cannot be linked.
    std::string Adopt(int fd);
    // Links into the stage the file `name` in the folder `folderFd` has open, which a move is to
    // replace, so that it can be put back (PutBack). `kept` is its name in the stage, empty when
    // nothing is there or the system will not link it (another user's file, a file system
    // without links): MoveKeeping then keeps it. False when it can be neither linked nor
    // replaced: a file that must not change (immutable, append-only), one of another file system.
    bool KeepReplaced(int folderFd, const char* name, std::string& kept);
    // Moves a kept file to `name` in the folder `folderFd` has open, replacing a file there.
    bool Move(const std::string& staged, int folderFd, const char* name);
    // Move, for a file that PutBack may have to take back: with nothing `kept` yet, a file found
    // under `name` is exchanged with the new one, or moved into the stage first where names
    // cannot be exchanged, and `kept` names it there. False with nothing changed, unless the file
    // moved aside could not go back (then `name` is free and `kept` holds it).
    bool MoveKeeping(const std::string& staged, int folderFd, const char* name, std::string& kept);
    // Undoes MoveKeeping: the kept file back under `name` (the moved one gone), or, with nothing
    // kept, the moved file back into the stage as `staged`. False when a kept file cannot go
    // back: it stays in the stage, which End then leaves where it is.
    bool PutBack(const std::string& staged, const std::string& kept, int folderFd,
                 const char* name);
    // Removes the stage with whatever is still in it; one that holds a file that could not be
    // put back is only let go of, left to the clean-up of killed extractions.
    void End();

private:
    std::string NextFileName() { return std::to_string(m_files++); }

    std::string m_folder;
    int m_parent = -1;   // the folder the stage is in
    std::string m_name;  // of the stage in it
    int m_fd = -1;       // the stage, open and locked
    int m_file = -1;     // the file being written
    std::string m_fileName;
    unsigned m_files = 0;
    std::optional<mode_t> m_newFileMode;
    bool m_holdsStranded = false;  // a replaced file that could not go back
};

// Whether `name` has the form of a stage's: ".<pid>-<n>.part". No entry of an archive may take
// it as its first part: it would land in a stage.
bool IsTemporaryName(std::string_view name);

// Removes from the folder `folderFd` has open the stages of extractions killed before they
// ended: only folders of a stage's name that carry their mark and whose lock is free. Returns
// how many went.
int RemoveAbandonedStages(int folderFd);

// Links `fd`, an open file, under `name` in the folder `folderFd` has open.
bool LinkOpenFile(int fd, int folderFd, const char* name);

// For tests, which must act inside windows that are otherwise too short to hit: called, when
// set, once a stage is made and before it is locked, and before a kept file takes its name.
// `withoutLinkOrExchange` makes the stage act as on a file system that can neither link a file
// nor exchange two names (FAT, exFAT).
struct StageHooks {
    std::function<void()> madeUnlocked;
    std::function<void()> beforeMove;
    bool withoutLinkOrExchange = false;
};
// Sets the hooks while it lives and puts back those before it, however its scope is left: a test
// that ends early leaves none behind, holding references to what it had.
class ScopedStageHooks {
public:
    explicit ScopedStageHooks(StageHooks hooks);
    ~ScopedStageHooks();
    ScopedStageHooks(const ScopedStageHooks&) = delete;
    ScopedStageHooks& operator=(const ScopedStageHooks&) = delete;

private:
    StageHooks m_previous;
};

}  // namespace zip

#pragma once
// Reading a data set from disk: a zipped set unpacked beside itself, an index file and the page
// files it names, or a single page file holding every page; the setup of a page file decoded;
// the pages listed with their start texts; one page read into the data buffer. Nothing here
// shows anything: a failure comes back with the message the operator is to see.
//
// What a file says is checked before it is used: a page size that would not fit the data
// buffer is refused, and an index names only plain files of its own folder.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/data_buffer.h"
#include "acquisition/kept_file.h"
#include "records/record_layout.h"

namespace acquisition {

// What the readers take from a setup block.
struct RecordingSetup {
    std::string model;
    std::string date;
    std::string time;
    std::string range;
    std::string profileTime;
    std::string spectrumTime;
    // SLM1_PAR to SLM5_PAR, PROFILE_PARAM, SPECT_AUX_POND.
    std::array<std::string, 7> parameters;
    std::string spectShift;
    records::RecordKind kind = records::RecordKind::OfModeText({});
    long long pageSize = 0;
    records::ScheduleTime acquisitionTime;
    records::ScheduleTime repetitionTime;

    records::RecordLayout Layout() const { return records::RecordLayout::For(kind, profileTime); }
    // The top of the level scale: the range's full scale less 110 when character 9 of a
    // "QS4060" model text is '1' (its extended range), else less 80.
    int LevelScaleTop() const;
    bool HasScheduleTimes() const { return acquisitionTime.IsValid() && repetitionTime.IsValid(); }
};

// The full scale of a range text: 130 for "10", 120 for "20", 110 for "30", 100 for "40",
// else 140; less 110 when `extendedRange`, else less 80.
int LevelScaleTop(std::string_view range, bool extendedRange);
RecordingSetup DecodeSetup(const records::SetupBlock& block);

// The cause code of a file that could not be opened, as the program's messages number them
// (2 not found, 3 bad path, 4 too many open files, 5 access denied, ...).
int FileErrorCause(int error);

// A page file's setup and where its pages start.
struct PageFileSetup {
    records::SetupBlock block;
    RecordingSetup setup;  // the block decoded
    long long dataStart = 0;
};

// One page of a listing.
struct ListedPage {
    long long offset = 0;   // of the page's start text in its file
    std::string startText;  // as stored, 20 bytes or fewer
    size_t head = 0;        // the head of its file in DataSetListing::heads
};

struct DataSetListing {
    // More pages than anybody reads in a page list; a file that says so is refused.
    static constexpr size_t kMaxPages = 100000;

    bool opened = false;  // false: the path could not be read as text; nothing to say
    bool isIndex = false;
    std::vector<PageFileSetup> heads;  // one per page file read
    std::vector<ListedPage> pages;
    std::vector<std::string> pageNames;  // an index's page files, one per page
    // Set when the listing stopped on a failure the operator is told of.
    std::optional<std::string> failure;

    const records::SetupBlock& Block(size_t page) const { return heads[pages[page].head].block; }
    const RecordingSetup& Setup(size_t page) const { return heads[pages[page].head].setup; }
};
DataSetListing ListDataSet(const std::string& path);

struct PageLoad {
    // Bytes of the data buffer the page filled (start text included); 0 after a failure.
    long long bytes = 0;
    std::string startText;
    std::optional<std::string> failure;
};

// Loads the pages of one data set one after another. The set's file stays open with what its
// head says (an index's page names, where a single file's setup block starts), so that a page
// costs little more than its own read. Before each page the path is checked against the file
// kept (the same file, size and time of change): a set rewritten or replaced meanwhile is read
// again.
class PageLoader {
public:
    // Reads page `page` of the data set at `path` into `buffer`, 0xFF after it: line `page`
    // after an index's first line names its page file; a single file holds it at its place
    // among pages of `pageSize` samples of `layout`. `knownCurrent`: the caller knows that
    // nothing happened to the set's file since it was last loaded from (PathWatch), which
    // spares the look at it.
    PageLoad Load(const std::string& path, int page, const records::RecordLayout& layout,
                  long long pageSize, PageBuffer buffer, bool knownCurrent = false);
    // Lets the set's file go.
    void Close();

private:
    void Open(const std::string& path);
    PageLoad Read(const std::string& path, int page, const records::RecordLayout& layout,
                  long long pageSize, std::span<unsigned char> buffer) const;

    KeptFile m_file;
    bool m_isIndex = false;
    std::vector<std::string> m_pageNames;
    // Where a single file's setup block starts; -1 when the file is too short to tell.
    long long m_setupOffset = -1;
};

// One page read as PageLoader reads it, into a buffer whose whole rest is then filled with 0xFF.
PageLoad LoadPage(const std::string& path, int page, const records::RecordLayout& layout,
                  long long pageSize, std::span<unsigned char> buffer);

// What unpacking a data file came to: no archive (a data file to read as it is), an archive
// unpacked whole, or an archive that could not be unpacked, with the zip library's reason.
struct Unpacking {
    bool isArchive = false;
    std::optional<std::string> failure;

    bool Unpacked() const { return isArchive && !failure; }
};
// A data file that is a zip archive is unpacked into its own folder, every entry or none, read
// without writing to the archive. Only a file that starts as an archive does is one: a data set
// starts with its label header, its setup block or "INDEX FILE", never with a zip signature.
// A file that no longer starts as one when the archive is opened was unpacked meanwhile by
// another program opening the same set, and is no archive.
Unpacking UnpackZippedDataSet(const std::string& path);

// For tests, which must act inside a window otherwise too short to hit: called, while the
// object lives, once a data file was found to start as an archive and before it is opened.
class ScopedUnpackHook {
public:
    explicit ScopedUnpackHook(std::function<void()> beforeArchiveOpen);
    ~ScopedUnpackHook();
    ScopedUnpackHook(const ScopedUnpackHook&) = delete;
    ScopedUnpackHook& operator=(const ScopedUnpackHook&) = delete;

private:
    std::function<void()> m_previous;
};

}  // namespace acquisition

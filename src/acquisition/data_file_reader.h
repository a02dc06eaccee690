#pragma once
// Opening a data set for the operator: unpacking it when it is zipped, listing its pages into
// the view's page list with the segments of its timebase, loading a page into the data buffer
// with its labels, and saving the labels again. What it shows goes through AcquisitionHost;
// what it reads is the recording's (Recording).

#include <string>
#include <vector>

#include "acquisition/acquisition_host.h"
#include "acquisition/data_set.h"
#include "acquisition/label_file.h"
#include "acquisition/operator_notices.h"
#include "acquisition/page_list_view.h"
#include "acquisition/path_watch.h"
#include "acquisition/recording.h"

namespace acquisition {

class DataFileReader {
public:
    // Records per acquisition above which the segments count their starts.
    static constexpr long long kRecordCapacity = 10000;

    // What the reader uses, none of it owned.
    struct Uses {
        AcquisitionHost& host;
        // Lists the opened data set's pages.
        PageListView& pages;
        Recording& recording;
        // The program's, which a loaded page's setup block replaces.
        records::SetupBlock& setupBlock;
        OperatorNotices& notices;
        // The program's current file, which an opened data set becomes, and its label table,
        // one entry per line of the label file.
        std::string& currentFile;
        std::vector<std::string>& labels;
    };

    explicit DataFileReader(const Uses& uses) : m_uses(uses) {}
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    // A data file chosen by the operator or named on the command line; a memory-dump file
    // (".kx9") is not opened here.
    void OpenSessionFile(const std::string& path);
    // Lists the pages of a data set; 0, or -1 after a message (or for an empty path).
    int ReadDumpFile(const std::string& path);
    // Loads page `page` of the data set and its labels; 0, or -1 after a message. `first` is
    // the same page, as the callers give it.
    int OpenDataFile(const std::string& path, int first, int page);
    // Writes the label table to the label file of the current file; false when nothing was
    // written, after a message that says why.
    bool SaveLabelFile();

private:
    struct Listing {
        int result = 0;
        bool opened = false;
        size_t pages = 0;
    };
    Listing ListPages(const std::string& path);
    void TakeSetup(const RecordingSetup& setup);

    Uses m_uses;
    // The shown set's file and label file, kept while its pages are loaded one after another,
    // and what the system tells of them meanwhile.
    PageLoader m_pages;
    LabelFileCache m_labelFile;
    PathWatch m_watch;
};

}  // namespace acquisition

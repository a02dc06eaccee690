#include "acquisition/data_file_reader.h"

#include "acquisition/civil_time.h"
#include "acquisition/label_file.h"
#include "platform/text.h"
#include "platform/win_types.h"

namespace acquisition {

namespace {

constexpr const char* kNoData = "WARNING: No data found.";
constexpr const char* kCannotUnpack = "ERROR: Unable to unpack the archive (%s).";
// The labels stay on the graph until the next page is loaded.
constexpr const char* kLabelsNotSaved = "ERROR: The labels were not saved (%s).";
constexpr int kPageImage = 0;
constexpr int kNoImage = -1;

// Samples in one scheduled acquisition, by the interval the kind samples at. Not a whole
// number when the acquisition is not a multiple of the interval: the segments count from the
// fraction, so that each acquisition keeps its own samples.
double SamplesPerAcquisition(const RecordingSetup& setup) {
    if (!setup.acquisitionTime.IsValid())
        return 0;
    const double seconds = static_cast<double>(setup.acquisitionTime.WholeSeconds());
    const double interval =
        records::IntervalSeconds(setup.kind, setup.profileTime, setup.spectrumTime);
    return interval > 0 ? seconds / interval : 0;
}

std::string SegmentTimeText(const std::optional<CivilTime>& time) {
    return time ? time->Format() : std::string();
}

// The segments of a listed data set: where each page's samples start and which acquisition's
// start time they count from.
void BuildSegments(const DataSetListing& listing, const RecordingSetup& setup, Timebase& timebase) {
    const double perAcquisition = SamplesPerAcquisition(setup);
    const long long pageSize = setup.pageSize;
    const std::string& firstStart = listing.pages.front().startText;
    std::optional<CivilTime> segmentTime = CivilTime::Parse(firstStart);
    std::vector<unsigned> starts{0};
    std::vector<std::string> texts{"0#" + firstStart};
    long long running = pageSize;
    for (size_t page = 0; page < listing.pages.size(); ++page) {
        starts.push_back(perAcquisition > static_cast<double>(DataFileReader::kRecordCapacity)
                             ? static_cast<unsigned>(running)
                             : 0);
        running += pageSize - 1;
        if (static_cast<double>(running) <= perAcquisition) {
            texts.push_back(std::to_string(running - pageSize) + "#" +
                            SegmentTimeText(segmentTime));
            continue;
        }
        running = static_cast<long long>(static_cast<double>(running) - perAcquisition);
        const std::optional<CivilTime> next =
            segmentTime ? segmentTime->AddSeconds(setup.repetitionTime.WholeSeconds())
                        : std::nullopt;
        texts.push_back(std::to_string(std::llabs(pageSize - running)) + "#" +
                        SegmentTimeText(segmentTime) + "#" + SegmentTimeText(next));
        segmentTime = next;
    }
    timebase.SetSegments(std::move(starts), std::move(texts));
}

}  // namespace

void DataFileReader::OpenSessionFile(const std::string& path) {
    if (platform::Contains(path, ".kx9"))
        return;
    m_pages.Close();
    m_labelFile.Forget();
    m_watch.Stop();
    m_uses.recording.SetLoadedFromFile(true);
    m_uses.currentFile = path;
    m_uses.host.BeginDataFile(path);
    m_uses.setupBlock.Fill(0, records::SetupBlock::kUnset);
    // An archive that could not be unpacked holds no data set to read: its bytes read as one
    // would only say that the page size is not valid.
    const Unpacking unpacking = UnpackZippedDataSet(path);
    if (unpacking.failure) {
        m_uses.notices.Warn(platform::Format(kCannotUnpack, unpacking.failure->c_str()),
                            MB_ICONEXCLAMATION);
        return;
    }
    // A set that said what was wrong with it, or had no page, has nothing more to show.
    const Listing listing = ListPages(path);
    if (listing.result < 0 || (listing.opened && listing.pages == 0))
        return;
    // The first page is the one shown, and its segment the one its samples are timed by.
    m_uses.recording.SetLoadedPage(0, 0, std::string());
    m_uses.recording.SelectSegment(0);
    m_uses.host.ShowLoadedDataViews(m_uses.recording.Layout().Kind());
    OpenDataFile(path, 0, 0);
    m_uses.host.SetDataLoaded();
}

void DataFileReader::TakeSetup(const RecordingSetup& setup) {
    m_uses.recording.SetLayout(setup.Layout(), setup.pageSize);
    m_uses.recording.Time().SetScheduleTimes(setup.acquisitionTime, setup.repetitionTime);
    m_uses.recording.Time().SetSamplingInterval(
        SamplingInterval(setup.kind, setup.profileTime, setup.spectrumTime));
    m_uses.host.TakeRecordingSetup(setup);
    if (setup.repetitionTime.IsValid())
        m_uses.host.CreateSchedulerLogWindow();
}

int DataFileReader::ReadDumpFile(const std::string& path) {
    return ListPages(path).result;
}

DataFileReader::Listing DataFileReader::ListPages(const std::string& path) {
    if (path.empty())
        return {-1};
    const DataSetListing listing = ListDataSet(path);
    if (!listing.opened)
        return {};
    m_uses.pages.Clear();
    for (size_t page = 0; page < listing.pages.size(); ++page) {
        const ListedPage& listed = listing.pages[page];
        if (listing.isIndex || page == 0) {
            RecordingSetup setup = listing.Setup(page);
            if (!listing.isIndex) {
                // A single file's data set starts with its first page.
                setup.date = platform::Mid(listed.startText, 0, records::kStartDateLength);
                setup.time = platform::Mid(listed.startText, records::kStartTimeOffset,
                                           records::kStartTimeLength);
            }
            m_uses.setupBlock = listing.Block(page);
            TakeSetup(setup);
        }
        m_uses.pages.AppendRow("PAGE " + std::to_string(page), kPageImage);
        m_uses.pages.AppendRow(listed.startText, kNoImage);
    }
    if (listing.failure) {
        m_uses.notices.Warn(*listing.failure, MB_ICONEXCLAMATION);
        return {-1, true, listing.pages.size()};
    }
    if (listing.pages.empty()) {
        m_uses.pages.Clear();
        m_uses.notices.Warn(kNoData, MB_ICONEXCLAMATION);
        return {0, true, 0};
    }
    BuildSegments(listing, listing.Setup(listing.pages.size() - 1), m_uses.recording.Time());
    m_uses.pages.SelectFirstRow();
    m_uses.pages.SetPageStartText(listing.pages.front().startText);
    m_uses.host.ShowSchedulerLogWindow(path);
    return {0, true, listing.pages.size()};
}

int DataFileReader::OpenDataFile(const std::string& path, int /*first*/, int page) {
    const std::string labelPath = LabelFilePath(path);
    // Nothing heard of the set or its label file since the page before: neither path is looked
    // up, one question to the system where looking up both would cost several times as much;
    // only the kept label file's few bytes are read again, as a write through a shared mapping
    // is never heard. Something heard: both are read again, whatever their times say.
    bool unchanged = false;
    if (!m_watch.Covers(path)) {
        m_watch.Watch({path, labelPath});
    } else if (m_watch.IsWatching()) {
        unchanged = !m_watch.HeardOfChange();
        if (!unchanged) {
            m_pages.Close();
            m_labelFile.Forget();
            m_watch.Watch({path, labelPath});
        }
    }
    const bool watchFiles = !unchanged && m_watch.IsWatching();
    const LabelFileContents& contents = m_labelFile.Read(labelPath, unchanged);
    m_uses.labels = contents.labels;
    m_uses.host.UpdateAudioLabelWindow(contents.hasAudioLabels);

    m_uses.host.BeginWaitCursor();
    const PageLoad load =
        m_pages.Load(path, page, m_uses.recording.Layout(), m_uses.recording.PageSize(),
                     m_uses.host.DataBuffer(), unchanged);
    if (watchFiles)
        m_watch.AddFiles();
    m_uses.recording.SetLoadedPage(page, load.bytes, load.startText);
    if (load.failure) {
        m_uses.host.EndWaitCursor();
        m_uses.notices.Warn(*load.failure, MB_ICONEXCLAMATION);
        return -1;
    }
    const long long samples = m_uses.recording.SampleCount();
    m_uses.host.SetDataListCount(samples);
    m_uses.recording.SelectRecord(0);
    m_uses.host.OnPageLoaded(m_uses.recording.Layout().Kind(), samples);
    m_uses.host.EndWaitCursor();
    return 0;
}

bool DataFileReader::SaveLabelFile() {
    m_labelFile.Forget();
    const LabelFileSave save = acquisition::SaveLabelFile(m_uses.currentFile, m_uses.labels);
    if (save.failure)
        m_uses.notices.Warn(platform::Format(kLabelsNotSaved, save.failure->c_str()),
                            MB_ICONEXCLAMATION);
    return static_cast<bool>(save);
}

}  // namespace acquisition

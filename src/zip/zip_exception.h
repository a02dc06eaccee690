#pragma once
// The one exception of the archive classes: a numbered cause and the archive it concerns.
// Callers catch it and close the archive with Close(TRUE) so that nothing more is written.

#include <stdexcept>
#include <string>

class CZipException : public std::runtime_error {
public:
    enum Cause : int {
        kGeneric = 1,
        kZlibStreamEnd = 2,
        kZlibNeedDictionary = 3,
        kZlibFileError = 4,
        kZlibStreamError = 5,
        kZlibDataError = 6,
        kZlibMemoryError = 7,
        kZlibBufferError = 8,
        kZlibVersionError = 9,
        kBadArchive = 10,
        kBadCrc = 11,
        kNoVolumeCallback = 12,
        kVolumeChangeAborted = 13,
        kNotRemovable = 14,
        kTooManyVolumes = 15,
        kFieldTooLong = 16,
        kBadPassword = 17,
        kEndRecordMissing = 18,
        // An entry that would be written outside the extraction folder, or a link.
        kUnsafeEntry = 19,
        // A second entry that would be extracted into the file an earlier one was written to.
        kSameTarget = 20,
        // A volume of a spanned archive that is not there; the other volumes stay readable.
        kMissingVolume = 21,
    };

    CZipException(int cause, const std::string& archivePath, const std::string& detail = {});
    ~CZipException() override;

    int m_iCause;
    std::string m_strFileName;
};

const char* ZipCauseText(int cause);

[[noreturn]] void ThrowZipError(int cause, const std::string& archivePath,
                                const std::string& detail = {});

// zlib's results that are not errors pass (Z_OK, Z_NEED_DICT); every other one is raised with
// the cause of its code (Z_STREAM_END included: callers that expect it test it first).
void CheckZlibResult(int zlibResult, const std::string& archivePath);

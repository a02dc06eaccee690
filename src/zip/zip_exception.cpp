#include "zip/zip_exception.h"

#include <zlib.h>

#include "platform/text.h"

namespace {

// The words are ASCII and the names UTF-8, as the archive's: the whole is made a text at once.
std::string Describe(int cause, const std::string& path, const std::string& detail) {
    std::string text =
        platform::Format("zip error %d (%s): %s", cause, ZipCauseText(cause), path.c_str());
    if (!detail.empty())
        text += " - " + detail;
    return platform::Utf8ToLatin1(text);
}

}  // namespace

CZipException::CZipException(int cause, const std::string& archivePath, const std::string& detail)
    : std::runtime_error(Describe(cause, archivePath, detail)),
      m_iCause(cause),
      m_strFileName(archivePath) {}

CZipException::~CZipException() = default;

const char* ZipCauseText(int cause) {
    switch (cause) {
        case CZipException::kZlibStreamEnd:
            return "end of compressed data";
        case CZipException::kZlibNeedDictionary:
            return "dictionary needed";
        case CZipException::kZlibFileError:
            return "zlib file error";
        case CZipException::kZlibStreamError:
            return "zlib stream error";
        case CZipException::kZlibDataError:
            return "damaged compressed data";
        case CZipException::kZlibMemoryError:
            return "out of memory";
        case CZipException::kZlibBufferError:
            return "zlib buffer error";
        case CZipException::kZlibVersionError:
            return "zlib version mismatch";
        case CZipException::kBadArchive:
            return "bad archive";
        case CZipException::kBadCrc:
            return "CRC mismatch";
        case CZipException::kNoVolumeCallback:
            return "volume change without a callback";
        case CZipException::kVolumeChangeAborted:
            return "volume change cancelled";
        case CZipException::kNotRemovable:
            return "medium not removable";
        case CZipException::kTooManyVolumes:
            return "too many volumes";
        case CZipException::kFieldTooLong:
            return "name, extra field or comment too long";
        case CZipException::kBadPassword:
            return "wrong password";
        case CZipException::kEndRecordMissing:
            return "end of central directory not found";
        case CZipException::kUnsafeEntry:
            return "entry outside the target folder";
        case CZipException::kSameTarget:
            return "two entries for one file";
        case CZipException::kMissingVolume:
            return "volume missing";
        default:
            return "archive error";
    }
}

void ThrowZipError(int cause, const std::string& archivePath, const std::string& detail) {
    throw CZipException(cause, archivePath, detail);
}

void CheckZlibResult(int zlibResult, const std::string& archivePath) {
    if (zlibResult == Z_OK || zlibResult == Z_NEED_DICT)
        return;
    int cause = CZipException::kGeneric;
    if (zlibResult == Z_STREAM_END)
        cause = CZipException::kZlibStreamEnd;
    if (zlibResult <= Z_ERRNO && zlibResult >= Z_VERSION_ERROR)
        cause = CZipException::kZlibFileError + (Z_ERRNO - zlibResult);
    ThrowZipError(cause, archivePath);
}

#include "zip/zip_archive.h"

#include "zip/zip_exception.h"

CZipArchive::CZipArchive() : m_random(std::random_device{}()) {
    m_allocations.Attach(m_info.m_stream);
}

CZipArchive::~CZipArchive() {
    // Whatever is left open is dropped without writing: only Close() completes an archive.
    try {
        Close(true);
    } catch (...) {
    }
    m_info.EndStream();
    m_allocations.FreeAll();
}

void CZipArchive::Fail(int cause, const std::string& detail) const {
    ThrowZipError(cause, GetArchivePath(), detail);
}

std::uint64_t CZipArchive::BytesBefore() const {
    return m_storage.IsSpanned() ? 0 : m_centralDir.m_uBytesBefore;
}

char* CZipArchive::TransferBuffer(std::size_t size) {
    if (m_transfer.GetSize() != size)
        m_transfer.Allocate(size);
    return m_transfer.Data();
}

bool CZipArchive::Open(const std::string& path, int mode, std::uint64_t volumeSize) {
    if (!IsClosed() || mode < kOpen || mode > kCreateSpan)
        return false;
    m_iMode = mode;
    m_state = EntryState::kNone;
    m_bChanged = mode == kCreate || mode == kCreateSpan;
    m_bDirectoryCut = false;
    m_centralDir.Clear();
    m_extracted.Clear();
    m_folders.Clear();
    m_dosTimes.ReadZone();
    try {
        m_storage.Open(path, mode, volumeSize);
        if (mode == kOpen || mode == kOpenReadOnly)
            m_centralDir.Read(m_storage);
    } catch (...) {
        m_storage.Close(true);
        m_centralDir.Clear();
        throw;
    }
    return true;
}

void CZipArchive::Close(bool afterException) {
    if (IsClosed())
        return;
    if (afterException) {
        EndEntry();
        if (m_bDirectoryCut)
            RestoreDirectoryAfterFailure();
        m_storage.Close(true);
    } else {
        if (m_state == EntryState::kReading)
            EndEntry();
        if (m_state == EntryState::kWriting)
            CloseNewFile();
        if (m_bChanged) {
            if (m_storage.IsWritingSpanned() && m_storage.GetCurrentVolume() == 0)
                MakeSpanOrdinary();
            if (!m_storage.IsWritingSpanned())
                m_storage.SeekToEnd();
            m_centralDir.Write(m_storage);
        }
        m_storage.Close(false);
    }
    m_centralDir.Clear();
    m_extracted.Clear();
    m_staged.clear();
    m_stage.End();
    m_folders.Clear();
    m_info.EndStream();
    m_info.ReleaseBuffer();
    m_transfer.Release();
    m_bChanged = m_bDirectoryCut = false;
}

bool CZipArchive::GetFileInfo(CZipFileHeader& header, int index) const {
    if (IsClosed() || !m_centralDir.IsValidIndex(index))
        return false;
    header = m_centralDir.GetHeader(index);
    header.ConvertToCallerForm();
    return true;
}

int CZipArchive::FindFile(std::string_view name, bool caseSensitive) const {
    return IsClosed() ? -1 : m_centralDir.FindFile(name, caseSensitive);
}

bool CZipArchive::SetPassword(std::string_view password) {
    if (m_state != EntryState::kNone)
        return false;
    m_password.Assign(password);
    return true;
}

void CZipArchive::SetVolumeCallback(ZipVolumeCallback callback, void* userData) {
    m_storage.m_pCallback = callback;
    m_storage.m_pCallbackData = userData;
}

void CZipArchive::EndEntry() {
    m_state = EntryState::kNone;
    m_iCurrentIndex = -1;
}

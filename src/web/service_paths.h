#pragma once
// Where things live on the web service: the base path every remote path starts with, the
// scripts, the files the station downloads and the local names it keeps them under.

#include <cstddef>
#include <optional>
#include <string>

namespace web {

// Doubled slashes are part of the paths and are sent as they stand.
inline constexpr const char* kServerPath = "//qs4060krtn_vp//";
// The test deployment's base path; start-up shows it when it is in use.
inline constexpr const char* kTestServerPath = "//qs4060krtn_vp_test//";

// The `user` value of every form post but the log post.
inline constexpr const char* kFormUser = "corvanex";

// Form scripts.
inline constexpr const char* kLogUserScript = "log_user.php";
inline constexpr const char* kSendMailScript = "send_mail_to_corvanex.php";
inline constexpr const char* kFindAcrediaUserScript = "find_acredia_user.php";
inline constexpr const char* kAddAcrediaUserScript = "add_acredia_user.php";
inline constexpr const char* kFindCertifAccrediaScript = "HTTP_find_certif_accredia.php";
inline constexpr const char* kFindCertifDateScript = "HTTP_find_certif_date.php";
inline constexpr const char* kFindCertifDateCalibScript = "HTTP_find_certif_date_calib.php";
inline constexpr const char* kFindMicSubstDateScript = "HTTP_find_mic_sobst_date.php";
inline constexpr const char* kGetTimeScript = "get_time.php";
// The reply keys of the scripts that answer with a result line and of the certificate dates.
inline constexpr const char* kResultKey = "RESULT=";
inline constexpr const char* kCertDateKey = "CERT_DATE=";
// Multipart uploads.
inline constexpr const char* kUploadReportScript = "upload_spectr_3band_2018_quater.php";
inline constexpr const char* kUploadLogScript = "upload_log_file.php";

// Downloads: remote paths after the base path (the black list's is a full path), and the
// local copies in the program folder.
inline constexpr const char* kCorrectionsTablePath = "corrections//corrections_table.txt";
inline constexpr const char* kCorrectionsTableFile = "msvcrt70.dll";
inline constexpr const char* kLabDatabasePath = "report//lab_database.lab";
inline constexpr const char* kLabDatabaseFile = "msvcrt80.dll";
inline constexpr const char* kBlackListFullPath = "//qs4060krtn_vp//black_list.txt";
inline constexpr const char* kBlackListFile = "msvcrt90.dll";
inline constexpr const char* kHashKeysFolder = "hash_keys//";
inline constexpr const char* kHashKeysSuffix = "hash.txt";
inline constexpr const char* kFirmwareVersionsPath = "firmware_upgrade//target_instr_ver.txt";
inline constexpr const char* kFirmwareFolder = "firmware_upgrade//";
inline constexpr const char* kSoftwareFolder = "software_upgrade//";

// A download keeps at most 2000 pieces of 1024 bytes; a longer file is refused.
inline constexpr std::size_t kMaxDownloadBytes = 2000 * 1024;
// The replies of posts and log uploads are held to the same size; a longer one is no reply.
inline constexpr std::size_t kMaxReplyBytes = kMaxDownloadBytes;
// A report upload's reply is the rendered report, a PDF that may be much larger.
inline constexpr std::size_t kMaxReportReplyBytes = 64u * 1024 * 1024;

// The key file of the instrument with this serial number, after the base path: the key folder,
// the serial as one piece of the path, the suffix. A serial that holds "/" or a backslash
// would reach beyond the key folder, on the server or through it: it names no key file.
std::optional<std::string> KeyFilePath(const std::string& serial);

// Busy replies: at most this many exchanges, this long apart.
inline constexpr int kBusyExchanges = 5;
inline constexpr unsigned kBusyPauseMs = 1000;
// The pause before each download request.
inline constexpr unsigned kDownloadPauseMs = 2000;
// Upload attempts while the reply is empty, and the pause after each.
inline constexpr int kUploadAttempts = 5;
inline constexpr unsigned kUploadPauseMs = 1000;

}  // namespace web

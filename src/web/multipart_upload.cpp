#include "web/multipart_upload.h"

#include "platform/text.h"

namespace web {

namespace {
// The boundary's CR LF is part of it: each delimiter line ends with it.
constexpr std::string_view kBoundary = "--BOUNDARY---\r\n";
}  // namespace

MultipartBody BuildMultipartUpload(std::string_view fileName, std::string_view contents) {
    const std::string boundary(kBoundary);
    MultipartBody upload;
    upload.contentType =
        "Content-Type: multipart/form-data; boundary=" + platform::TrimRight(boundary);
    std::string& body = upload.body;
    body = "--" + boundary + "Content-Disposition: form-data; name=\"action\"\r\n\r\nupload\r\n";
    body += "--" + boundary + "Content-Disposition: form-data; name=\"user_file\"; filename=\"";
    body.append(fileName);
    body += "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
    body.append(contents);
    body += "\r\n--" + boundary + "\r\n";
    return upload;
}

std::string UploadFileName(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ReportPathFor(std::string_view vpgPath) {
    std::string report(vpgPath);
    const std::string lower = platform::ToLower(vpgPath);
    bool replaced = false;
    for (size_t at = lower.find(".vpg"); at != std::string::npos; at = lower.find(".vpg", at + 4)) {
        report.replace(at, 4, ".pdf");
        replaced = true;
    }
    if (!replaced)
        report += ".pdf";
    return report;
}

}  // namespace web

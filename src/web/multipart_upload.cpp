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
    const size_t slash = report.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = platform::ToLower(std::string_view(report).substr(nameStart));
    if (name.size() > 4 && platform::EndsWith(name, ".vpg"))
        report.replace(report.size() - 4, 4, ".pdf");
    else
        report += ".pdf";
    return report;
}

bool IsPdfReport(std::string_view reply) {
    return platform::StartsWith(reply, "%PDF");
}

std::string ServiceErrorText(std::string_view reply) {
    std::string text;
    bool first = true;
    for (const std::string& line : platform::Split(reply, '\n')) {
        if (!first)
            text += platform::Remove(line, '\r');
        first = false;
    }
    return platform::ReplaceAll(text, "<br>", "\n");
}

}  // namespace web

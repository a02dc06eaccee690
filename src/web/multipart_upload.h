#pragma once
// The multipart body of a file upload, byte for byte as the service's upload scripts have
// always received it: a fixed boundary, the part "action" with the value "upload", then the
// part "user_file" with the file.

#include <string>
#include <string_view>

namespace web {

struct MultipartBody {
    std::string contentType;  // the request's Content-Type header line
    std::string body;
};

// The whole file goes into the body, whatever its size and bytes.
MultipartBody BuildMultipartUpload(std::string_view fileName, std::string_view contents);

// The name the service will know the file by: the text after the last path separator.
std::string UploadFileName(std::string_view path);

// Where the report of a verification file is kept, beside it: the file's own ".vpg" extension
// (in any case) turned into ".pdf", or ".pdf" added when it has none, so that the report can
// never land on the verification file itself nor in another folder.
std::string ReportPathFor(std::string_view vpgPath);

// The service's answer to a report upload is the report when it begins as a PDF does.
bool IsPdfReport(std::string_view reply);
// What the service says when it answers with text instead: its lines from the second on,
// joined, with each "<br>" a line break.
std::string ServiceErrorText(std::string_view reply);

}  // namespace web

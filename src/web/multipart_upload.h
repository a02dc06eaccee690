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

// Where the report of a verification file is kept: the path with ".vpg" (in any case) turned
// into ".pdf", or with ".pdf" added when it has no ".vpg", so that the report can never land
// on the verification file itself.
std::string ReportPathFor(std::string_view vpgPath);

}  // namespace web

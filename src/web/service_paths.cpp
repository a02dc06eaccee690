#include "web/service_paths.h"

#include "web/http_exchange.h"

namespace web {

std::optional<std::string> KeyFilePath(const std::string& serial) {
    if (serial.find_first_of("/\\") != std::string::npos)
        return std::nullopt;
    return kHashKeysFolder + EncodePathPart(serial) + kHashKeysSuffix;
}

}  // namespace web

#include "acquisition/recording.h"

namespace acquisition {

void Recording::SetLayout(const records::RecordLayout& layout, long long pageSize) {
    m_layout = layout;
    m_pageSize = pageSize;
}

void Recording::SetLoadedPage(int page, long long bytes, std::string startText) {
    m_page = page;
    m_loadedBytes = bytes;
    m_pageStartText = std::move(startText);
}

}  // namespace acquisition

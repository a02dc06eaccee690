#include "app/pending_entry_points.h"

#include <algorithm>

int PendingEntryPoints::Call(const std::string& name, int result) {
    m_calls.push_back(name);
    return Query(name, result);
}

int PendingEntryPoints::Query(const std::string& name, int result) const {
    const auto it = m_handlers.find(name);
    if (it == m_handlers.end())
        return result;
    // A copy: the handler may replace itself.
    const Handler handler = it->second;
    return handler();
}

void PendingEntryPoints::SetHandler(const std::string& name, Handler handler) {
    if (handler)
        m_handlers[name] = std::move(handler);
    else
        m_handlers.erase(name);
}

int PendingEntryPoints::CountOf(const std::string& name) const {
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), name));
}

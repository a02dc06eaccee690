#pragma once
// The frame's calls into parts of the program that are not built yet: the report, session and
// tool commands. Each call is
// recorded and gives the caller's default result, unless a handler was set for its name (tests
// set handlers to play those parts). A part that comes replaces its calls with the real ones.

#include <functional>
#include <map>
#include <string>
#include <vector>

class PendingEntryPoints {
public:
    using Handler = std::function<int()>;

    // A command or step of another part: recorded, then the handler's result or `result`.
    int Call(const std::string& name, int result = 0);
    // A question asked often (menu states): not recorded.
    int Query(const std::string& name, int result = 0) const;

    // nullptr removes the handler.
    void SetHandler(const std::string& name, Handler handler);

    const std::vector<std::string>& Calls() const { return m_calls; }
    int CountOf(const std::string& name) const;

private:
    std::map<std::string, Handler> m_handlers;
    std::vector<std::string> m_calls;
};

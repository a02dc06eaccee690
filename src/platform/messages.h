#pragma once
// Window messages posted across threads. A listener thread posts to a target; the target's
// OnMessage runs later on the user-interface thread, in the order the messages were posted.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QObject;

namespace platform {

class MessageTarget {
public:
    MessageTarget();
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    virtual void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // A message that carries a text from its poster (PostTextMessage); a target that does not
    // read texts gets it as a plain message.
    virtual void OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                               const std::string& /*text*/) {
        OnMessage(message, wParam, lParam);
    }

    // The Qt object that carries posted events to this target; messages still queued when the
    // target is destroyed are dropped.
    QObject* Context() const { return m_context.get(); }

private:
    std::unique_ptr<QObject> m_context;
};

// Safe from any thread while the target exists.
void PostMessage(MessageTarget* target, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam);
// The same, with the text the message is about (a reply that a listener collected).
void PostTextMessage(MessageTarget* target, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam, std::string text);

// A number for a message name, the same for every call with that name (from 0xC000 up).
unsigned RegisterWindowMessage(std::string_view name);

// Runs `task` on the user-interface thread after the events queued before it.
void PostToUiThread(std::function<void()> task);
bool IsUiThread();

}  // namespace platform

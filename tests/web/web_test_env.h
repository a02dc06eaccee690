#pragma once
// A web client pointed at a fresh stand-in of the web service, with its log lines and pauses
// recorded and the program clock running fast.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/test_env.h"
#include "web/service_paths.h"
#include "web/web_client.h"
#include "webstub/webstub_process.h"

class WebClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        PointAt(client, stub);
    }

    void PointAt(web::WebClient& c, const webstub::WebStub& s) {
        c.SetEndpoint({s.Host(), s.PortText(), "tecnico", "segreto", s.PortText()});
        c.SetInstrLog([this](const std::string& text) { log.push_back(text); });
        c.SetWaitFunction([this](std::uint32_t ms) {
            waits.push_back(ms);
            platform::EventLoop::Wait(ms);
        });
    }

    static std::string Url(const std::string& relative) { return web::kServerPath + relative; }
    // Requests for this path so far.
    int RequestsFor(const std::string& remotePath) const {
        int count = 0;
        for (const auto& request : stub.Requests())
            count += request.uri == remotePath ? 1 : 0;
        return count;
    }

    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    webstub::WebStub stub;
    web::WebClient client;
    std::vector<std::string> log;
    std::vector<std::uint32_t> waits;
};

// The program folder's "webservice.ini" and "alt_www.dll" for a stand-in: downloads to its
// port, and the posts too, which would otherwise go to the protocol's default port.
inline void PointProgramAt(const testenv::ScratchFolder& folder, const webstub::WebStub& stub) {
    folder.Write("webservice.ini", "SERVER_HOST=" + stub.Host() +
                                       "\r\nDOWNLOAD_USER=tecnico\r\nDOWNLOAD_PASSWORD=segreto"
                                       "\r\nPOST_PORT=" +
                                       stub.PortText() + "\r\n");
    folder.Write("alt_www.dll", stub.Host() + "\r\n" + stub.PortText() + "\r\n");
}

// A loopback port that refuses connections while the object lives.
class RefusingPort {
public:
    RefusingPort() {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(m_fd); }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::string PortText() const { return std::to_string(m_port); }

private:
    int m_fd = -1;
    int m_port = 0;
};

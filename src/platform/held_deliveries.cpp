#include "platform/held_deliveries.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <deque>
#include <utility>

namespace platform {

namespace {

int g_holds = 0;
bool g_drainPosted = false;
std::deque<std::function<void()>> g_waiting;

void Drain() {
    g_drainPosted = false;
    // A delivery that holds again stops the drain; that hold's end posts it anew.
    while (g_holds == 0 && !g_waiting.empty()) {
        std::function<void()> next = std::move(g_waiting.front());
        g_waiting.pop_front();
        next();
    }
}

void PostDrain() {
    if (g_drainPosted || g_waiting.empty() || !QCoreApplication::instance())
        return;
    g_drainPosted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), Drain, Qt::QueuedConnection);
}

}  // namespace

DeliveryHold::DeliveryHold() {
    ++g_holds;
}

DeliveryHold::~DeliveryHold() {
    if (--g_holds == 0)
        PostDrain();
}

bool DeliveriesHeld() {
    return g_holds > 0;
}

void Deliver(std::function<void()> delivery) {
    if (g_holds == 0 && g_waiting.empty()) {
        delivery();
        return;
    }
    g_waiting.push_back(std::move(delivery));
    if (g_holds == 0)
        PostDrain();
}

}  // namespace platform

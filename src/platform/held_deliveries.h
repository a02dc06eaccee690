#pragma once
// The program's own deliveries on the user-interface thread (window timers and posted messages)
// can be held back for a moment: a wait that may let the user's input through, but must not let
// a timer or a reply run in the middle of what it waits for, holds them. Held deliveries run
// afterwards in the order they fell due, once the last hold has ended and the loop turns again.

#include <functional>

namespace platform {

class DeliveryHold {
public:
    DeliveryHold();
    ~DeliveryHold();
    DeliveryHold(const DeliveryHold&) = delete;
    DeliveryHold& operator=(const DeliveryHold&) = delete;
};

bool DeliveriesHeld();

// Runs `delivery` now, or, while deliveries are held or some still wait, after them. User-interface
// thread only.
void Deliver(std::function<void()> delivery);

}  // namespace platform

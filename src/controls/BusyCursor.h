#pragma once

// The hourglass for the whole application while a long step runs. The guard shows it for
// its lifetime, so the normal cursor comes back also when the step throws. Guards nest:
// the cursor returns to normal when the outermost one ends. Without a GUI application
// nothing happens.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool m_shown = false;
};

// Switches the hourglass on or off for callers that cannot hold a guard. Switching it on
// twice needs only one off; it does not take away the hourglass of a live guard.
void SetBusyCursor(bool on);

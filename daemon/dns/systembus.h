// The system bus, opened on first use: most runs (a down of the file, a
// machine without NetworkManager or resolved) never need it, and then no
// call loads libsystemd.
#pragma once

struct sd_bus;

class SystemBus
{
public:
    SystemBus() = default;
    ~SystemBus();
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    // Opens it on the first call; nullptr when it cannot be opened, and then
    // it is not tried again.
    sd_bus* open();
    // What is open now, without opening it.
    sd_bus* current() const { return bus; }
    // In a forked child: sd-bus refuses a connection of another process, so
    // the inherited one is left alone and a fresh one opened when needed.
    void forgetAfterFork();

private:
    sd_bus* bus = nullptr;
    bool failed = false;
};

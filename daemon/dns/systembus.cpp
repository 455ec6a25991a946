#include "systembus.h"

#include <systemd/sd-bus.h>

SystemBus::~SystemBus()
{
    if (bus) {
        sd_bus_flush_close_unref(bus);
    }
}

sd_bus* SystemBus::open()
{
    if (!bus && !failed) {
        failed = sd_bus_open_system(&bus) < 0;
        if (failed) {
            bus = nullptr;
        }
    }
    return bus;
}

void SystemBus::forgetAfterFork()
{
    bus = nullptr;
    failed = false;
}

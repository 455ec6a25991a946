#include "firewall.h"

// Placeholder until the rule work lands: accepts every call.
FireWall::FireWall() = default;
FireWall::~FireWall() = default;
void FireWall::setInterfaceToSkip(const std::string&) {}
bool FireWall::firewallOn(const std::string&, bool, bool, bool, bool) { return true; }
bool FireWall::firewallChange(const std::string&, bool, bool, bool, bool) { return true; }
bool FireWall::firewallOff() { return true; }
void FireWall::reset() {}
bool FireWall::restoreSavedState() { return true; }
void FireWall::forgetSavedState() {}

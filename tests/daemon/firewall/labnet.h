// Traffic and rule probes for tests that run inside the lab's client namespace.
#pragma once

#include <string>
#include <vector>

namespace LabNet {

// True when this process is in the lab's kv-client network namespace; every
// test that loads rules checks it first.
bool inLabClientNamespace();

// Replaces the daemon's fixed folders (/run, /tmp, /usr/share) with empty
// private ones in this process's own mount namespace.
bool mountPrivateFolders(std::string* error);

bool tcpConnects(const std::string& address, int port, int timeoutMs = 400);
bool udpEchoes(const std::string& address, int port, int timeoutMs = 400);
bool pingAnswers(const std::string& address);
// One A query for `name` to the resolver; true when an answer with our id
// arrives.
bool dnsAnswers(const std::string& server, const std::string& name, int timeoutMs = 400);

// Standard output of a program (run to completion), split into lines.
std::vector<std::string> output(const std::vector<std::string>& argv);
// Runs a program; true when it exits with 0.
bool run(const std::vector<std::string>& argv, const std::string& input = {});

} // namespace LabNet

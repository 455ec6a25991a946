// The worker process: serves commands until it is told to stop.
#pragma once

class FireWall;
class TimezoneWorker;

// Clears the firewall (and puts back the kill switch of a worker that died,
// when `replacing`), starts the command server and waits for SIGQUIT, SIGINT
// or SIGTERM. Returns 2.
int WorkProc(FireWall& firewall, TimezoneWorker& timezone, bool replacing);

#include "sessionhost.h"

#include "controlprotocol.h"

int SessionHost::run()
{
    return ControlProtocol::Failed;
}

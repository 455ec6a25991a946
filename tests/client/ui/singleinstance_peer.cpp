// A second instance for the single-instance test: prints whether another
// instance was running and whether it took the message, then exits.
#include "singleapplication.h"

#include <cstdio>

int main(int argc, char** argv)
{
    SingleApplication app(argc, argv, QStringLiteral("KestrovaTest"));
    const QString message = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Wake up!");
    const bool running = app.isRunning();
    const bool delivered = running && app.sendMessage(message, 500);
    std::printf("running=%d delivered=%d\n", running ? 1 : 0, delivered ? 1 : 0);
    return delivered ? 0 : 3;
}

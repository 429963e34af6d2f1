// quorvel-demo-server [port]: the sample world's game server on 127.0.0.1,
// with its board and mail servers on free ports. Prints "port N board B
// mail M" once they listen (port 0 or none: a free port), serves one client
// and exits when that client disconnects, or on SIGTERM or SIGINT.
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/DemoBoardServer.h"
#include "support/DemoServer.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

}  // namespace

int main(int argc, char** argv)
{
    long port = 0;
    if (argc > 2 || (argc == 2 && (port = std::strtol(argv[1], nullptr, 10)) < 0) || port > 65535) {
        std::fprintf(stderr, "usage: %s [port]\n", argv[0]);
        return 2;
    }
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    CDemoServer server(static_cast<uint16_t>(port));
    CDemoBoardServer board(CDemoBoardServer::Kind::Board);
    CDemoBoardServer mail(CDemoBoardServer::Kind::Mail);
    if (!server.Listening() || !board.Listening() || !mail.Listening()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1 port %ld\n", port);
        return 1;
    }
    std::printf("port %u board %u mail %u\n", server.Port(), board.Port(), mail.Port());
    std::fflush(stdout);
    while (!g_stop && !server.ClientGone()) {
        std::vector<struct pollfd> fds;
        server.AppendPollFds(fds);
        board.AppendPollFds(fds);
        mail.AppendPollFds(fds);
        // The listeners and the wanderers' clock are looked at every 20 ms.
        poll(fds.data(), fds.size(), 20);
        server.Pump();
        board.Pump();
        mail.Pump();
    }
    return 0;
}

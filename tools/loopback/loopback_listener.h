#pragma once
// The listening socket of the test and demo programs that play a server or a printer: loopback
// only, so that nothing they run is reachable from the network.

namespace loopback {

// A socket listening on 127.0.0.1:`port` (0: a free port), or -1.
int Listen(int port);
// The port `fd` is bound to.
int BoundPort(int fd);

}  // namespace loopback

#include <csignal>

#include "app/driver.hpp"

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader of standard output that leaves early must not stop the conversion:
    // the failed write is noticed at the end and gives status 1 instead.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    return wfconv::run(argc, argv);
}

#include "app/driver.hpp"
#include "platform/binary_stdout.hpp"
#include "platform/utf8_arguments.hpp"

int main(int argc, char** argv) {
    wfconv::make_stdout_binary();
    const wfconv::Utf8Arguments arguments(argc, argv);
    return wfconv::run(arguments.count(), arguments.values());
}

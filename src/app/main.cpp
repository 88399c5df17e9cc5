#include "app/driver.hpp"

int main(int argc, char** argv) { return wfconv::run(argc, argv); }

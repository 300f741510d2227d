// simvoturn: the lathe simulator. With --check it runs without a window.
#include "simulator/core/check_command.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: " << simvo::check_usage() << '\n';
        return 0;
    }
    return simvo::run_check(args, std::cout, std::cerr);
}

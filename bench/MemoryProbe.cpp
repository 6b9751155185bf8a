// Prints the peak memory of the process after a window has listed 100,000 rows.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/BenchSupport.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    BenchApp app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100'000;
    auto window = WindowWithRows(rows);
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::printf("rows=%d peak %s\n", rows, line.c_str() + 6);
        }
    }
    return 0;
}

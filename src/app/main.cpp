#include <cstdio>

int main() {
    std::puts("ZERAN " ZERAN_VERSION);
    return 0;
}

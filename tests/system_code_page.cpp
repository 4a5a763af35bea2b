// Exits 0 when the system code page is 932, as on Japanese Windows. Under Wine it follows
// the locale (LC_ALL=ja_JP.UTF-8); with any other code page the tests would not test
// what users run.

#include <windows.h>

#include <cstdio>

int main() {
    const UINT acp = GetACP();
    if (acp != 932) {
        std::fprintf(stderr, "the system code page is %u, not 932 (under Wine: LC_ALL=ja_JP.UTF-8, locale generated)\n",
                     acp);
        return 1;
    }
    std::printf("system code page 932\n");
    return 0;
}

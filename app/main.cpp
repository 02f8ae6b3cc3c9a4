#include <cstdio>

// Start-up is not built yet: the engine layer and the application shell come next.
int main()
{
    std::fputs("The Tesmora: start-up is not built yet; nothing to show.\n", stderr);
    return 0;
}

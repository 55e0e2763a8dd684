#include <cstdio>

int main()
{
    std::puts("kestrin: only the data model is built so far; there is no window yet.");
    return 0;
}

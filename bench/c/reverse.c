/* reverse: strings reversed byte by byte and searched (as the BASIC version) */
#include <stdio.h>
#include <string.h>
int main(void) {
    const char *t = "Vorn Basic runs old handheld programs on Linux desktops";
    char r[256];
    int n = (int)strlen(t), c = 0;
    for (int k = 1; k <= 40000; k++) {
        for (int i = 0; i < n; i++) r[i] = t[n - 1 - i];
        r[n] = 0;
        if (r[0] == 115) c++;
        int v = 0;
        for (int i = 0; i < n; i++) if (r[i] == 'o') v++;
        c += v;
    }
    printf("%d\n%s\n", c, r);
    return 0;
}

/* bubble: bubble sort of 2500 numbers from a small generator (as the BASIC version) */
#include <stdio.h>
static double a[2501];
int main(void) {
    int n = 2500;
    double s = 12345;
    for (int i = 1; i <= n; i++) { s = (int)(s * 1103 + 12345) % 65536; a[i] = s; }
    for (int i = 1; i <= n - 1; i++)
        for (int j = 1; j <= n - i; j++)
            if (a[j] > a[j + 1]) { double t = a[j]; a[j] = a[j + 1]; a[j + 1] = t; }
    printf("%d\n%d\n", (int)a[1], (int)a[n]);
    return 0;
}

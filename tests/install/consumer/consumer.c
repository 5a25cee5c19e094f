/* A program outside the project, built against the installed SDK: prints the library's version. */
#include <camlink.h>
#include <stdio.h>

int main(void) {
    const char* version = vcam_control_version();
    if (version == NULL || version[0] == '\0') return 1;
    printf("%s\n", version);
    return 0;
}

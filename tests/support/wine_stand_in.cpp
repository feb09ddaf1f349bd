// A stand-in for a Windows program made for the Japanese ANSI code page, as
// the game body is. Built by the MinGW cross compiler and run under real Wine
// by the tests. It writes to wine_stand_in.txt, in its working directory, its
// ANSI code page and whether it could open the file its last argument names
// and the file whose CP932 path cp932_path.txt holds (as song.db holds it).
// It exits with the number exit_code.txt holds (0 without that file).
#include <stdio.h>
#include <windows.h>

static const char* Opens(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return "failed";
    fclose(f);
    return "opened";
}

int main(int argc, char** argv) {
    char cp932_path[1024] = "";
    if (FILE* f = fopen("cp932_path.txt", "rb")) {
        cp932_path[fread(cp932_path, 1, sizeof cp932_path - 1, f)] = '\0';
        fclose(f);
    }
    FILE* out = fopen("wine_stand_in.txt", "wb");
    if (!out) return 1;
    fprintf(out, "acp=%u\nargument=%s\ncp932=%s\n", GetACP(),
            argc > 1 ? Opens(argv[argc - 1]) : "none", cp932_path[0] ? Opens(cp932_path) : "none");
    fclose(out);
    int code = 0;
    if (FILE* f = fopen("exit_code.txt", "rb")) {
        if (fscanf(f, "%d", &code) != 1) code = 0;
        fclose(f);
    }
    return code;
}

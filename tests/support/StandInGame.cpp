// A stand-in for the game's executable in the launcher tests: it writes how it was started into
// started.txt beside itself (its command line and the show state it was given), then ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string record(path);
    record = record.substr(0, record.rfind('\\')) + "\\started.txt";
    if (FILE* f = std::fopen(record.c_str(), "w")) {
        std::fprintf(f, "%s|%d\n", GetCommandLineA(), showCommand);
        std::fclose(f);
    }
    return 0;
}

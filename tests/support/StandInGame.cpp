// A stand-in for the game's executable in the launcher tests: it writes how it was started into
// started.txt beside itself (its command line in UTF-8 and the show state it was given), then ends.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr,
                                                            nullptr)));
    return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Its folder may be named in any script: the W calls reach it.
    wchar_t path[32768] = {};
    GetModuleFileNameW(nullptr, path, 32768);
    std::wstring record(path);
    record = record.substr(0, record.rfind(L'\\')) + L"\\started.txt";
    if (FILE* f = _wfopen(record.c_str(), L"w")) {
        std::fprintf(f, "%s|%d\n", Utf8(GetCommandLineW()).c_str(), showCommand);
        std::fclose(f);
    }
    return 0;
}

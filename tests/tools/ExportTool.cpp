// Writes the exports of a game's cache to a real disk, so that readers that are not Morvane's can
// check them (tests/tools/check_exports.py):
//   morvane_export_tool zip GAME ROWS OTHER-FOLDER ZIP
//   morvane_export_tool uz2 GAME ROWS FOLDER
// ROWS holds one selected row a line, as cache.ini does: key=real name (UTF-8). Every replace
// question is answered Yes. Prints each part of the result on a line of its own, "what: text".
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "export/Export.h"

#include "platform/Win32FileSystem.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "zip" && argc == 6) || (mode == "uz2" && argc == 5))) {
        std::fprintf(stderr, "usage: %s zip GAME ROWS OTHER-FOLDER ZIP | uz2 GAME ROWS FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<ExportPackage> rows;
    std::ifstream lines(argv[3], std::ios::binary);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) rows.push_back({line.substr(equals + 1), line.substr(0, equals)});
    }
    const auto disk = std::make_unique<Win32FileSystem>();
    ExportCallbacks callbacks;
    callbacks.mayReplace = [](const std::string&) { return true; };
    const ExportResult result = mode == "zip" ? ExportZip(*disk, argv[2], rows, argv[4], argv[5], callbacks)
                                              : CompressForRedirect(*disk, argv[2], rows, argv[4], callbacks);
    const std::pair<const char*, const std::vector<std::string>*> parts[] = {
        {"written", &result.written}, {"skipped", &result.skipped}, {"failed", &result.failed},
        {"not smaller", &result.notSmaller}};
    for (const auto& [what, texts] : parts)
        for (const std::string& line : *texts) std::printf("%s: %s\n", what, line.c_str());
    std::printf("summary: %s\n", result.summary.c_str());
    return 0;
}

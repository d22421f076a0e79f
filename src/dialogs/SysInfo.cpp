// GetKeyValue and StartSysInfo.
#include "dialogs/SysInfo.h"

#include <cstring>

#include "platform/WideText.h"
#include "platform/Win32Processes.h"

namespace {

// The longest value read: 1024 characters, its terminator included.
constexpr DWORD ValueChars = 1024;

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(KeyRoot, Wide(KeyName).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    wchar_t value[ValueChars] = {};
    DWORD size = sizeof value, type = REG_NONE;
    const LONG queried =
        RegQueryValueExW(key, Wide(SubKeyRef).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (queried != ERROR_SUCCESS) {  // ERROR_MORE_DATA for a value over 1024 characters
        KeyVal.clear();
        return false;
    }
    if (type == REG_SZ) {
        std::size_t length = size / sizeof(wchar_t);
        if (length > 0 && value[length - 1] == L'\0') --length;
        KeyVal = Narrow(std::wstring_view(value, length));
    } else if (type == REG_DWORD) {
        DWORD number = 0;  // the buffer starts zeroed: a dropped high zero byte reads back as zero
        std::memcpy(&number, value, sizeof number);
        KeyVal = std::to_string(number);
    }
    return true;
}

void StartSysInfo(Prompts& prompts) {
    std::string program, folder;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", program)) {
        if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder) &&
            IsFile(folder + "\\MSINFO32.EXE"))
            program = folder + "\\MSINFO32.EXE";
    }
    if (program.empty() || !StartProgram(program, SW_SHOWNORMAL))
        prompts.Message("System Information Is Unavailable At This Time", ProgramTitle, MsgIcon::None, MsgButtons::Ok);
}

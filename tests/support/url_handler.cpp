#include "url_handler.h"

namespace urls {

namespace {

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The default value of a key; false when the key or the value is missing.
bool ReadDefault(HKEY root, const std::string& path, std::string* value) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const bool ok =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
        type == REG_SZ;
    RegCloseKey(key);
    if (ok) *value = buffer;
    return ok;
}

void WriteString(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void DeleteDefault(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
}

std::string CommandPath(const std::string& scheme) {
    return scheme + "\\shell\\open\\command";
}

}  // namespace

std::string HarmlessCommand() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string("\"") + system + "\\rundll32.exe\" user32.dll,GetDesktopWindow";
}

std::string MissingCommand() {
    return "\"C:\\no such folder\\no such program.exe\" \"%1\"";
}

Handler::Handler(const char* s, const std::string& c) : scheme(s), command(c) {
    const std::string user = "Software\\Classes\\" + scheme;
    userKeyExisted = KeyExists(HKEY_CURRENT_USER, user);
    userCommandExisted = ReadDefault(HKEY_CURRENT_USER, "Software\\Classes\\" + CommandPath(scheme), &userCommand);
    WriteString(HKEY_CURRENT_USER, user, "URL Protocol", "");
    WriteString(HKEY_CURRENT_USER, "Software\\Classes\\" + CommandPath(scheme), nullptr, command);
    if (InEffect()) return;
    const std::string machine = "Software\\Classes\\" + CommandPath(scheme);
    machineCommandExisted = ReadDefault(HKEY_LOCAL_MACHINE, machine, &machineCommand);
    WriteString(HKEY_LOCAL_MACHINE, machine, nullptr, command);
    machineReplaced = true;
}

Handler::~Handler() {
    if (machineReplaced) {
        const std::string machine = "Software\\Classes\\" + CommandPath(scheme);
        if (machineCommandExisted)
            WriteString(HKEY_LOCAL_MACHINE, machine, nullptr, machineCommand);
        else
            DeleteDefault(HKEY_LOCAL_MACHINE, machine);
    }
    const std::string user = "Software\\Classes\\" + scheme;
    if (!userKeyExisted) {
        // Only what the constructor created: the scheme's key and its command's chain of keys.
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            RegDeleteKeyA(HKEY_CURRENT_USER, (user + sub).c_str());
    } else if (userCommandExisted)
        WriteString(HKEY_CURRENT_USER, "Software\\Classes\\" + CommandPath(scheme), nullptr, userCommand);
    else
        DeleteDefault(HKEY_CURRENT_USER, "Software\\Classes\\" + CommandPath(scheme));
}

bool Handler::InEffect() const {
    std::string seen;
    return ReadDefault(HKEY_CLASSES_ROOT, CommandPath(scheme), &seen) && seen == command;
}

}  // namespace urls

#include "help_file.h"

namespace {
std::string Kept(const std::string& path) {
    return path + ".kept";
}
}  // namespace

ScopedHelpFile::ScopedHelpFile(const std::string& path, ULONGLONG writeTime)
    : path(path), keptAside(MoveFileExA(path.c_str(), Kept(path).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE) {
    Touch(writeTime);
}

ScopedHelpFile::ScopedHelpFile(const std::string& path)
    : path(path), keptAside(MoveFileExA(path.c_str(), Kept(path).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE) {}

ScopedHelpFile::~ScopedHelpFile() {
    DeleteFileA(path.c_str());
    if (keptAside) MoveFileExA(Kept(path).c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool ScopedHelpFile::Touch(ULONGLONG writeTime) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(f, "?_", 2, &written, nullptr);
    const FILETIME t = {static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
    const bool ok = SetFileTime(f, nullptr, nullptr, &t) != FALSE;
    CloseHandle(f);
    return ok;
}

#include "filewrite.h"

namespace {

// Room for the longest path the Save dialog gives (520 characters), its prefix and a temporary
// name beside it.
constexpr DWORD kLongPath = 1024;

// Writes all of size bytes or reports failure; a write that stops short without an error of its
// own found the disk full.
bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr)) return false;
    if (written == size) return true;
    SetLastError(ERROR_DISK_FULL);
    return false;
}

// The full path in the "\\?\" form, which lifts the old limit of 260 characters: a temporary name
// beside a file in a deep folder may be longer than the file's own path.
bool LongPath(const char* path, WCHAR* out) {
    WCHAR wide[kLongPath];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kLongPath)) return false;
    WCHAR* full = out + 8;  // room for the prefix
    // Less room than the whole buffer: a temporary name goes on the end later.
    const DWORD n = GetFullPathNameW(wide, kLongPath - 32, full, nullptr);
    if (n == 0 || n >= kLongPath - 32) return false;
    const WCHAR* prefix = L"\\\\?\\";
    const WCHAR* rest = full;
    if (full[0] == L'\\' && full[1] == L'\\') {
        if (full[2] == L'?' || full[2] == L'.') {
            prefix = L"";  // already a device path
        } else {
            prefix = L"\\\\?\\UNC";  // \\server\share becomes \\?\UNC\server\share
            rest = full + 1;
        }
    }
    const int p = lstrlenW(prefix);
    MoveMemory(out + p, rest, (lstrlenW(rest) + 1) * sizeof(WCHAR));  // the two may overlap
    CopyMemory(out, prefix, p * sizeof(WCHAR));
    return true;
}

}  // namespace

bool ReplaceFileWith(const char* path, const FileChunk* chunks, int count) {
    WCHAR target[kLongPath], temporary[kLongPath];
    if (!LongPath(path, target)) {
        if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // Renaming over a file ignores its read-only attribute on some systems; such a file is kept.
    const DWORD existing = GetFileAttributesW(target);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // The temporary file goes beside the target, so that replacing it is a rename on one volume.
    const int length = lstrlenW(target);
    int cut = length - 1;
    while (cut >= 0 && target[cut] != L'\\') --cut;
    lstrcpyW(temporary, target);
    temporary[cut + 1] = L'\0';
    // A missing folder is reported as a path not found, not as the failure of the temporary name
    // (or of the folder's own last part, "file not found") that it causes.
    if (GetFileAttributesW(temporary) == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    // A name nobody else holds, made by this call: CREATE_NEW fails rather than open another's.
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS;
    const DWORD first = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < 1000 && file == INVALID_HANDLE_VALUE; ++attempt) {
        wsprintfW(temporary + cut + 1, L"~px%04X.tmp", (first + attempt) & 0xFFFF);
        file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        SetLastError(error);
        return false;
    }
    error = ERROR_SUCCESS;
    bool written = true;
    for (int i = 0; i < count && written; ++i) written = WriteAll(file, chunks[i].data, chunks[i].size);
    if (!written) error = GetLastError();
    if (!CloseHandle(file) && written) error = GetLastError();
    if (written && error == ERROR_SUCCESS) {
        if (MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING)) return true;
        error = GetLastError();
    }
    // The caller reports the reason of the step that failed, not that of the clean-up.
    DeleteFileW(temporary);
    SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    return false;
}

// The only gate between the updater and the operating system.
//
// Every operation here wraps one Win32, shell or COM call (or a short fixed
// sequence of them) and keeps exactly the results and effects the updater
// relies on. The calls are named below by their ANSI names (see "Texts"
// below). Three implementations live side by side:
//   platform/win32/  the real calls, for updater.exe;
//   platform/posix/  the Linux build's: the settings reader and the text
//                    rules of code page 932, and no Windows;
//   tests/fake/      an in-memory Windows world, for the host build's tests.
// The platform contract tests run against the real calls and the fake, so
// the fake stays honest.
//
// Texts are NUL-terminated bytes in code page 932 (Shift-JIS), whatever
// code page the system itself uses: settings files are written for Japanese
// Windows. On the NT family every text passed to Windows is converted from
// code page 932 explicitly and given to the wide-character call (CreateFileW
// for CreateFileA, and so on); a text that is not valid code page 932 is
// refused with ERROR_NO_UNICODE_TRANSLATION before any call, so that it
// never names another file. The 95 family (Japanese Windows 95, 98 and Me,
// whose ANSI code page is 932) keeps the ANSI calls. Texts Windows gives
// back are handed up in code page 932 too, never with "?" (a wildcard) or a
// look-alike for a character it lacks: a path the system gives (the
// module's, its folders, the temporary folder) falls back to its short form
// (GetShortPathNameW) and fails with ERROR_NO_UNICODE_TRANSLATION kept where
// that has none either; a listing entry uses its short name or fails (see
// FileSearch); only ErrorText, which is just shown, has "?". Buffers are
// filled the way the wrapped Win32 call fills them, counted in code page
// 932 bytes.
#ifndef UPDATER_PLATFORM_PLATFORM_H_
#define UPDATER_PLATFORM_PLATFORM_H_

#include "platform/scoped_owner.h"
#include "platform/staged_names.h"

namespace platform {

// MAX_PATH: path buffers hold at most 259 characters and the terminator.
const unsigned kMaxPath = 260;

// ---- Error codes -------------------------------------------------------
//
// An operation marked "Keeps its error code" stores, when it fails, the
// Windows error code of the call that failed (GetLastError() read right
// after that call; the HRESULT where the call returns one) in one
// process-wide value. A successful operation leaves the value alone, so it
// is read right after the failure, before any other such operation runs.
// In platform/win32 every failing call is kept right where it fails, through
// win32::Fail and its companions (platform/win32/last_error.h), so that
// cleanups after it cannot change the code; a new operation that can fail
// does the same and says so here, and the fake stores the code Windows
// gives.

// The code kept by the most recent failing operation; 0 before any.
unsigned LastErrorCode();

// The codes the layers above tell apart.
const unsigned kErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED
const unsigned kErrorSharingViolation = 32;  // ERROR_SHARING_VIOLATION
const unsigned kErrorLockViolation = 33;     // ERROR_LOCK_VIOLATION
const unsigned kErrorFileExists = 80;        // ERROR_FILE_EXISTS
const unsigned kErrorAlreadyExists = 183;    // ERROR_ALREADY_EXISTS

// FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
// code, default language): the system's text for an error code, without the
// line break and blanks at its end; a character code page 932 lacks is
// shown as "?". False and ""
// when the system has no text for it (or it does not fit `size`).
bool ErrorText(unsigned code, char* buffer, unsigned size);

// ---- Process start-up --------------------------------------------------

// Restricts DLL loading to the system directory before anything else runs:
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where the system has
// it (looked up at run time), SetDllDirectoryA("") otherwise.
void HardenDllSearch();

const unsigned kSemFailCriticalErrors = 0x0001;  // SEM_FAILCRITICALERRORS
const unsigned kSemNoOpenFileErrorBox = 0x8000;  // SEM_NOOPENFILEERRORBOX

// SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX): a drive
// without its disk, or a file that cannot be opened, is reported to the
// caller instead of in a system box. Returns the mode before.
unsigned QuietCriticalErrors();

// CoInitialize(NULL) / CoUninitialize(). The result is not examined.
void ComInitialize();
void ComUninitialize();

// The COM apartment of one scope: ComInitialize when made, ComUninitialize
// when it goes, whichever way the scope is left.
class ScopedCom {
 public:
  ScopedCom() { ComInitialize(); }
  ~ScopedCom() { ComUninitialize(); }

 private:
  ScopedCom(const ScopedCom&);
  ScopedCom& operator=(const ScopedCom&);
};

// ---- Text ------------------------------------------------------------------

// Where the character that starts at `text` ends, in code page 932 (the
// same in every build, whatever the system's own code page; defined over
// IsLeadByte932 in platform/text_rules.cc). A lead byte followed by another
// byte makes one character of two bytes, whatever that second byte is (a
// backslash, a brace, a letter); every other byte is a character of its
// own, a lead byte right before the terminator included. At the terminator
// the result is `text` itself.
const char* NextChar(const char* text);

// The UTF-8 form of a code page 932 text (MultiByteToWideChar(932,
// MB_ERR_INVALID_CHARS) then WideCharToMultiByte(CP_UTF8); iconv where there
// is no Windows). Returns the bytes that form needs, its terminator
// included, and writes it when `size` is at least that; 0 when the text is
// not valid code page 932 (a cut double-byte character, a byte that starts
// none).
unsigned TextToUtf8(const char* text, char* buffer, unsigned size);

// The byte that stands for a character code page 932 has no form for, in a
// text converted from UTF-8. It starts no code page 932 character, so every
// later conversion of the text refuses it (a path holding it names no file)
// and updater-check reports it: a name is never changed into another one.
const char kNoCodePage932Char = '\x80';

// The code page 932 form of `length` bytes of UTF-8 (MultiByteToWideChar(
// CP_UTF8) then WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS); iconv where
// there is no Windows, with the same rule). Each character code page 932
// has no form for, and each invalid UTF-8 sequence, becomes
// kNoCodePage932Char: never dropped, never a look-alike ("\" for a yen
// sign). The result is never longer than `length`; it is written to
// `buffer` (which may be `utf8` itself) when `size` is at least `length`,
// without a terminator. Returns the result's length; 0 also when the
// conversion could not be made (out of memory) and `length` is not 0.
unsigned Utf8ToText(const char* utf8, unsigned length, char* buffer,
                    unsigned size);

// ---- Paths and folders -------------------------------------------------

// GetModuleFileNameA(NULL, buffer, size): full path of the running
// executable. Returns the number of characters written (0 on failure); a
// path that does not fit gives `size`, and the buffer may then lack its
// terminator (Windows XP and Wine leave it out).
unsigned ModuleFileName(char* buffer, unsigned size);

// GetWindowsDirectoryA / GetSystemDirectoryA: no trailing backslash. Too
// small a buffer gives the size needed, terminator included.
unsigned WindowsDirectory(char* buffer, unsigned size);
unsigned SystemDirectory(char* buffer, unsigned size);

// CSIDL values the updater asks for.
const int kCsidlPrograms = 2;                 // CSIDL_PROGRAMS
const int kCsidlDesktopDirectory = 16;        // CSIDL_DESKTOPDIRECTORY
const int kCsidlCommonPrograms = 23;          // CSIDL_COMMON_PROGRAMS
const int kCsidlCommonDesktopDirectory = 25;  // CSIDL_COMMON_DESKTOPDIRECTORY

// SHGetSpecialFolderPathA(NULL, buffer, csidl, FALSE). The buffer holds
// kMaxPath bytes. A failure leaves the buffer as it was.
bool SpecialFolderPath(int csidl, char* buffer);

// ---- System family -----------------------------------------------------

const unsigned kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
const unsigned kPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT

// dwPlatformId of GetVersionExA with a zeroed OSVERSIONINFOA (148 bytes);
// 0 when the call fails. Not cached. The 64-bit Windows build answers
// kPlatformWin32Nt without asking: every 64-bit Windows is of that family.
unsigned PlatformId();

// PlatformId() is kPlatformWin32Nt, whatever the version. Asked afresh each
// time.
bool IsNtPlatform();

// From now on IsNtPlatform answers for the family of `platformId`
// (kPlatformWin32Nt or kPlatformWin32Windows) instead of the running
// system's; 0 asks the system again. updater-check judges a file for the
// family it is told; the updater never calls this.
void AssumePlatformId(unsigned platformId);

struct SystemVersion {
  unsigned major;
  unsigned minor;
  unsigned build;  // the low 16 bits of dwBuildNumber
  unsigned platformId;
};

// GetVersionExA with a zeroed OSVERSIONINFOA, as PlatformId. False, and all
// zeros, when the call fails. (Windows 8.1 and later tell the version the
// executable's manifest declares support for.)
bool GetSystemVersion(SystemVersion* version);

enum Elevation { kElevationUnknown, kNotElevated, kElevated };

// OpenProcessToken(TOKEN_QUERY) and GetTokenInformation(TokenElevation):
// whether the process runs with an administrator's full rights. Unknown
// where the system keeps no such information (before Windows Vista).
Elevation ProcessElevation();

// GetCurrentProcessId.
unsigned ProcessId();

// GetTickCount: milliseconds since the system started, wrapping after about
// 49.7 days (take differences as unsigned).
unsigned TickCount();

// Sleep(milliseconds): the one way the updater waits for time to pass, so
// that the fake can let it pass without waiting.
void Pause(unsigned milliseconds);

struct LocalTimeFields {
  unsigned short year;
  unsigned short month;
  unsigned short day;
  unsigned short hour;
  unsigned short minute;
  unsigned short second;
  unsigned short milliseconds;
};

// GetLocalTime.
void LocalTime(LocalTimeFields* now);

// ---- Files and directories ---------------------------------------------

const unsigned kAttributeReadOnly = 0x1;
const unsigned kAttributeHidden = 0x2;
const unsigned kAttributeSystem = 0x4;
const unsigned kAttributeDirectory = 0x10;
const unsigned kAttributeArchive = 0x20;
const unsigned kAttributeNormal = 0x80;

// One entry of a directory listing (the parts of WIN32_FIND_DATAA used).
// The name is the entry's own, or its short name (cAlternateFileName) where
// code page 932 has no form for its own.
struct FindEntry {
  unsigned attributes;
  // nFileSizeLow, or 0xFFFFFFFF for a file of 4 GiB or more; 0 for a folder.
  unsigned size;
  char name[kMaxPath];
};

// The handle of a FindFirstFileA search: Close is FindClose. Defined by each
// implementation of this header.
struct FindHandleTraits {
  typedef void* Handle;
  static Handle Null();
  static bool IsValid(Handle handle);
  static void Close(Handle handle);
};

// A FindFirstFileA search, closed with FindClose when the object goes away.
// Patterns follow FindFirstFileA: a plain path finds the file or directory
// itself, "*" and "?" match within the last part, and a path ending in a
// backslash never matches. A failed First or Next leaves `entry` untouched.
// An entry whose name has no code page 932 form, not even a short one, ends
// the listing there as a failure: failed() tells it from the end of the
// listing, and its code (ERROR_NO_UNICODE_TRANSLATION) is kept, so that a
// caller never skips a file silently.
class FileSearch {
 public:
  FileSearch() : failed_(false) {}
  // FindFirstFileA(pattern), after closing any earlier search. False (the
  // invalid handle) when nothing matches; otherwise the first match is in
  // `entry`.
  bool First(const char* pattern, FindEntry* entry);
  // FindNextFileA. False when the listing has ended (or the search is not
  // open).
  bool Next(FindEntry* entry);
  // FindClose, once; later calls do nothing.
  void Close() { handle_.Reset(); }
  // Whether the last First or Next met an entry it could not hand up.
  bool failed() const { return failed_; }

 private:
  ScopedOwner<FindHandleTraits> handle_;
  bool failed_;
};

// True when anything matches `pattern`: a file or a directory of that path,
// or any entry matching a wildcard pattern (FindFirstFileA, FindClose), its
// name handed up or not. No other effect.
bool FileExists(const char* pattern);

// SetFileAttributesA(path, attributes). Keeps its error code.
bool SetAttributes(const char* path, unsigned attributes);

// CreateDirectoryA(path, NULL): one level. Keeps its error code.
bool MakeDirectory(const char* path);

// DeleteFileA(path). Keeps its error code.
bool RemoveFile(const char* path);

// CopyFileA(from, to, FALSE): an existing destination is replaced. A copy
// that fails part-way may leave the destination cut or gone. Keeps its error
// code.
bool CopyFileOver(const char* from, const char* to);

// ---- Replacing files all or nothing (NT family) ---------------------------
//
// A set of destinations is replaced in steps that can each be undone: every
// new file is first staged beside its destination, then each destination is
// swapped for its staged file, its old file kept as a backup, and only when
// all are swapped are the backups removed. The names are those of
// platform/staged_names.h, number `number` in the destination's folder. The
// paths are converted from code page 932 and handled with the wide-character
// calls; the staged and backup files are named in the long form ("\\?\" +
// full path), so that they need no room under MAX_PATH: every destination
// CopyFileA could write can be replaced. The destination's folder comes from
// GetFullPathNameW(to). A destination `to` is the path FileFullPath gives:
// full, so that no step depends on the working directory, and with the name
// an existing file is stored under, which the swap and its undoing keep.
// Each operation keeps its error code. Needs MoveFileExW: the NT family
// only.

// The full path of `path` (GetFullPathNameW: from the working directory
// for a relative path, "." and ".." steps folded) into a new `*full`, its
// last part the name an existing file or folder of that name is stored
// under (FindFirstFileW: its letter case; the long name for a short one),
// and whether one exists; a missing folder is no failure. Handed up as a
// path the system gives is (in its short form where code page 932 lacks a
// character of it). Fails on "" (ERROR_PATH_NOT_FOUND), on a wildcard
// (ERROR_INVALID_NAME), with the code of the path's conversion, of
// GetFullPathNameW, or of a search that fails for another reason than a
// missing file or folder.
bool FileFullPath(const char* path, HeapArray<char>* full, bool* exists);

// The first number from `*number` on (modulo kStagedNumbers) free in
// `taken` (kStagedNumberBytes, platform/staged_names.h), into `*number`,
// and marked there, so that the next destination in the same folder gets
// another. Unless `previous` (the destination numbered before, or null) is
// in the same folder, `taken` is first filled from one listing of the
// folder of `to` (FindFirstFileW of "~up*" there: every name that
// IsStagedName could find), so that a folder's destinations in a row list
// it once. Fails with ERROR_FILE_EXISTS when every number is
// taken, with the code of the path's conversion or of GetFullPathNameW
// when `to` names no folder ("": ERROR_PATH_NOT_FOUND), or of a listing
// that fails for another reason than finding nothing.
bool FindStagedNumber(const char* to, const char* previous,
                      unsigned char* taken, unsigned* number);

// Stages a copy of `from` for `to` as number `number`'s staged file, so that
// nothing of `to` changes: CopyFileW(from, staged, TRUE), the staged file's
// data flushed to disk (CreateFileW, FlushFileBuffers, its read-only
// attribute lifted meanwhile), and its size compared with the source's
// (GetFileAttributesExW of the source, GetFileSize; a difference fails with
// ERROR_HANDLE_DISK_FULL). On any failure the staged
// file is deleted, unless CopyFileW found its name taken (ERROR_FILE_EXISTS:
// another's file, left alone). Refused before anything is written, as
// CopyFileA refuses them: a destination that is a directory or read-only, a
// hidden or system destination whose bits the source lacks (GetFileAttributesW
// of `to`), a wildcard in `to`. The staged file has the source's contents,
// last-write time and attributes (archive added), as CopyFileA's copy has.
bool StageCopy(const char* from, const char* to, unsigned number);

// Whether the existing file `path` can be written now: CreateFileW(path,
// GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
// OPEN_EXISTING) and CloseHandle. Nothing is written. A program holding the
// file without sharing writes fails it (ERROR_SHARING_VIOLATION); one that
// shares writes but not deleting does not, although the swap then fails.
bool WritableNow(const char* path);

// Puts number `number`'s staged file in the place of `to`: the destination
// is first renamed to the backup name (MoveFileExW, MOVEFILE_WRITE_THROUGH;
// ERROR_FILE_NOT_FOUND there means there is none), then the staged file to
// `to` (MoveFileExW, MOVEFILE_WRITE_THROUGH). When that second rename fails
// the backup is renamed back, so a failed swap leaves `to` as it was and the
// staged file in place.
bool SwapStaged(const char* to, unsigned number);

enum RestoreResult {
  kNothingToRestore,  // the destination was never swapped (or is back)
  kRestored,          // the old file is back, or a new destination gone
  kRestoreFailed      // the old file could not be put back: it stays as
                      // the backup, its code kept
};

// Undoes whatever of number `number`'s swap of `to` happened, judged from
// the files there: a backup is renamed over the destination (MoveFileExW,
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); without one, where
// `wasNew` (no destination before the swap), the staged file is gone and
// the destination is there, the destination is the swapped copy and is
// deleted (its attributes cleared first). Then the staged file, if any, is
// deleted. Calling it again changes nothing.
RestoreResult RestoreStaged(const char* to, unsigned number, bool wasNew);

// Deletes number `number`'s staged file or backup (`role`) in the folder of
// `to` where it exists (attributes cleared first). True when it is not
// left.
bool RemoveStaged(const char* to, unsigned number, StagedRole role);

// Writes `size` bytes as the whole of the file `path`, created anew or
// replacing it (CreateFileW, CREATE_ALWAYS;
// WriteFile; FlushFileBuffers): on the disk when it returns true.
bool WriteFileThrough(const char* path, const char* bytes, unsigned size);

// The whole of the file `path`, at most `most` bytes, into a new buffer
// `*bytes` with a zero byte after them, its length in `*size`
// (CreateFileW, GENERIC_READ, FILE_SHARE_READ; GetFileSize; ReadFile).
// A larger file fails with ERROR_FILE_TOO_LARGE.
bool ReadWholeFile(const char* path, unsigned most, HeapArray<char>* bytes,
                   unsigned* size);

// MoveFileExW(from, to, MOVEFILE_WRITE_THROUGH): never over an existing
// file.
bool RenameFile(const char* from, const char* to);

// Calendar date of a file's last write, in local time.
struct FileDate {
  unsigned short year;
  unsigned short month;
  unsigned short day;
};

enum FileDateResult {
  kFileDateRead,       // `date` holds the last-write date
  kFileDateNotOpened,  // CreateFileA failed: missing, a directory, in use
  kFileDateNotRead     // opened, but the time could not be read or converted
};

// CreateFileA(path, GENERIC_READ, share 0, NULL, OPEN_EXISTING,
// FILE_ATTRIBUTE_NORMAL, NULL); GetFileTime (last write); CloseHandle;
// FileTimeToLocalFileTime; FileTimeToSystemTime. Keeps its error code.
FileDateResult LastWriteDate(const char* path, FileDate* date);

// CreateFileA(path, GENERIC_WRITE, share 0, NULL, OPEN_EXISTING,
// FILE_ATTRIBUTE_NORMAL, NULL) and CloseHandle at once: whether a copy could
// open the existing file for writing now. Nothing is written. False for a
// missing file, a directory, a file another process holds open, and (on
// Windows) a read-only file.
bool OpenableForWriting(const char* path);

// ---- Files other programs hold ------------------------------------------

// Whether a file operation's error code can mean that another program has
// the file open: ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, and
// ERROR_ACCESS_DENIED, which Windows also gives for a read-only file, a
// directory or missing rights, and for renaming over a file that another
// program holds.
bool IsInUseError(unsigned code);

// Whether another process has the existing file `path` open so that it
// cannot be written, replaced or deleted now: CreateFile(path, GENERIC_WRITE
// | DELETE (GENERIC_WRITE alone on the 95 family), FILE_SHARE_READ |
// FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL) fails
// with ERROR_SHARING_VIOLATION or ERROR_LOCK_VIOLATION; the handle of an
// open that succeeds is closed at once. Nothing is written. False for a
// missing file, a directory, a read-only file and one this user may not
// write, which all fail with another code.
bool FileHeldByAnother(const char* path);

// The one decision whether an operation on `path` that failed with `code`
// failed because another program holds the file, and so may succeed when
// tried again: IsInUseError(code), and for ERROR_ACCESS_DENIED only when
// FileHeldByAnother(path) confirms it. Built from the two operations above.
bool FailedBecauseInUse(const char* path, unsigned code);

// One program that holds a file open.
struct FileHolder {
  unsigned processId;
  char name[128];  // the name the system shows for it, in the ANSI code page
};

enum FileHoldersResult {
  kHoldersListed,  // `holders` has `*count` entries; 0 when nobody is named
  kHoldersUnknown  // the system cannot tell (no Restart Manager, 95 family)
};

// The programs that hold `path` open, at most `max` of them, as the Restart
// Manager reports them: rstrtmgr.dll loaded at run time from the system
// folder (LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32, or its full path
// where that flag is unknown); RmStartSession, RmRegisterResources(the full
// path), RmGetList (asked again with room for all on ERROR_MORE_DATA),
// RmEndSession. Names come from strAppName (a character code page 932 lacks
// becomes "?"), ids from dwProcessId. Never RmShutdown: nobody's program is
// closed. Unknown, `*count` 0, on the 95 family, without the DLL (before
// Windows Vista) and when any call fails.
FileHoldersResult FileHolders(const char* path, FileHolder* holders,
                              unsigned max, unsigned* count);

// ---- Kernel objects: log files and the run's mutex ----------------------

// A kernel handle this layer opened; Close is CloseHandle. Defined by each
// implementation of this header.
struct KernelObjectTraits {
  typedef void* Handle;
  static Handle Null();
  static bool IsValid(Handle handle);
  static void Close(Handle handle);
};
typedef ScopedOwner<KernelObjectTraits> KernelObject;

// GetTempPathA: the user's temporary folder, with its trailing backslash.
// The length, or 0 when it fails or does not fit `size`.
unsigned TempDirectory(char* buffer, unsigned size);

enum LogOpenMode {
  kLogAppend,    // OPEN_ALWAYS: an existing file is kept and written at its end
  kLogCreateNew  // CREATE_NEW: fails when anything of that name exists
};

// CreateFileA(path, FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ |
// FILE_SHARE_WRITE, NULL, mode, FILE_ATTRIBUTE_NORMAL, NULL): every write
// lands at the end of the file. A file this user may not read is opened
// with FILE_APPEND_DATA alone; where the system refuses both (the Windows 95
// family) GENERIC_WRITE is asked for instead. `created` tells whether the
// call made a new file. Keeps its error code.
bool OpenLogFile(const char* path, LogOpenMode mode, KernelObject* file,
                 bool* created);

// Writes all `size` bytes at the end of the file in one piece, also while
// other processes append to it the same way: LockFile of one byte far past
// the end (waiting up to 2 s while another holds it; without the lock where
// it cannot be had), SetFilePointer to the end, WriteFile, UnlockFile.
// Keeps its error code.
bool AppendToFile(const KernelObject& file, const char* bytes, unsigned size);

enum MutexResult {
  kMutexCreated,  // the object is new: this process holds the name
  kMutexExisted,  // another holder of the name exists
  kMutexFailed    // the call failed (for instance a name the system refuses)
};

// CreateMutexA(NULL, FALSE, name). Existed: ERROR_ALREADY_EXISTS, or
// ERROR_ACCESS_DENIED (an object of that name that this user may not open,
// such as another user's in the "Global\" namespace). A handle, when the
// call gives one, goes to `held`; the name is held as long as any handle to
// it is open. Keeps its error code when it fails.
MutexResult CreateNamedMutex(const char* name, KernelObject* held);

// ---- Settings files (private-profile functions) ------------------------
//
// What GetPrivateProfileStringA and GetPrivateProfileSectionA give on a
// Japanese system, on every system: the file is read by this layer itself
// (CreateFileW and ReadFile; the ANSI call on the 95 family), made settings
// text by platform/settings_bytes.h (a file with the UTF-8 byte-order mark
// is converted) and answered with the rules of platform/profile_text.h. A
// file is read afresh when its size or last-write time changed since the
// last read, so a procedure that replaces the settings file is followed by
// reads of the new one. A missing file reads like an empty one.

// GetPrivateProfileStringA(section, key, fallback, buffer, size, file).
// Returns the number of characters copied.
unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file);

// GetPrivateProfileSectionA(section, buffer, size, file): the section's
// lines, each ended by a zero byte, the list by a second one.
unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file);

// ---- Registry (read-only) ----------------------------------------------

typedef struct RegistryHandleTag* RegistryHandle;

enum RegistryRoot { kNoRoot = 0, kLocalMachine };

const unsigned kKeyRead = 0x20019;        // KEY_READ
const unsigned kKeyWow64_64Key = 0x0100;  // KEY_WOW64_64KEY
const unsigned kKeyWow64_32Key = 0x0200;  // KEY_WOW64_32KEY

// The access flag of the registry view this process does not read by
// default: KEY_WOW64_64KEY in a 32-bit process, KEY_WOW64_32KEY in a 64-bit
// one. 32-bit Windows ignores both.
unsigned OtherRegistryView();

// RegOpenKeyExA(root, subKey, 0, access, &handle); true on ERROR_SUCCESS.
bool RegistryOpen(RegistryRoot root, const char* subKey, unsigned access,
                  RegistryHandle* handle);

// RegQueryValueExA(handle, name, NULL, NULL, data, size). With `data` null
// only the size is asked for. On the NT family string data is read in
// UTF-16 and handed back in code page 932, its size counted in those bytes;
// a string with a character code page 932 lacks fails with
// ERROR_NO_UNICODE_TRANSLATION. True on ERROR_SUCCESS; `size` is updated as
// the call updates it (a buffer too small fails and gets the size needed).
// A string stored without its terminating zero is reported without it, and
// the zero is added after the data when the buffer has room for it.
bool RegistryQuery(RegistryHandle handle, const char* name, unsigned char* data,
                   unsigned* size);

// RegCloseKey.
void RegistryClose(RegistryHandle handle);

struct RegistryHandleTraits {
  typedef RegistryHandle Handle;
  static Handle Null() { return 0; }
  static bool IsValid(Handle handle) { return handle != 0; }
  static void Close(Handle handle) { RegistryClose(handle); }
};
// An open key, closed with RegCloseKey when its owner goes.
typedef ScopedOwner<RegistryHandleTraits> ScopedRegistryKey;

// ---- User interface ----------------------------------------------------

const unsigned kMbOk = 0x0;
const unsigned kMbYesNo = 0x4;
const unsigned kMbRetryCancel = 0x5;
const unsigned kMbIconError = 0x10;
const unsigned kMbIconQuestion = 0x20;
const unsigned kMbIconWarning = 0x30;
const unsigned kMbIconInformation = 0x40;
const unsigned kMbDefButton2 = 0x100;

const int kIdOk = 1;
const int kIdCancel = 2;
const int kIdAbort = 3;
const int kIdRetry = 4;
const int kIdIgnore = 5;
const int kIdYes = 6;
const int kIdNo = 7;

// A modal box without an owner: the button chosen, 0 when no box could be
// shown. Keeps its error code. On the NT family MessageBoxW, with text and
// caption converted from code page 932 (a text that is not valid code page
// 932 is shown as well as it converts, never refused: a box always
// appears); on the 95 family MessageBoxA.
int ShowMessageBox(const char* text, const char* caption, unsigned style);

// The string-table entry `id` of the executable in code page 932, cut to at
// most size - 1 bytes (never inside a double-byte character); 0 and an
// empty text when absent. On the NT family LoadStringW and the text
// converted to code page 932 (a character it has no form for becomes "?"),
// so the table reads the same on every system; on the 95 family
// LoadStringA.
int LoadResourceString(unsigned id, char* buffer, int size);

// Whether the user interface speaks Japanese: the primary language of
// GetUserDefaultUILanguage is LANG_JAPANESE. Where the system lacks that
// call (the 95 family, NT 4.0; looked up at run time), whether the ANSI
// code page (GetACP) is 932.
bool UserInterfaceIsJapanese();

// ---- Processes ---------------------------------------------------------

enum LaunchWait { kWaitForExit, kWaitForInputIdle };

enum LaunchResult {
  kLaunchDone,        // started, and the wait ended normally
  kLaunchNotStarted,  // CreateProcessA failed
  kLaunchWaitFailed   // started, but the wait could not be performed
};

// CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, directory,
// &zeroed STARTUPINFOA, &pi); then WaitForSingleObject(INFINITE) and
// GetExitCodeProcess, or WaitForInputIdle(INFINITE); then the thread handle
// and the process handle are closed, in this order. The command line is
// passed exactly as given. After the wait for the exit, `exitCode` (may be
// null) gets the program's exit code when the result is kLaunchDone; a
// process that cannot be asked for it is a failed wait. The input-idle wait
// leaves the program running, so it has no exit code and leaves `exitCode`
// as it is. WaitForInputIdle answers WAIT_FAILED at once for a program
// without a message queue (a console program) under Wine: that counts as
// done as long as the process can still be queried (GetExitCodeProcess
// succeeds). Keeps its error code.
LaunchResult Launch(char* commandLine, const char* directory, LaunchWait wait,
                    unsigned* exitCode);

// ---- Shell links -------------------------------------------------------

const int kSwShowNormal = 1;
const int kSwShowMaximized = 3;
const int kSwShowMinNoActive = 7;

struct ShortcutFields {
  const char* target;
  const char* workingDirectory;
  const char* arguments;
  int showCommand;  // 0: none set, the link object's default stays
};

// CoCreateInstance(CLSID_ShellLink, IShellLinkA, or IShellLinkW with the
// fields converted on the NT family); SetPath, SetWorkingDirectory,
// SetArguments, SetShowCmd (when not 0); IPersistFile::Save(path converted
// from code page 932, TRUE).
// True when the file was saved. A path whose UTF-16 form does not fit
// kMaxPath wide characters is refused, never cut; so are a target and a
// working directory that the link object would cut: more than kMaxPath - 1
// wide characters, or on the 95 family bytes (checked before anything is
// created). Keeps its error code (the HRESULT of the step that failed).
bool SaveShortcut(const ShortcutFields& fields, const char* path);

}  // namespace platform

#endif  // UPDATER_PLATFORM_PLATFORM_H_
